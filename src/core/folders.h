#pragma once

#include <string>
#include <string_view>

namespace zantor {

// Folder texts end with "/" so that a file name can be appended directly.
std::string withTrailingSeparator(std::string_view folder);

// ZANTOR_HOME, else $XDG_CONFIG_HOME/zantor, else ~/.config/zantor.
std::string defaultProgramFolder();
// ZANTOR_SYSTEM_DIR, else the program folder.
std::string defaultSystemFolder(const std::string& programFolder);

// A folder as stored in the machine database ("\NCPRG", "C:\NCPRG",
// "/srv/nc") made into a path of this system: "\" reads as "/", a drive
// letter is dropped, and a folder that is not absolute lies below the user's
// home folder. The stored text itself is never rewritten.
std::string folderTextToPath(std::string_view text);

// Creates the folder and its parents; false when it cannot be made.
bool makeFolders(const std::string& folder);

// The folder a file dialog starts in for a stored folder text: the folder,
// created when missing, ending with "/" so that no dialog takes its last part
// for a proposed file name; the home folder when it cannot be made.
std::string dialogStartFolder(std::string_view text);

// A fresh name "ZTR" + hexadecimal digits + ".TMP" in `folder` (with its
// trailing separator) that no file has yet; the caller creates the file.
std::string MakeTempName(const std::string& folder, std::string_view prefix);

}  // namespace zantor

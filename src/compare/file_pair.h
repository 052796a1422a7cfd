#pragma once

#include <string>

#include "compare/file_info.h"

namespace zantor::compare {

inline constexpr const char* kNonAsciiFiles = "Non-ASCII Files can't be analyzed.\r(in this version)";

// Program and image files, which hold no lines to compare.
bool IsRefusedExtension(const std::string& path);

// Two chosen files in their roles: File 1 the newer (current), File 2 the
// older (previous). `chosenFirst` and `chosenSecond` keep the order the user
// chose them in, which the summary's file information follows.
struct FilePair {
    TFileInfo chosenFirst;
    TFileInfo chosenSecond;
    std::string file1;
    std::string file2;
    const TFileInfo& current() const { return file1 == chosenFirst.fullName ? chosenFirst : chosenSecond; }
    const TFileInfo& previous() const { return file1 == chosenFirst.fullName ? chosenSecond : chosenFirst; }
};

// Reads both files' facts and makes the newer File 1; on equal times the
// order chosen stays.
FilePair AssignByModification(const std::string& first, const std::string& second);

}  // namespace zantor::compare

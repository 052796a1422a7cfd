#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/ini_file.h"

namespace zantor {

// INI files as the program reads and writes them. A file is parsed once and
// the parse is reused until the file changes on disk, so reading a hundred
// keys costs one parse, not a hundred. Writes go through a temporary file and
// a rename. A missing file reads as empty.
class IniStore {
public:
    // Throws FileError when the file exists but cannot be read.
    static std::shared_ptr<const IniFile> read(const std::string& path);
    // Applies `change` to the file's current contents and writes the result.
    // Throws FileError; the file is then unchanged.
    static void update(const std::string& path, const std::function<void(IniFile&)>& change);
    // Forgets every cached parse (tests that rewrite files behind its back).
    static void clearCache();
};

}  // namespace zantor

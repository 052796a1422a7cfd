#pragma once

#include <string>
#include <string_view>

namespace zantor::testing {

// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes. path() ends with "/".
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + std::string(name); }
    // Writes `bytes` to the named file and returns its path.
    std::string write(std::string_view name, std::string_view bytes) const;
    std::string read(std::string_view name) const;

private:
    std::string path_;
};

}  // namespace zantor::testing

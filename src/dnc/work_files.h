#pragma once

#include <string>

namespace zantor {

// The two work files of a run, "ZTR" + hexadecimal digits + ".TMP" in the
// temporary folder: created empty, deleted with the object. Throws
// FileError when they cannot be made.
class WorkFiles {
public:
    explicit WorkFiles(const std::string& folder);
    ~WorkFiles();
    WorkFiles(const WorkFiles&) = delete;
    WorkFiles& operator=(const WorkFiles&) = delete;

    const std::string& SendFile() const { return sendFile_; }
    const std::string& WorkFile() const { return workFile_; }

private:
    std::string sendFile_;
    std::string workFile_;
};

}  // namespace zantor

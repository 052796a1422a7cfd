#include "dnc/work_files.h"

#include <cstdio>

#include "core/file_io.h"
#include "core/folders.h"

namespace zantor {

namespace {
std::string makeWorkFile(const std::string& folder) {
    const std::string name = MakeTempName(folder, "ZTR");
    writeFileAtomically(name, "");
    return name;
}
}  // namespace

WorkFiles::WorkFiles(const std::string& folder) {
    makeFolders(folder);
    sendFile_ = makeWorkFile(folder);
    try {
        workFile_ = makeWorkFile(folder);
    } catch (...) {
        std::remove(sendFile_.c_str());
        throw;
    }
}

WorkFiles::~WorkFiles() {
    std::remove(sendFile_.c_str());
    std::remove(workFile_.c_str());
}

}  // namespace zantor

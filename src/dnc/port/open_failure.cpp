#include "dnc/port/open_failure.h"

#include <grp.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace zantor {

namespace {

std::string groupOwning(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return "dialout";
    if (const group* g = ::getgrgid(st.st_gid)) return g->gr_name;
    return std::to_string(st.st_gid);
}

}  // namespace

OpenFailure describeOpenFailure(const std::string& path, int errorNumber) {
    switch (errorNumber) {
        case EACCES:
        case EPERM: {
            const std::string group = groupOwning(path);
            return {errorNumber, "No permission to open " + path +
                                     ": make your user a member of the group \"" + group +
                                     "\" that owns the device (sudo usermod -aG " + group +
                                     " $USER), then log in again"};
        }
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return {errorNumber, path + " does not exist"};
        case EBUSY:
        case EWOULDBLOCK:
            return {errorNumber, path + " is in use by another program"};
        case ENOTTY:
            return {errorNumber, path + " is not a serial device"};
        default:
            return {errorNumber, path + ": " + std::strerror(errorNumber)};
    }
}

}  // namespace zantor

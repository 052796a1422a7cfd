#include "dnc/port/open_failure.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace zantor {

namespace {

std::string groupName(gid_t gid) {
    if (const group* g = ::getgrgid(gid)) return g->gr_name;
    return std::to_string(gid);
}

std::string userName(uid_t uid) {
    if (const passwd* p = ::getpwuid(uid)) return p->pw_name;
    return std::to_string(uid);
}

std::string modeText(mode_t mode) {
    std::string text = S_ISCHR(mode) ? "c" : S_ISDIR(mode) ? "d" : "-";
    const char* letters = "rwxrwxrwx";
    for (int bit = 0; bit < 9; ++bit) text += (mode & (0400 >> bit)) ? letters[bit] : '-';
    return text;
}

// What lets this user open the device: joining its group helps only when
// the group may read and write it; otherwise only an administrator can.
std::string permissionAdvice(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return "make your user a member of the group that owns the device (usually \"dialout\": "
               "sudo usermod -aG dialout $USER), then log in again";
    const std::string group = groupName(st.st_gid);
    if ((st.st_mode & 060) == 060)
        return "make your user a member of the group \"" + group +
               "\" that owns the device (sudo usermod -aG " + group + " $USER), then log in again";
    return "the device (" + modeText(st.st_mode) + ", owner " + userName(st.st_uid) + ", group " +
           group +
           ") gives its group no read and write access, so joining a group will not help. An "
           "administrator must allow it, for example with a udev rule such as SUBSYSTEM==\"tty\", "
           "KERNEL==\"" +
           path.substr(path.find_last_of('/') + 1) +
           "\", GROUP=\"dialout\", MODE=\"0660\" (then join the group dialout), or for this "
           "session with sudo chmod 660 " +
           path;
}

}  // namespace

OpenFailure describeOpenFailure(const std::string& path, int errorNumber) {
    switch (errorNumber) {
        case EACCES:
        case EPERM:
            return {errorNumber, "No permission to open " + path + ": " + permissionAdvice(path)};
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

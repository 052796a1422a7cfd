#include "core/folders.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "core/file_io.h"

namespace zantor {

namespace {
std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string homeFolder() {
    std::string home = environment("HOME");
    return home.empty() ? std::string("/") : home;
}
}  // namespace

std::string withTrailingSeparator(std::string_view folder) {
    std::string out(folder);
    if (out.empty() || out.back() != '/') out += '/';
    return out;
}

std::string defaultProgramFolder() {
    if (std::string home = environment("ZANTOR_HOME"); !home.empty())
        return withTrailingSeparator(home);
    std::string config = environment("XDG_CONFIG_HOME");
    if (config.empty()) config = withTrailingSeparator(homeFolder()) + ".config";
    return withTrailingSeparator(config) + "zantor/";
}

std::string defaultSystemFolder(const std::string& programFolder) {
    if (std::string dir = environment("ZANTOR_SYSTEM_DIR"); !dir.empty())
        return withTrailingSeparator(dir);
    return withTrailingSeparator(programFolder);
}

std::string folderTextToPath(std::string_view text) {
    if (!text.empty() && text.front() == '/') return std::string(text);  // typed on this system
    std::string path(text);
    for (char& c : path)
        if (c == '\\') c = '/';
    const bool driveLetter =
        path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (driveLetter) path.erase(0, 2);
    while (!path.empty() && path.front() == '/') path.erase(0, 1);
    return withTrailingSeparator(homeFolder()) + path;
}

bool makeFolders(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

std::string dialogStartFolder(std::string_view text) {
    const std::string folder = folderTextToPath(text);
    return withTrailingSeparator(makeFolders(folder) ? folder : homeFolder());
}

std::string MakeTempName(const std::string& folder, std::string_view prefix) {
    static std::mt19937 generator{std::random_device{}() ^ unsigned(::getpid())};
    std::uniform_int_distribution<unsigned> digits(0, 0xFFFF);
    for (;;) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%04X", digits(generator));
        std::string name = withTrailingSeparator(folder) + std::string(prefix) + hex + ".TMP";
        if (::access(name.c_str(), F_OK) != 0) return name;
    }
}

}  // namespace zantor

#include "core/ini_store.h"

#include <sys/stat.h>

#include <cerrno>
#include <map>
#include <mutex>

#include "core/file_io.h"

namespace zantor {

namespace {

struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    bool operator==(const FileStamp& o) const {
        return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec;
    }
};

FileStamp stampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) throw FileError(path, errno);
        return {};
    }
    return {true, st.st_dev, st.st_ino, st.st_size, st.st_mtim};
}

struct CacheEntry {
    FileStamp stamp;
    std::shared_ptr<const IniFile> ini;
};

std::mutex cacheMutex;
std::map<std::string, CacheEntry> cache;

std::shared_ptr<const IniFile> loadFresh(const std::string& path, const FileStamp& stamp) {
    if (!stamp.exists) return std::make_shared<const IniFile>();
    return std::make_shared<const IniFile>(IniFile::parse(readFileBytes(path)));
}

}  // namespace

std::shared_ptr<const IniFile> IniStore::read(const std::string& path) {
    const FileStamp stamp = stampOf(path);
    std::lock_guard lock(cacheMutex);
    auto it = cache.find(path);
    if (it != cache.end() && it->second.stamp == stamp) return it->second.ini;
    auto ini = loadFresh(path, stamp);
    cache[path] = {stamp, ini};
    return ini;
}

void IniStore::update(const std::string& path, const std::function<void(IniFile&)>& change) {
    IniFile ini = *read(path);
    change(ini);
    writeFileAtomically(path, ini.serialize());
    const FileStamp stamp = stampOf(path);
    std::lock_guard lock(cacheMutex);
    cache[path] = {stamp, std::make_shared<const IniFile>(std::move(ini))};
}

void IniStore::clearCache() {
    std::lock_guard lock(cacheMutex);
    cache.clear();
}

}  // namespace zantor

#include "app/recent_files.h"

namespace zantor {

RecentFiles readRecentFiles(const IniFile& ini) {
    RecentFiles files;
    for (size_t i = 0; i < files.size(); ++i)
        files[i] = ini.readString("MRU", std::to_string(i), "");
    return files;
}

void writeRecentFiles(IniFile& ini, const RecentFiles& files) {
    for (size_t i = 0; i < files.size(); ++i) ini.writeString("MRU", std::to_string(i), files[i]);
}

}  // namespace zantor

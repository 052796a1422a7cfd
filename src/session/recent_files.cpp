#include "session/recent_files.h"

#include <algorithm>
#include <vector>

#include "session/menu_caption.h"

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

void AddRecentFile(RecentFiles& files, const std::string& name) {
    std::vector<std::string> list(files.begin(), files.end());
    std::erase(list, name);
    list.resize(kRecentFileCount - 1);
    list.insert(list.begin(), name);
    std::copy(list.begin(), list.end(), files.begin());
}

std::string recentFileCaption(size_t index, const std::string& name) {
    return numberedMenuCaption(int(index) + 1, name);
}

}  // namespace zantor

#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "temp_folder.h"

namespace zantor::compare::testing {

inline std::string readData(const std::string& name) {
    std::ifstream in(std::string(ZANTOR_COMPARE_DATA) + "/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The two versions of a program in a folder of their own, with fixed
// modification times (the old one two days older), in UTC.
struct SamplePair {
    zantor::testing::TempFolder folder;
    std::string newer;
    std::string older;

    SamplePair() {
        setenv("TZ", "UTC", 1);
        tzset();
        newer = folder.write("PART_NEW.TAP", readData("PART_NEW.TAP"));
        older = folder.write("PART_OLD.TAP", readData("PART_OLD.TAP"));
        setTime(newer, 1795169730);  // 20-Nov-2026 10:15:30
        setTime(older, 1794988800);  // 18-Nov-2026 08:00:00
    }

    static void setTime(const std::string& path, std::time_t seconds) {
        const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
        utimensat(AT_FDCWD, path.c_str(), times, 0);
    }

    // An expected report with its folder in place of "@DIR@", and the time
    // stamp line of `actual` ("... as of: dd-MMM-yyyy hh:mm:ss") in place of
    // "@NOW@" once it is checked to be a time stamp.
    std::string expected(const std::string& name, const std::string& actual) const {
        std::string text = readData(name);
        for (size_t at; (at = text.find("@DIR@")) != std::string::npos;) text.replace(at, 5, folder.path());
        std::smatch stamp;
        static const std::regex pattern(R"(as of: (\d\d-[A-Z][a-z][a-z]-\d{4} \d\d:\d\d:\d\d))");
        if (std::regex_search(actual, stamp, pattern))
            for (size_t at; (at = text.find("@NOW@")) != std::string::npos;)
                text.replace(at, 5, stamp[1].str());
        return text;
    }
};

}  // namespace zantor::compare::testing

#include "nctools/nc_file_info.h"

#include <gtest/gtest.h>

#include "program_lines.h"

namespace zantor {
namespace {

using editor::NcDocument;
using Rows = std::vector<std::pair<std::string, std::string>>;

TEST(NcFileInfo, ValuesAsTheBoxShowsThem) {
    struct Case {
        const char* what;
        testing::Lines lines;
        bool modified;
        Rows rows;
    };
    const Case cases[] = {
        {"every line counts its CR LF", testing::Lines(10, ""), false,
         {{"File Name: ", "P.TAP"}, {"Lines:", "10"}, {"Characters:", "20"},
          {"Feet:", "  0.2"}, {"Meters:", "  0.0"}, {"Modified:", "No"}}},
        {"1200 characters are ten feet, three metres", testing::Lines(10, std::string(118, 'X')),
         true,
         {{"File Name: ", "P.TAP"}, {"Lines:", "10"}, {"Characters:", "1200"},
          {"Feet:", " 10.0"}, {"Meters:", "  3.0"}, {"Modified:", "Yes"}}},
    };
    for (const Case& c : cases) {
        NcDocument doc;
        testing::fillDocument(doc, c.lines);
        doc.SetFileName("/shop/programs/P.TAP");
        doc.SetModified(c.modified);
        EXPECT_EQ(ncFileInfoRows(ncFileInfo(doc)), c.rows) << c.what;
    }
}

}  // namespace
}  // namespace zantor

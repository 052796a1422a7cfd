#pragma once

#include <string>
#include <utility>
#include <vector>

#include "editor/text_document.h"

namespace zantor {

// Facts about a program, with the length it would have on punched tape
// (ten characters an inch).
struct NcFileInfo {
    std::string fileName;  // without its folder
    int lines = 0;
    long long characters = 0;  // every line counted with CR LF
    double feet = 0;
    double meters = 0;  // 0.3 metres a foot, as shop tape rules count
    bool modified = false;
};
NcFileInfo ncFileInfo(const editor::TextDocument& document);

// The box's captions and values as it shows them ("Feet:" and "   10.0").
std::vector<std::pair<std::string, std::string>> ncFileInfoRows(const NcFileInfo& info);

}  // namespace zantor

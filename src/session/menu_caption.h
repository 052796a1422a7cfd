#pragma once

#include <string>

namespace zantor {

// "&" + number + " " + name, the caption of a numbered menu item (recent files,
// open windows). An "&" in the name is doubled so that it shows as itself
// instead of marking a shortcut letter.
std::string numberedMenuCaption(int number, const std::string& name);

}  // namespace zantor

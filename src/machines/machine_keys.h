#pragma once

#include <string>

#include "machines/machine_settings.h"

namespace zantor {

// Sets the field stored under WPOSTS.INI key `key` (any letter case) to
// `value`, given in the key's written form. Returns why it was refused (an
// unknown key, or a value the setup dialog could not show), empty when set;
// a refused value leaves `settings` unchanged.
std::string setMachineKey(MachineSettings& settings, const std::string& key,
                          const std::string& value);

}  // namespace zantor

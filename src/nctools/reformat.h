#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/text_document.h"
#include "machines/machine_settings.h"
#include "nctools/line_walk.h"
#include "nctools/machine_values.h"

namespace zantor {

// What a conversion reads from one side's machine: its number formats,
// comment marks and motion codes (rapid, linear, clockwise, counter-clockwise).
struct ReformatMachine {
    NcValueFormat axis;
    NcValueFormat feed;
    CommentMarks comments;
    std::array<std::string, 4> motionCodes{"G00", "G01", "G02", "G03"};
};
ReformatMachine reformatMachineOf(const MachineFormat& machine);

// What is converted (RFREGS, RFBFREGS, RFBCGHG, RFBCHGCMT, RFBUSESUB and the
// substitution pairs).
struct ReformatSettings {
    std::string registerLetters = "XYZIJKRF";
    bool registers = true;
    bool motionCodes = true;
    bool comments = true;
    bool useSubstitutions = true;
    // A pointless word in a decimal program is an implied-decimal number.
    bool allowMixed = true;
    std::vector<std::pair<std::string, std::string>> substitutions;  // old, new
};
ReformatSettings reformatSettingsOf(const UtilityDefaults& defaults);

// "Reformatting ...".
std::string reformatCaption();

// The line written for the other machine: its code, then its comments. An
// empty line stays empty. Motion codes are replaced as whole words (not
// followed by another digit), so G1 never hits G17 and G0 never G02.
std::string reformatLine(std::string_view line, const ReformatSettings& settings,
                         const ReformatMachine& from, const ReformatMachine& to);

// Over the selected lines or the whole program; false when cancelled.
bool Reformat(editor::TextDocument& document, LineWalkProgress& progress,
              const ReformatSettings& settings, const ReformatMachine& from,
              const ReformatMachine& to);

}  // namespace zantor

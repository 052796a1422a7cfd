#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zantor {
class IniFile;
}

namespace zantor::editor {

inline constexpr int kMaxMacros = 100;
inline constexpr size_t kMaxExpandedMacro = 8191;
inline constexpr size_t kMaxRegisterAnswer = 79;
inline constexpr const char* kNewMacroName = "New Macro";

// The NC-code macros of one machine, kept in its section of the machine
// database: "M<n>N" names slot n (1..100), "M<n>L<k>" holds its line k, the
// lines ending at the first missing key. A slot is free without its name
// key. Slots are found by name, so names are kept apart (uniqueMacroName).
class MacroSlots {
public:
    MacroSlots(IniFile& file, std::string section);

    // The names of the occupied slots in slot order.
    std::vector<std::string> names() const;
    std::optional<int> slotOf(const std::string& name) const;
    std::vector<std::string> lines(const std::string& name) const;
    // Frees the slot of that name: its name key and every line key it has,
    // however many lines an older macro left there.
    void remove(const std::string& name);
    // Removes the macro's slot, then writes it into the lowest free slot.
    // False, with nothing written, when all slots are taken by others.
    bool save(const std::string& name, const std::vector<std::string>& lines);

private:
    IniFile& file_;
    std::string section_;
};

// `wanted`, or when another macro has that name, the first of "wanted 2",
// "wanted 3", ... that none has.
std::string uniqueMacroName(const std::vector<std::string>& names, const std::string& wanted);

// The text a macro inserts: every line ends with CR LF; "##" gives "#" and
// any other "#" is replaced by ask(p), p being the character emitted just
// before (carried over from the line before at a line start); answers are
// cut to kMaxRegisterAnswer characters. Nothing when the text would exceed
// kMaxExpandedMacro characters.
std::optional<std::string> expandMacro(const std::vector<std::string>& lines,
                                       const std::function<std::string(const std::string&)>& ask);

// The lines of a macro's contents as typed (LF or CR LF between them).
std::vector<std::string> macroLinesOf(const std::string& contents);

}  // namespace zantor::editor

#pragma once

#include <string>
#include <vector>

namespace zantor {

// The machine selector of the main window as the logic sees it: entries kept
// sorted without regard to case, and at most one of them selected.
class MachineSelector {
public:
    // Fills the entries from the machine list, then selects the current
    // machine (whole text, any case), or makes the first entry current when
    // there is no current machine yet.
    void FillMachineBox(const std::vector<std::string>& machines, std::string& currentMachine);
    // Selects the entry equal to `name` without regard to case; none when absent.
    void selectByName(const std::string& name);
    void select(int index);

    const std::vector<std::string>& entries() const { return entries_; }
    int selectedIndex() const { return selected_; }
    // The selected entry, empty when none is selected.
    std::string selectedText() const;

private:
    std::vector<std::string> entries_;
    int selected_ = -1;
};

}  // namespace zantor

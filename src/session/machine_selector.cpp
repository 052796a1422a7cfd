#include "session/machine_selector.h"

#include <algorithm>

#include "core/text_util.h"

namespace zantor {

void MachineSelector::FillMachineBox(const std::vector<std::string>& machines,
                                     std::string& currentMachine) {
    entries_ = machines;
    std::stable_sort(
        entries_.begin(), entries_.end(),
        [](const std::string& a, const std::string& b) { return lessIgnoreCase(a, b); });
    select(0);
    if (!currentMachine.empty())
        selectByName(currentMachine);
    else
        currentMachine = selectedText();
}

void MachineSelector::selectByName(const std::string& name) {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const std::string& e) { return equalsIgnoreCase(e, name); });
    selected_ = it == entries_.end() ? -1 : int(it - entries_.begin());
}

void MachineSelector::select(int index) {
    selected_ = (index >= 0 && size_t(index) < entries_.size()) ? index : -1;
}

std::string MachineSelector::selectedText() const {
    return selected_ < 0 ? std::string() : entries_[size_t(selected_)];
}

}  // namespace zantor

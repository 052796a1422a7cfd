#include "cli/console_interaction.h"

#include <ostream>

namespace zantor::cli {

Answer ConsoleInteraction::message(MessageKind, const std::string& text, Buttons buttons) {
    std::string line = prefix_;
    for (const char c : text) {
        if (c == '\r') continue;
        if (c == '\n') {
            if (!line.empty() && line.back() != ' ') line += ' ';
            continue;
        }
        line += c;
    }
    err_ << line << "\n";
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

}  // namespace zantor::cli

#include "cli/console_interaction.h"

#include <ostream>

namespace zantor::cli {

Answer ConsoleInteraction::message(MessageKind, const std::string& text, Buttons buttons) {
    // A box's text may have line breaks; on the console it is one line.
    std::string line = prefix_ + text;
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    err_ << line << "\n";
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

}  // namespace zantor::cli

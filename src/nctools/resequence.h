#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "editor/text_document.h"
#include "nctools/line_walk.h"

namespace zantor {

struct ResequenceSettings {
    long long start = 10;
    long long increment = 10;  // also where numbering starts again after the longest number
    int maxDigits = 4;         // longest number written; also the width for leading zeros
    std::string sequenceChars = "N/";
    std::string skipChars = "<(%=$#OE\\^@:";
    bool leadingZeros = false;
    bool remove = false;
};

// Reads the three numbers as typed into `settings`. Returns the error text
// for the first one that is no whole number ("'1O' is not a valid integer
// value"); nothing when all three are.
std::optional<std::string> readResequenceNumbers(std::string_view start,
                                                 std::string_view increment,
                                                 std::string_view maxDigits,
                                                 ResequenceSettings& settings);

// "Resequencing..." or "UN-Sequencing...".
std::string resequenceCaption(bool remove);

// The block numbers of a program, line after line: what each line's start
// becomes, counting a number for every line that gets (or loses) one.
class Resequencer {
public:
    explicit Resequencer(const ResequenceSettings& settings);

    // `oldText`, a start of the line (empty for none), gives way to `newText`.
    struct Edit {
        std::string oldText;
        std::string newText;
    };
    // Nothing when the line is left alone and uses no number: an empty
    // line, or one that starts with a skip character.
    std::optional<Edit> next(std::string_view line);

    // The letter written for new numbers.
    char letter() const { return letter_; }

private:
    bool isSequenceChar(char c) const { return sequenceSet_[static_cast<unsigned char>(c)]; }
    bool isSkipChar(char c) const { return skipSet_[static_cast<unsigned char>(c)]; }
    std::string nextNumber();

    ResequenceSettings settings_;
    // The two sets as tables: looked up for every line.
    std::array<bool, 256> sequenceSet_{};
    std::array<bool, 256> skipSet_{};
    char letter_;
    long long next_;
};

// Renumbers (or removes) the block numbers of the selected lines or of the
// whole program; false when cancelled.
bool Resequence(editor::TextDocument& document, LineWalkProgress& progress,
                const ResequenceSettings& settings);

}  // namespace zantor

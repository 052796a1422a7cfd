#include "nctools/resequence.h"

#include <algorithm>
#include <charconv>

#include "core/text_util.h"

namespace zantor {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool readInteger(std::string_view text, long long& value, std::optional<std::string>& error) {
    if (error) return false;
    const std::optional<int> read = parseInt(text);
    if (!read) {
        error = "'" + std::string(text) + "' is not a valid integer value";
        return false;
    }
    value = *read;
    return true;
}

}  // namespace

std::optional<std::string> readResequenceNumbers(std::string_view start,
                                                 std::string_view increment,
                                                 std::string_view maxDigits,
                                                 ResequenceSettings& settings) {
    std::optional<std::string> error;
    long long first = 0, step = 0, digits = 0;
    readInteger(start, first, error);
    readInteger(increment, step, error);
    readInteger(maxDigits, digits, error);
    if (error) return error;
    settings.start = first;
    settings.increment = step;
    settings.maxDigits = int(digits);
    return std::nullopt;
}

std::string resequenceCaption(bool remove) {
    return remove ? "UN-Sequencing..." : "Resequencing...";
}

Resequencer::Resequencer(const ResequenceSettings& settings)
    : settings_(settings), letter_('N'), next_(settings.start) {
    // A "/" is the block-delete mark: written as the letter it would make
    // every renumbered block one the control skips.
    const auto letter = std::find_if(settings_.sequenceChars.begin(),
                                     settings_.sequenceChars.end(), [](char c) { return c != '/'; });
    if (letter != settings_.sequenceChars.end()) letter_ = *letter;
    for (const char c : settings_.sequenceChars) sequenceSet_[static_cast<unsigned char>(c)] = true;
    for (const char c : settings_.skipChars) skipSet_[static_cast<unsigned char>(c)] = true;
}

std::string Resequencer::nextNumber() {
    // Written with to_chars into a buffer: this runs for every line of
    // programs of millions of lines.
    char digits[24];
    const auto digitsOf = [&digits](long long n) {
        const unsigned long long magnitude = n < 0 ? 0ULL - (unsigned long long)n : (unsigned long long)n;
        return size_t(std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
    };
    size_t count = digitsOf(next_);
    if (count > size_t(std::max(settings_.maxDigits, 0))) {
        next_ = settings_.increment;
        count = digitsOf(next_);
    }
    const long long number = next_;
    next_ += settings_.increment;
    // A mistyped width of millions stops at the longest line a document
    // holds (which then refuses the edit) instead of taking the memory.
    const size_t width = size_t(std::clamp(settings_.maxDigits, 0, editor::kMaxParagraphLength));
    const size_t zeros = settings_.leadingZeros && count < width ? width - count : 0;
    std::string text;
    text.reserve(1 + zeros + count);
    if (number < 0) text.push_back('-');
    text.append(zeros, '0').append(digits, count);
    return text;
}

std::optional<Resequencer::Edit> Resequencer::next(std::string_view line) {
    if (line.empty()) return std::nullopt;
    Edit edit;
    char letter = letter_;
    bool slash = false;
    const char first = line[0];
    if (isSequenceChar(first)) {
        size_t scan = 1;
        if (first == '/') {
            slash = true;
            if (line.size() > 1 && isSequenceChar(line[1])) {
                letter = line[1];
                scan = 2;
            }
        } else {
            letter = first;
        }
        while (scan < line.size() &&
               (isDigit(line[scan]) || (settings_.remove && line[scan] == ' ')))
            ++scan;
        edit.oldText = line.substr(0, scan);
    } else if (isSkipChar(first)) {
        return std::nullopt;
    }
    const std::string number = nextNumber();
    if (settings_.remove) {
        // A letter goes only with the number it marks: NOTE stays NOTE. A
        // block-delete slash goes in any case.
        const bool numbered = std::any_of(edit.oldText.begin(), edit.oldText.end(), isDigit);
        if (!numbered) edit.oldText = slash ? "/" : "";
        return edit;
    }
    edit.newText.reserve(2 + number.size());
    if (slash) edit.newText.push_back('/');
    edit.newText.push_back(letter);
    edit.newText.append(number);
    return edit;
}

bool Resequence(editor::TextDocument& document, LineWalkProgress& progress,
                const ResequenceSettings& settings) {
    Resequencer sequence(settings);
    return RunLineTransform(document, progress, resequenceCaption(settings.remove),
                            [&](const std::string& line, int number) {
                                const std::optional<Resequencer::Edit> edit = sequence.next(line);
                                // The old text is where the line starts: no search for it.
                                if (edit && edit->oldText != edit->newText)
                                    document.ReplaceInParagraph(number, 0, int(edit->oldText.size()),
                                                                edit->newText);
                            });
}

}  // namespace zantor

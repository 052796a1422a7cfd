#include "compare/source_list.h"

#include <algorithm>
#include <cstring>

#include "compare/compare_error.h"
#include "core/file_io.h"

namespace zantor::compare {

TSourceList::TSourceList(int side) : side_(side), text_(std::make_shared<std::string>()) {
    starts_.push_back(0);
}

void TSourceList::Load() {
    try {
        LoadText(readFileBytes(fileName_));
    } catch (const FileError& error) {
        LoadText({});
        throw CompareError("Cannot load file: " + fileName_ + "\r" +
                               " to source list for processing.",
                           error.what());
    }
}

void TSourceList::LoadText(std::string bytes) {
    auto text = std::make_shared<const std::string>(std::move(bytes));
    const char* const begin = text->data();
    const char* const end = begin + text->size();
    const auto isLineEnd = [](char c) { return c == '\r' || c == '\n'; };

    // Counted first, so that the index of a big file is allocated once.
    size_t ends = 0;
    for (const char* p = begin; p < end; ++p) ends += isLineEnd(*p);
    std::vector<size_t> starts;
    starts.reserve(ends + 2);
    starts.push_back(0);
    for (const char* p = begin; p < end;) {
        const char* stop = std::find_if(p, end, isLineEnd);
        if (stop == end) break;
        p = stop + 1;
        if (*stop == '\r' && p < end && *p == '\n') ++p;
        starts.push_back(size_t(p - begin));
    }
    // The last line needs no line end.
    if (starts.back() != text->size()) starts.push_back(text->size());

    text_ = std::move(text);
    starts_ = std::move(starts);
    Reset();
}

std::string_view TSourceList::Line(long long index) const {
    const size_t start = starts_[size_t(index)];
    size_t stop = starts_[size_t(index) + 1];
    const std::string& text = *text_;
    // Line text never holds CR or LF, so what ends it is at most "\r\n".
    if (stop > start && text[stop - 1] == '\n') --stop;
    if (stop > start && text[stop - 1] == '\r') --stop;
    return std::string_view(text).substr(start, stop - start);
}

void TSourceList::Reset() {
    cur_ = 0;
    atEnd_ = Count() == 0;
    lookDone_ = false;
    blockStart_ = 0;
    blockEnd_ = 0;
}

void TSourceList::outOfRange(long long index) const {
    throw CompareError("Out-of-range SourceList index: " + std::to_string(index) + ".");
}

void TSourceList::Next() {
    if (atEnd_) outOfRange(cur_);
    ++cur_;
    atEnd_ = cur_ > Last();
}

void TSourceList::Prev() {
    if (cur_ <= 0) outOfRange(cur_);
    --cur_;
    atEnd_ = cur_ > Last();
    lookDone_ = false;
}

void TSourceList::StartLook() {
    if (blockStart_ == 0) blockStart_ = cur_ + 1;
    blockEnd_ = cur_ + 1;
    lookDone_ = false;
    look_ = cur_;
    lookEnd_ = std::min(cur_ + kLookAheadLines, Last());
    LookNext();
}

void TSourceList::LookNext() {
    if (lookDone_) outOfRange(look_);
    ++look_;
    lookDone_ = look_ > lookEnd_;
}

std::string_view TSourceList::LineAt(long long index, long long offset) const {
    if (atEnd_ || index < 0) outOfRange(index);
    if (offset > 0) {
        if (index + offset > Last()) return {};
        return Line(index + offset);
    }
    if (index > Last()) outOfRange(index);
    return Line(index);
}

void TSourceList::MarkTailBlock() {
    // A file already at its end parts from the other after its last line.
    const long long first = cur_ > Last() ? Count() : cur_ + 1;
    if (blockStart_ == 0) blockStart_ = first;
    blockEnd_ = Count();
}

}  // namespace zantor::compare

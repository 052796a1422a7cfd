#include "editor/file_viewer_model.h"

#include <algorithm>
#include <cstdio>

#include "core/file_io.h"

namespace zantor::editor {

namespace {

constexpr long long kCacheBlock = 64 * 1024;
// A line that runs on without a line end through a whole block of this size
// (a binary file) is also cut where the next block starts, so that walking
// back never reads further than two blocks to find where a line starts.
constexpr long long kLineBlock = 64 * 1024;

bool isLineEnd(unsigned char c) {
    return c == '\r' || c == '\n';
}

}  // namespace

void FileViewerModel::open(const std::string& path) {
    auto file = std::make_unique<ReadableFile>(path);
    close();
    size_ = file->size();
    file_ = std::move(file);
}

void FileViewerModel::close() {
    file_.reset();
    size_ = 0;
    cache_.clear();
    cacheStart_ = 0;
}

const std::string& FileViewerModel::path() const {
    static const std::string none;
    return file_ ? file_->path() : none;
}

unsigned char FileViewerModel::byteAt(long long offset) const {
    if (offset < cacheStart_ || offset >= cacheStart_ + (long long)cache_.size()) {
        cacheStart_ = offset - offset % kCacheBlock;
        cache_.resize(size_t(kCacheBlock));
        try {
            cache_.resize(file_->readAt(cacheStart_, cache_.data(), cache_.size()));
        } catch (...) {
            cache_.clear();
            throw;
        }
        // The file shrank under us: show what is there.
        if (offset >= cacheStart_ + (long long)cache_.size()) return 0;
    }
    return static_cast<unsigned char>(cache_[size_t(offset - cacheStart_)]);
}

long long FileViewerModel::hexLineCount() const {
    return (size_ + kHexBytesPerLine - 1) / kHexBytesPerLine;
}

std::string FileViewerModel::hexLine(long long line) const {
    const long long start = line * kHexBytesPerLine;
    const long long end = std::min(size_, start + kHexBytesPerLine);
    std::string bytes;
    for (long long at = start; at < end; ++at) bytes.push_back(char(byteAt(at)));
    return formatHexLine(start, bytes);
}

std::string formatHexLine(long long offset, std::string_view bytes) {
    // Past 4 GB the offset takes more digits rather than showing a wrong one.
    char head[24];
    std::snprintf(head, sizeof head, "%08llX  ", offset);
    std::string line = head;
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int i = 0; i < FileViewerModel::kHexBytesPerLine; ++i) {
        if (size_t(i) < bytes.size()) {
            const auto b = static_cast<unsigned char>(bytes[size_t(i)]);
            line += kDigits[b >> 4];
            line += kDigits[b & 15];
            line += ' ';
        } else {
            line += "   ";
        }
    }
    line += ' ';
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        line += (b < 32 || b > 127) ? '.' : c;
    }
    return line;
}

bool FileViewerModel::forcedCutAt(long long offset) const {
    if (offset <= 0 || offset % kLineBlock != 0) return false;
    for (long long at = offset - 1; at >= offset - kLineBlock; --at)
        if (isLineEnd(byteAt(at))) return false;
    return true;
}

long long FileViewerModel::textEnd(long long offset) const {
    int width = 0;
    long long at = offset;
    while (at < size_) {
        const unsigned char c = byteAt(at);
        if (isLineEnd(c) || (at > offset && forcedCutAt(at))) break;
        const int w = c == '\t' ? kTabSize - width % kTabSize : 1;
        if (width + w > kMaxViewerLineLength) break;
        width += w;
        ++at;
    }
    return at;
}

FileViewerModel::TextLine FileViewerModel::textLine(long long offset) const {
    TextLine line;
    const long long end = textEnd(offset);
    for (long long at = offset; at < end; ++at) {
        const unsigned char c = byteAt(at);
        if (c == '\t')
            line.text.append(size_t(kTabSize) - line.text.size() % kTabSize, ' ');
        else
            line.text.push_back(c == 0 ? ' ' : char(c));
    }
    line.next = end;
    if (end < size_ && isLineEnd(byteAt(end))) {
        line.next = end + 1;
        if (byteAt(end) == '\r' && end + 1 < size_ && byteAt(end + 1) == '\n') line.next = end + 2;
    }
    return line;
}

long long FileViewerModel::lineStartAt(long long offset) const {
    offset = std::clamp(offset, 0LL, size_);
    // Back to just after the previous line end (or a forced cut).
    long long realStart = offset;
    while (realStart > 0 && !isLineEnd(byteAt(realStart - 1)) && !forcedCutAt(realStart))
        --realStart;
    if (realStart == offset) return offset;
    // A long line is shown in pieces: find the piece holding `offset`.
    long long start = realStart;
    for (;;) {
        const long long end = textEnd(start);
        if (end >= offset || end == start) return start;
        start = end;
    }
}

long long FileViewerModel::previousLineStart(long long offset) const {
    if (offset <= 0) return 0;
    long long end = offset;  // just past the previous line's line end
    if (isLineEnd(byteAt(end - 1))) {
        --end;
        if (end > 0 && byteAt(end) == '\n' && byteAt(end - 1) == '\r') --end;
        // A piece of a long line ends without a line end; this one had one.
        return lineStartAt(end);
    }
    return lineStartAt(end - 1);
}

long long FileViewerModel::lastScreenTop(int lines) const {
    // The end of the file starts no line of its own, even after a line end.
    long long top = size_;
    for (int i = 0; i < lines && top > 0; ++i) top = previousLineStart(top);
    return top;
}

}  // namespace zantor::editor

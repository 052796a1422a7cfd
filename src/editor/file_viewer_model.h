#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_io.h"

namespace zantor::editor {

// The read-only file viewer's view of a file of any size: only the bytes of
// the lines asked for are read, through a small cache.
//
// Hex mode: line n shows bytes 16n..16n+15 (see formatHexLine).
// Text mode: a line runs up to its line end (CR LF, CR or LF); tabs expand to
// 8 columns and a NUL shows as a space. A line shows at most
// kMaxViewerLineLength characters; a longer one goes on in the next viewer
// line, so nothing of the file is hidden. Text lines are found by byte
// offset, so no part of the file is read before it is shown.
class FileViewerModel {
public:
    static constexpr int kMaxViewerLineLength = 1023;
    static constexpr int kHexBytesPerLine = 16;
    static constexpr int kTabSize = 8;

    // Throws zantor::FileError; the previous file stays open then.
    void open(const std::string& path);
    void close();
    bool isOpen() const { return file_ != nullptr; }
    const std::string& path() const;
    long long size() const { return size_; }

    // Hex mode: lines of 16 bytes.
    long long hexLineCount() const;
    std::string hexLine(long long line) const;

    // Text mode: the line starting at `offset` (a line start) and where the
    // next one starts (size() at the end).
    struct TextLine {
        std::string text;
        long long next = 0;
    };
    TextLine textLine(long long offset) const;
    // The start of the line before the one starting at `offset`; 0 at the top.
    long long previousLineStart(long long offset) const;
    // The start of the line holding byte `offset`.
    long long lineStartAt(long long offset) const;
    // The first line of the last screen of `lines` lines.
    long long lastScreenTop(int lines) const;

private:
    // The byte at `offset` (0..size()-1).
    unsigned char byteAt(long long offset) const;
    // Whether a line without line ends is cut at `offset` (see kLineBlock).
    bool forcedCutAt(long long offset) const;
    // The end of the text of the line starting at `offset`: where its line
    // end begins, or where it is cut.
    long long textEnd(long long offset) const;

    std::unique_ptr<ReadableFile> file_;
    long long size_ = 0;  // as found at the opening
    mutable std::string cache_;
    mutable long long cacheStart_ = 0;
};

// One hex line: the offset as 8 upper-case hex digits, from column 11 each
// byte as 2 upper-case hex digits and a space, from column 60 the bytes as
// characters, "." for any below 32 or above 127; 75 characters for 16 bytes.
std::string formatHexLine(long long offset, std::string_view bytes);

}  // namespace zantor::editor

// The program-file reader: paragraphs do not depend on how the bytes were
// split into reads, hold no line end, and keep within the paragraph limit.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/program_file.h"
#include "editor/text_document.h"
#include "fuzz_check.h"

namespace {

std::vector<std::string> split(std::string_view bytes, size_t chunk) {
    std::vector<std::string> paragraphs;
    zantor::editor::ProgramLineSplitter splitter(
        [&](std::string_view paragraph) { paragraphs.emplace_back(paragraph); });
    for (size_t at = 0; at < bytes.size(); at += chunk) splitter.feed(bytes.substr(at, chunk));
    splitter.finish();
    return paragraphs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t chunk = 1 + data[0] % 7;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::vector<std::string> whole = split(bytes, bytes.size() + 1);
    FUZZ_CHECK(split(bytes, chunk) == whole);
    for (const std::string& paragraph : whole) {
        FUZZ_CHECK(paragraph.size() <= size_t(zantor::editor::kMaxParagraphLength));
        FUZZ_CHECK(paragraph.find_first_of("\r\n") == std::string::npos);
        FUZZ_CHECK(paragraph.empty() || (paragraph.back() != ' ' && paragraph.back() != '\t'));
    }
    return 0;
}

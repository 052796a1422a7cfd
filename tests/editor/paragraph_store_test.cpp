#include "editor/paragraph_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace zantor::editor {
namespace {

using Lines = std::vector<std::string>;

Lines contents(const ParagraphStore& store) {
    Lines out;
    for (size_t i = 0; i < store.size(); ++i) out.emplace_back(store[i]);
    return out;
}

// The store loaded as a document loads a file: `text`'s lines (LF between
// them) as views of one block holding all of it.
void load(ParagraphStore& store, const std::string& text) {
    ByteBlock block(text.size());
    std::memcpy(block.data(), text.data(), text.size());
    const char* bytes = block.data();
    store.beginLoad(std::move(block), text.size(), 4);
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        const size_t stop = end == std::string::npos ? text.size() : end;
        std::string_view line(bytes + start, stop - start);
        while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
        store.addLoaded(line);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    store.endLoad();
}

// A loaded line's room runs to the next line's start: an edit that fits
// there stays in the block, one that does not moves, and the lines after it
// keep their text either way.
TEST(ParagraphStore, EditsOfLoadedLinesNeverReachIntoTheNextLine) {
    struct Case {
        const char* name;
        size_t from, length;
        const char* text;
        const char* first;
        bool movedToArena;
    };
    // "N1 X1" is followed by three blanks and its line end: room for 9.
    static const std::string longText(100, 'Z');
    const Case cases[] = {
        {"shorter", 0, 3, "", "X1", false},
        {"same length", 3, 2, "Y2", "N1 Y2", false},
        {"into the blanks", 5, 0, "Y2", "N1 X1Y2", false},
        {"up to the line end", 5, 0, "Y2345", "N1 X1Y2345", true},
        {"exactly the room", 5, 0, "Y234", "N1 X1Y234", false},
        {"at the start", 0, 0, "/N0", "/N0N1 X1", false},
        {"far beyond", 2, 0, longText.c_str(), nullptr, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParagraphStore store;
        load(store, "N1 X1   \nN2 Y2\n\nM30");
        const std::string before(store[0]);
        std::string expected = c.first ? std::string(c.first) : "";
        if (!c.first) expected = before.substr(0, c.from) + c.text + before.substr(c.from + c.length);
        store.replaceText(0, c.from, c.length, c.text, std::string::npos);
        EXPECT_EQ(contents(store), (Lines{expected, "N2 Y2", "", "M30"}));
        EXPECT_EQ(store.arenaBytesInUse() > 0, c.movedToArena);
    }
}

TEST(ParagraphStore, TheLastLoadedLineOwnsTheBytesUpToTheBlockEnd) {
    ParagraphStore store;
    load(store, "G1\nM30  ");
    store.replaceText(1, 3, 0, "X", std::string::npos);  // into its two trailing blanks
    EXPECT_EQ(contents(store), (Lines{"G1", "M30X"}));
    EXPECT_EQ(store.arenaBytesInUse(), 0u);
    store.replaceText(1, 4, 0, "YZ", std::string::npos);
    EXPECT_EQ(contents(store), (Lines{"G1", "M30XYZ"}));
    EXPECT_GT(store.arenaBytesInUse(), 0u);
}

TEST(ParagraphStore, KeepCutsTheEditedText) {
    ParagraphStore store;
    load(store, "N10 G1 X5\nM30");
    store.replaceText(0, 7, 2, "  ", 6);
    EXPECT_EQ(contents(store), (Lines{"N10 G1", "M30"}));
}

TEST(ParagraphStore, TextFromTheParagraphItselfIsReadBeforeItMoves) {
    for (const size_t extra : {0, 1, 200}) {  // in place, and moved
        SCOPED_TRACE(extra);
        ParagraphStore store;
        load(store, "ABCDEFGH\nX");
        const std::string filler(extra, '-');
        store.replaceText(0, 8, 0, filler, std::string::npos);
        const std::string_view own = store[0].substr(2, 4);  // "CDEF"
        store.replaceText(0, 0, 0, own, std::string::npos);
        EXPECT_EQ(contents(store), (Lines{"CDEFABCDEFGH" + filler, "X"}));
    }
}

// Replacements and exchanges all over the store, checked against a plain
// list; enough of them to move lines back and forth and compact the arena.
TEST(ParagraphStore, AgreesWithAPlainListThroughScatteredEdits) {
    Lines model;
    std::string file;
    for (int i = 0; i < 100; ++i) {
        model.push_back("N" + std::to_string(i) + " G1 X" + std::to_string(i * 7 % 101));
        file += model.back() + (i % 3 == 0 ? "   \n" : "\n");
    }
    file.pop_back();
    ParagraphStore store;
    load(store, file);
    ASSERT_EQ(contents(store), model);
    unsigned seed = 4711;
    const auto next = [&](unsigned bound) {
        seed = seed * 1103515245u + 12345u;
        return bound == 0 ? 0u : (seed >> 16) % bound;
    };
    bool compacted = false;
    for (int step = 0; step < 20000; ++step) {
        if (step % 50 == 49) {
            const size_t first = next(unsigned(model.size()) + 1);
            const size_t count = std::min<size_t>(next(3), model.size() - first);
            Lines with;
            for (unsigned k = next(3); k > 0; --k) with.push_back(std::string(next(40), 'W'));
            const Lines taken(model.begin() + long(first), model.begin() + long(first + count));
            model.erase(model.begin() + long(first), model.begin() + long(first + count));
            model.insert(model.begin() + long(first), with.begin(), with.end());
            ASSERT_EQ(store.exchange(first, count, with), taken) << "step " << step;
        } else if (!model.empty()) {
            const size_t line = next(unsigned(model.size()));
            std::string& text = model[line];
            const size_t from = next(unsigned(text.size()) + 1);
            // Mostly growing: lines outgrow their room and move again and
            // again, leaving enough behind to have the arena compacted.
            const size_t length =
                std::min<size_t>(next(8) == 0 ? next(100) : next(3), text.size() - from);
            const std::string insert(next(200), char('a' + step % 26));
            const size_t keep = next(16) == 0 ? next(unsigned(text.size() + insert.size()) + 1)
                                              : std::string::npos;
            text = (text.substr(0, from) + insert + text.substr(from + length)).substr(0, keep);
            const size_t leftBefore = store.arenaBytesLeft();
            store.replaceText(line, from, length, insert, keep);
            compacted = compacted || store.arenaBytesLeft() < leftBefore;
        }
        if (step % 997 == 0) {
            ASSERT_EQ(contents(store), model) << "step " << step;
        }
    }
    EXPECT_EQ(contents(store), model);
    EXPECT_TRUE(compacted) << "the arena was never compacted: the walk proves less than it should";
    EXPECT_LE(store.arenaBytesLeft(), std::max<size_t>(store.arenaBytesInUse(), 8u << 20));
}

TEST(ParagraphStore, AssignHoldsThoseParagraphsAlone) {
    ParagraphStore store;
    load(store, "A\nB");
    store.assign({"", "G1", ""});
    EXPECT_EQ(contents(store), (Lines{"", "G1", ""}));
    store.replaceText(0, 0, 0, "N5", std::string::npos);
    EXPECT_EQ(contents(store), (Lines{"N5", "G1", ""}));
}

}  // namespace
}  // namespace zantor::editor

#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/byte_block.h"
#include "editor/gap_buffer.h"

namespace zantor::editor {

// The paragraphs of a document, held without a string of their own each: a
// program of millions of lines then loads, changes and frees without a
// memory allocation per line.
//
// - Loaded text stays in the one block the file was read into; a paragraph
//   is a view of it until an edit changes it. Its room there runs up to the
//   next line (its trailing blanks and line end included), so an edit that
//   lengthens a line by a few characters still fits where it is.
// - A paragraph that outgrows its room, and every paragraph put in by an
//   edit, lives in an append arena. The latest one there grows in place;
//   others move to its end, and the room left behind is reclaimed by
//   compacting the arena once more of it is left behind than in use.
//
// A view handed out stays valid until the next change of the store.
class ParagraphStore {
public:
    ParagraphStore();
    ParagraphStore(ParagraphStore&&) noexcept;
    ParagraphStore& operator=(ParagraphStore&&) noexcept;
    ~ParagraphStore();

    std::size_t size() const { return slots_.size(); }
    std::string_view operator[](std::size_t index) const {
        const Slot& slot = slots_[index];
        return {slot.data, slot.size};
    }

    // Holds these paragraphs alone.
    void assign(const std::vector<std::string>& paragraphs);

    // A load: `block` (the file's bytes, `blockSize` of them) becomes the
    // home of the paragraphs added next; a paragraph that is a view of it is
    // kept where it is, any other is copied. `expected` is a guess of the
    // count, for the room of the list.
    void beginLoad(ByteBlock block, std::size_t blockSize, std::size_t expected);
    void addLoaded(std::string_view paragraph);
    void endLoad();

    // Paragraph `index` becomes its characters before `from`, `text`, and
    // its characters from `from + length` on, cut to `keep` characters
    // (at most that total). `text` may be a view of the paragraph itself.
    void replaceText(std::size_t index, std::size_t from, std::size_t length,
                     std::string_view text, std::size_t keep);

    // Puts `with` in place of `count` paragraphs from `first`; returns the
    // paragraphs taken out.
    std::vector<std::string> exchange(std::size_t first, std::size_t count,
                                      const std::vector<std::string>& with);

    // Bytes held in the arena by paragraphs, and left behind there.
    std::size_t arenaBytesInUse() const { return arenaLive_; }
    std::size_t arenaBytesLeft() const { return arenaDead_; }

private:
    struct Slot {
        char* data = nullptr;
        std::uint32_t size = 0;
        std::uint32_t room = 0;  // bytes from `data` that belong to this paragraph
    };
    struct Chunk {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
        std::size_t used = 0;
    };

    bool inBlock(const char* p) const { return p >= blockBegin_ && p < blockEnd_; }
    bool inArena(const Slot& slot) const { return slot.room > 0 && !inBlock(slot.data); }
    bool isArenaTail(const Slot& slot) const;
    Slot arenaCopy(std::string_view text);
    char* allocate(std::size_t bytes);
    void release(const Slot& slot);
    void compactIfWasteful();
    void reset();

    using SlotList = std::vector<Slot, LargePageAllocator<Slot>>;

    GapBuffer<Slot, LargePageAllocator<Slot>> slots_;
    SlotList loading_;  // the paragraphs of a load until it ends
    ByteBlock block_;
    const char* blockBegin_ = nullptr;
    const char* blockEnd_ = nullptr;
    std::vector<Chunk> chunks_;
    std::size_t arenaLive_ = 0;
    std::size_t arenaDead_ = 0;
};

}  // namespace zantor::editor

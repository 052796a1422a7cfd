#include "editor/paragraph_store.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace zantor::editor {

namespace {

// New arena room comes in pieces this large (or as large as one paragraph).
constexpr std::size_t kChunkBytes = 1 << 20;
// Left-behind arena room is reclaimed once it is over this and over what is in use.
constexpr std::size_t kWasteBeforeCompacting = 8 << 20;

std::uint32_t roomOf(std::size_t bytes) {
    return std::uint32_t(std::min<std::size_t>(bytes, std::numeric_limits<std::uint32_t>::max()));
}

}  // namespace

ParagraphStore::ParagraphStore() = default;
ParagraphStore::ParagraphStore(ParagraphStore&&) noexcept = default;
ParagraphStore& ParagraphStore::operator=(ParagraphStore&&) noexcept = default;
ParagraphStore::~ParagraphStore() = default;

void ParagraphStore::reset() {
    slots_.assign({});
    loading_ = {};
    block_ = ByteBlock();
    blockBegin_ = blockEnd_ = nullptr;
    chunks_.clear();
    arenaLive_ = arenaDead_ = 0;
}

void ParagraphStore::assign(const std::vector<std::string>& paragraphs) {
    reset();
    SlotList slots;
    slots.reserve(paragraphs.size());
    for (const std::string& p : paragraphs) slots.push_back(arenaCopy(p));
    slots_.assign(std::move(slots));
}

// ---- loading -------------------------------------------------------------

void ParagraphStore::beginLoad(ByteBlock block, std::size_t blockSize, std::size_t expected) {
    reset();
    block_ = std::move(block);
    blockBegin_ = block_.data();
    blockEnd_ = blockBegin_ + (blockBegin_ ? std::min(blockSize, block_.size()) : 0);
    loading_.reserve(expected);
}

void ParagraphStore::addLoaded(std::string_view paragraph) {
    if (inBlock(paragraph.data())) {
        // Its room is known once the next paragraph's start is.
        loading_.push_back({const_cast<char*>(paragraph.data()), std::uint32_t(paragraph.size()),
                            std::uint32_t(paragraph.size())});
    } else {
        loading_.push_back(arenaCopy(paragraph));
    }
}

void ParagraphStore::endLoad() {
    // Each paragraph of the block owns the bytes up to the next one's start
    // (its blanks and line end); paragraphs copied elsewhere own none of them.
    const char* next = blockEnd_;
    for (auto slot = loading_.rbegin(); slot != loading_.rend(); ++slot) {
        if (!inBlock(slot->data)) continue;
        slot->room = roomOf(std::size_t(next - slot->data));
        next = slot->data;
    }
    slots_.assign(std::move(loading_));
    loading_ = {};
}

// ---- the arena -----------------------------------------------------------

char* ParagraphStore::allocate(std::size_t bytes) {
    if (chunks_.empty() || chunks_.back().size - chunks_.back().used < bytes) {
        const std::size_t size = std::max(kChunkBytes, bytes);
        chunks_.push_back({std::make_unique_for_overwrite<char[]>(size), size, 0});
    }
    Chunk& chunk = chunks_.back();
    char* at = chunk.bytes.get() + chunk.used;
    chunk.used += bytes;
    arenaLive_ += bytes;
    return at;
}

ParagraphStore::Slot ParagraphStore::arenaCopy(std::string_view text) {
    if (text.empty()) return {};
    char* at = allocate(text.size());
    std::memcpy(at, text.data(), text.size());
    return {at, std::uint32_t(text.size()), std::uint32_t(text.size())};
}

bool ParagraphStore::isArenaTail(const Slot& slot) const {
    if (!inArena(slot) || chunks_.empty()) return false;
    const Chunk& chunk = chunks_.back();
    return slot.data + slot.room == chunk.bytes.get() + chunk.used;
}

void ParagraphStore::release(const Slot& slot) {
    if (!inArena(slot)) return;  // the block's bytes are simply no longer used
    arenaLive_ -= slot.room;
    if (isArenaTail(slot)) {
        chunks_.back().used -= slot.room;  // the next paragraph takes it
        return;
    }
    arenaDead_ += slot.room;
}

void ParagraphStore::compactIfWasteful() {
    if (arenaDead_ <= kWasteBeforeCompacting || arenaDead_ <= arenaLive_) return;
    std::vector<Chunk> old = std::move(chunks_);
    chunks_.clear();
    arenaLive_ = arenaDead_ = 0;
    std::size_t live = 0;
    for (std::size_t i = 0; i < slots_.size(); ++i)
        if (inArena(slots_[i])) live += slots_[i].size;
    // One piece for all of it: nothing is left over between pieces.
    if (live > 0) chunks_.push_back({std::make_unique_for_overwrite<char[]>(live), live, 0});
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        Slot& slot = slots_[i];
        if (!inArena(slot)) continue;
        slot = slot.size == 0 ? Slot{} : arenaCopy({slot.data, slot.size});
    }
}

// ---- edits -----------------------------------------------------------------

void ParagraphStore::replaceText(std::size_t index, std::size_t from, std::size_t length,
                                 std::string_view text, std::size_t keep) {
    Slot& slot = slots_[index];
    const std::size_t tail = slot.size - from - length;
    const std::size_t whole = from + text.size() + tail;
    keep = std::min(keep, whole);
    std::string ownCopy;
    if (!text.empty() && text.data() < slot.data + slot.room && text.data() + text.size() > slot.data) {
        ownCopy.assign(text);  // moving the tail would overwrite it
        text = ownCopy;
    }
    if (whole > slot.room && isArenaTail(slot) &&
        chunks_.back().size - chunks_.back().used >= whole - slot.room) {
        chunks_.back().used += whole - slot.room;
        arenaLive_ += whole - slot.room;
        slot.room = std::uint32_t(whole);
    }
    if (whole <= slot.room) {
        if (tail > 0) std::memmove(slot.data + from + text.size(), slot.data + from + length, tail);
        if (!text.empty()) std::memcpy(slot.data + from, text.data(), text.size());
        slot.size = std::uint32_t(keep);
        return;
    }
    // Moved to the arena's end; the old place is given up only after the
    // copy, so the new one never overlaps it.
    char* at = allocate(whole);
    if (from > 0) std::memcpy(at, slot.data, from);
    if (!text.empty()) std::memcpy(at + from, text.data(), text.size());
    if (tail > 0) std::memcpy(at + from + text.size(), slot.data + from + length, tail);
    const Slot old = slot;
    slot = {at, std::uint32_t(keep), std::uint32_t(whole)};
    release(old);
    compactIfWasteful();
}

std::vector<std::string> ParagraphStore::exchange(std::size_t first, std::size_t count,
                                                  const std::vector<std::string>& with) {
    std::vector<Slot> added;
    added.reserve(with.size());
    for (const std::string& p : with) added.push_back(arenaCopy(p));
    const std::vector<Slot> removed = slots_.replace(first, count, std::move(added));
    std::vector<std::string> taken;
    taken.reserve(removed.size());
    for (const Slot& slot : removed) taken.emplace_back(slot.data, slot.size);
    // Given up last to first: the last one added to the arena comes back whole.
    for (auto slot = removed.rbegin(); slot != removed.rend(); ++slot) release(*slot);
    compactIfWasteful();
    return taken;
}

}  // namespace zantor::editor

#include "docs/text_chunks.h"

#include <cstdlib>
#include <cstring>
#include <sys/mman.h>

#include "base/display_columns.h"

TextChunks::~TextChunks()
{
    Clear();
}

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

} // namespace

void* TextChunks::AllocateLarge(std::size_t size) noexcept
{
    if (size < 2 * kHugePage) return std::malloc(size ? size : 1);
    if (size > SIZE_MAX - kHugePage) return nullptr;
    const std::size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
    void* bytes = std::aligned_alloc(kHugePage, rounded);
    if (bytes) AdviseHugePages(bytes, rounded);
    return bytes;
}

void TextChunks::AdviseHugePages(void* bytes, std::size_t size) noexcept
{
#ifdef MADV_HUGEPAGE
    const auto begin = (reinterpret_cast<std::uintptr_t>(bytes) + kHugePage - 1) / kHugePage * kHugePage;
    const auto end = (reinterpret_cast<std::uintptr_t>(bytes) + size) / kHugePage * kHugePage;
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)bytes;
    (void)size;
#endif
}

char* TextChunks::Allocate(std::size_t size, std::uint32_t& id)
{
    auto* bytes = static_cast<char*>(AllocateLarge(size));
    if (!bytes) return nullptr;
    try {
        if (free_ids_.empty()) {
            chunks_.push_back({});
            id = static_cast<std::uint32_t>(chunks_.size() - 1);
        } else {
            id = free_ids_.back();
            free_ids_.pop_back();
        }
    } catch (...) {
        std::free(bytes);
        return nullptr;
    }
    chunks_[id] = Chunk{bytes, size, 0, {}};
    bytes_held_ += size;
    return bytes;
}

void TextChunks::Release(TextLine& line) noexcept
{
    if (line.InChunk()) {
        const std::uint32_t id = line.Chunk();
        line.store_ = TextLine::kExternal;
        if (id < chunks_.size() && chunks_[id].live > 0 && --chunks_[id].live == 0) Free(id);
    }
    line.FreeOwned();
}

void TextChunks::DropIfUnused(std::uint32_t id) noexcept
{
    if (id < chunks_.size() && chunks_[id].bytes && chunks_[id].live == 0) Free(id);
}

void TextChunks::Free(std::uint32_t id) noexcept
{
    std::free(chunks_[id].bytes);
    Forget(id);
}

void TextChunks::Forget(std::uint32_t id) noexcept
{
    bytes_held_ -= chunks_[id].size;
    chunks_[id] = Chunk{};
    try {
        free_ids_.push_back(id);
    } catch (...) {
        // The slot is simply not reused.
    }
}

void TextChunks::Clear() noexcept
{
    for (auto& chunk : chunks_) std::free(chunk.bytes);
    chunks_.clear();
    free_ids_.clear();
    bytes_held_ = 0;
}

void TextChunks::NoteLoaded(std::uint32_t id, const char* text, std::uint32_t size, int width, int tabSize) noexcept
{
    if (id >= chunks_.size()) return;
    // A plain line is as wide as it is long; only then is it read again.
    const bool plain = static_cast<std::size_t>(width) == size && text::PlainAsciiRun(text, size) == size;
    chunks_[id].note = {text, size, width, tabSize, plain};
}

void TextChunks::Note(const TextLine& line, int width, int tabSize, bool plain) noexcept
{
    if (!line.InChunk() || line.Chunk() >= chunks_.size()) return;
    chunks_[line.Chunk()].note = {line.Text(), static_cast<std::uint32_t>(line.Length()), width, tabSize, plain};
}

bool TextChunks::HandOver(TextLine& line) noexcept
{
    if (!line.InChunk() || line.Chunk() >= chunks_.size()) return false;
    Chunk& chunk = chunks_[line.Chunk()];
    const auto before = static_cast<std::size_t>(line.text_ - chunk.bytes);
    if (chunk.live != 1 || line.size_ < kLongLine || line.size_ < chunk.size / 2) return false;
    if (before < sizeof(TextLine::Block) || before - sizeof(TextLine::Block) > UINT32_MAX) return false;
    const std::uint32_t id = line.Chunk();
    line.TakeAllocation(chunk.bytes, chunk.size);
    Forget(id);
    return true;
}

namespace {

// The head needs one more byte for its own NUL: the shorter part moves by
// one, into a free byte before the line or after its NUL.
struct InPlaceSplit {
    bool head_moves;
    bool possible;
};

InPlaceSplit PlanSplit(const char* text, std::size_t size, std::size_t at, const TextChunks::Span& span) noexcept
{
    const bool roomBefore = text > span.begin;
    const bool roomAfter = text + size + 1 < span.end;
    const bool headMoves = roomBefore && (at <= size - at || !roomAfter);
    return {headMoves, span.live == 1 && (headMoves || roomAfter)};
}

} // namespace

bool TextChunks::CanSplitInPlace(const TextLine& line) const noexcept
{
    // Where the cut falls does not change whether there is room.
    return PlanSplit(line.text_, line.size_, 0, SpanOf(line)).possible;
}

TextLine TextChunks::SplitInPlace(TextLine& line, std::size_t at) noexcept
{
    char* const text = line.text_;
    const std::size_t size = line.size_;
    const bool headMoves = PlanSplit(text, size, at, SpanOf(line)).head_moves;
    const std::uint32_t id = line.Chunk();
    const auto tailSize = static_cast<std::uint32_t>(size - at);
    TextLine tail;
    if (headMoves) {
        std::memmove(text - 1, text, at);
        line.text_ = text - 1;
        tail = MakeLine(id, text + at, tailSize);
    } else {
        std::memmove(text + at + 1, text + at, size - at + 1);
        tail = MakeLine(id, text + at + 1, tailSize);
    }
    line.size_ = static_cast<std::uint32_t>(at);
    line.text_[at] = '\0';
    return tail;
}

bool TextChunks::JoinInPlace(TextLine& first, const TextLine& second) noexcept
{
    if (!first.InChunk() || !second.InChunk() || first.Chunk() != second.Chunk()) return false;
    if (SpanOf(first).live != 2) return false;
    // Only these two lines use the chunk, so the bytes between them are
    // free; the shorter moves up to the other.
    const std::size_t a = first.size_;
    const std::size_t b = second.size_;
    if (first.text_ + a >= second.text_) return false;  // not in this order in memory
    if (a <= b) {
        std::memmove(second.text_ - a, first.text_, a);
        first.text_ = second.text_ - a;
    } else {
        std::memmove(first.text_ + a, second.text_, b + 1);
    }
    first.size_ = static_cast<std::uint32_t>(a + b);
    first.text_[a + b] = '\0';
    return true;
}

#include "docs/text_chunks.h"

#include <cstdlib>
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

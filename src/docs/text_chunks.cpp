#include "docs/text_chunks.h"

#include <cstdlib>

TextChunks::~TextChunks()
{
    Clear();
}

char* TextChunks::Allocate(std::size_t size, std::uint32_t& id)
{
    auto* bytes = static_cast<char*>(std::malloc(size ? size : 1));
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
    chunks_[id] = Chunk{bytes, size, 0};
    bytes_held_ += size;
    return bytes;
}

TextLine TextChunks::MakeLine(std::uint32_t id, const char* text, std::uint32_t size) noexcept
{
    ++chunks_[id].live;
    return TextLine(text, size, TextLine::kFirstChunk + id);
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

#pragma once
// Large blocks of line text shared by many lines. A load reads the file into
// a few big chunks and its lines point into them, so a line costs its table
// entry and one terminating byte instead of a heap block each. A chunk is
// freed as soon as the last line in it is deleted or edited.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "docs/text_line.h"

class TextChunks {
public:
    TextChunks() = default;
    TextChunks(const TextChunks&) = delete;
    TextChunks& operator=(const TextChunks&) = delete;
    ~TextChunks();

    // A new chunk of `size` bytes (uninitialised), or null when it cannot be
    // allocated. `id` names it for MakeLine.
    char* Allocate(std::size_t size, std::uint32_t& id);
    // A line whose bytes [text, text + size) lie in chunk `id` and are
    // followed by a NUL there.
    TextLine MakeLine(std::uint32_t id, const char* text, std::uint32_t size) noexcept
    {
        ++chunks_[id].live;
        return TextLine(text, size, TextLine::kFirstChunk + id);
    }
    // The same for a load that makes many lines in one chunk: each line is
    // made uncounted, and the count is added once for all of them.
    static TextLine UncountedLine(std::uint32_t id, const char* text, std::uint32_t size) noexcept
    {
        return TextLine(text, size, TextLine::kFirstChunk + id);
    }
    void CountLines(std::uint32_t id, std::uint32_t lines) noexcept { chunks_[id].live += lines; }
    // Frees the line's own text or drops its hold on its chunk; the line is
    // left empty.
    void Release(TextLine& line) noexcept;
    // Frees chunk `id` if no line uses it (a load or insert that failed).
    void DropIfUnused(std::uint32_t id) noexcept;
    // Frees every chunk; the lines in them must be gone already.
    void Clear() noexcept;

    std::size_t BytesHeld() const noexcept { return bytes_held_; }

    // The bytes of the chunk a line lies in and how many lines use it; all
    // null and 0 for a line outside the chunks.
    struct Span {
        char* begin = nullptr;
        char* end = nullptr;
        std::uint32_t live = 0;
    };
    Span SpanOf(const TextLine& line) const noexcept
    {
        if (!line.InChunk() || line.Chunk() >= chunks_.size()) return {};
        const Chunk& chunk = chunks_[line.Chunk()];
        return {chunk.bytes, chunk.bytes + chunk.size, chunk.live};
    }

    // Memory for `size` bytes, freed with std::free, or null. A large block
    // is filled at once (a chunk, a table, a long line): it gets huge pages,
    // which save most of the page faults of touching it.
    static void* AllocateLarge(std::size_t size) noexcept;
    // Asks for huge pages over the whole 2 MB pages inside [bytes, bytes +
    // size): a big table or chunk filled at once takes far fewer faults.
    static void AdviseHugePages(void* bytes, std::size_t size) noexcept;

private:
    struct Chunk {
        char* bytes = nullptr;
        std::size_t size = 0;
        std::uint32_t live = 0;
    };
    void Free(std::uint32_t id) noexcept;

    std::vector<Chunk> chunks_;
    std::vector<std::uint32_t> free_ids_;
    std::size_t bytes_held_ = 0;
};

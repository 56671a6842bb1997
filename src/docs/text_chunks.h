#pragma once
// Large blocks of line text shared by many lines. A load reads the file into
// a few big chunks and its lines point into them, so a line costs its table
// entry and one terminating byte instead of a heap block each. A chunk is
// freed as soon as the last line in it is deleted or edited.

#include <cstddef>
#include <cstdint>
#include <utility>
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
    // Exchanges the chunks of two documents, together with their lines.
    void Swap(TextChunks& other) noexcept
    {
        chunks_.swap(other.chunks_);
        free_ids_.swap(other.free_ids_);
        std::swap(bytes_held_, other.bytes_held_);
    }

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

    // What was measured of one long line in a chunk: its width and whether
    // it is plain ASCII without tabs (each byte one column). It is kept with
    // the chunk, so that the first edit of a long loaded line need not
    // measure it again, and holds while a line has exactly these bytes.
    struct LineNote {
        const char* text = nullptr;
        std::uint32_t size = 0;
        std::int32_t width = 0;
        std::int32_t tab_size = 0;  // the tab size width was measured with
        bool plain = false;
    };
    // Lines from this length on are worth a note: a copy of them costs
    // more than a keystroke may.
    static constexpr std::size_t kLongLine = std::size_t{1} << 16;
    // Notes a line of chunk `id` that a load measured `width` columns wide
    // at `tabSize`; whether it is plain is looked up here.
    void NoteLoaded(std::uint32_t id, const char* text, std::uint32_t size, int width, int tabSize) noexcept;
    // Notes what an edit that left the line in its chunk knows of it.
    void Note(const TextLine& line, int width, int tabSize, bool plain) noexcept;
    // The note of this line, or null when its chunk has none for its bytes.
    const LineNote* NoteOf(const TextLine& line) const noexcept
    {
        if (!line.InChunk() || line.Chunk() >= chunks_.size()) return nullptr;
        const LineNote& note = chunks_[line.Chunk()].note;
        return note.text && note.text == line.Text() && note.size == static_cast<std::uint32_t>(line.Length()) ? &note
                                                                                                         : nullptr;
    }
    // The chunk of a long line that is the only line left in it becomes the
    // line's own block, without a byte moving: the block's header goes into
    // the free bytes before the line, and the chunk is forgotten here (the
    // line frees it). False (nothing changed) when the line is not alone in
    // its chunk, has no room before it, or is short against the chunk (the
    // rest of the chunk would be held for a small line).
    bool HandOver(TextLine& line) noexcept;

    // A line alone in its chunk splits inside it, and two lines alone in one
    // chunk join inside it: the bytes stay in memory already touched, where
    // a new block would cost a page fault every few kilobytes.
    // Whether `line` can split so (every byte of its chunk but its own is
    // free, and there is a byte of room before or after it).
    bool CanSplitInPlace(const TextLine& line) const noexcept;
    // Splits such a line at byte `at`: the line keeps its head and the
    // tail, counted in the chunk, is returned.
    TextLine SplitInPlace(TextLine& line, std::size_t at) noexcept;
    // Appends `second` to `first` inside their chunk (second is left for the
    // caller to remove); false (nothing changed) when they do not qualify.
    bool JoinInPlace(TextLine& first, const TextLine& second) noexcept;

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
        LineNote note;
    };
    void Free(std::uint32_t id) noexcept;
    // Drops chunk `id` from the table without freeing its bytes.
    void Forget(std::uint32_t id) noexcept;

    std::vector<Chunk> chunks_;
    std::vector<std::uint32_t> free_ids_;
    std::size_t bytes_held_ = 0;
};

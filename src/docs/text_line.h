#pragma once
// One line of a document: its bytes without the line end, followed by a NUL
// so that Text() can be handed to C-style callers. A line may hold NUL
// bytes of its own; its length is its byte count, never strlen().
//
// A line is 16 bytes. Its text either has a heap block of its own, or (for
// lines a document loaded or inserted in bulk) lies inside one of the
// document's shared text chunks, which the document tracks and frees when
// the last line in them goes away. Copying a line always makes an owned copy.
//
// An owned block's text follows a small header: its room (so that editing a
// long line can work in place), the count of its tabs and its display width
// as last measured, so that an edit of a long line need not scan all of it.
// The header may sit anywhere inside the allocation: when a long line loses
// its start (Enter near its start) the header moves up to the new first
// byte instead of the text moving down, and the room left in front can take
// text back in (Backspace joining the line above).

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "docs/line_measure.h"

class TextChunks;

class TextLine {
public:
    TextLine() noexcept : text_(empty_text_), size_(0), store_(kExternal) {}
    explicit TextLine(std::string_view text);  // Text() is null if the copy fails
    TextLine(const TextLine& other);
    TextLine& operator=(const TextLine& other);
    // Moves and destruction are inline: a load makes millions of lines.
    TextLine(TextLine&& other) noexcept : text_(other.text_), size_(other.size_), store_(other.store_)
    {
        other.MakeEmpty();
    }
    TextLine& operator=(TextLine&& other) noexcept
    {
        if (this != &other) {
            FreeOwned();
            text_ = other.text_;
            size_ = other.size_;
            store_ = other.store_;
            other.MakeEmpty();
        }
        return *this;
    }
    ~TextLine() { FreeOwned(); }

    // The NUL-terminated bytes; null only when a copy could not be allocated.
    const char* Text() const noexcept { return text_; }
    int Length() const noexcept { return static_cast<int>(size_); }
    std::string_view View() const noexcept { return text_ ? std::string_view(text_, size_) : std::string_view(); }

    // Replaces the text with a copy; false (and a null text) when the copy
    // cannot be allocated.
    bool SetText(std::string_view text);

    // A line over bytes the caller keeps alive (NUL-terminated after size);
    // never freed here.
    static TextLine Borrowed(const char* text, std::uint32_t size) noexcept { return {text, size, kExternal}; }

    // --- a line with a block of its own ---
    bool Owned() const noexcept { return store_ == kOwned; }
    bool InChunk() const noexcept { return store_ >= kFirstChunk; }
    // An owned line's measure as last stored, and the one place it is stored.
    LineMeasure Measure() const noexcept
    {
        const Block& block = OwnedBlock();
        return {block.tabs, block.width, block.width_tab, block.plain != 0};
    }
    void SetMeasure(const LineMeasure& measure) noexcept
    {
        Block& block = OwnedBlock();
        block.tabs = measure.tabs;
        block.width = measure.width;
        block.width_tab = measure.tab_size;
        block.plain = measure.plain ? 1 : 0;
    }
    // Bytes an owned line can hold from its text on (NUL not counted), and
    // the bytes of its allocation in front of its header.
    std::size_t Room() const noexcept { return OwnedBlock().capacity; }
    std::size_t FrontRoom() const noexcept { return OwnedBlock().front; }
    // A block with room for `capacity` bytes and a NUL; returns its text, or
    // null when it cannot be allocated.
    static char* AllocateBlock(std::size_t capacity) noexcept;
    // An empty line takes `bytes` (size bytes, from AllocateBlock) as a
    // block of its own; the NUL after them is written here.
    void AdoptBlock(char* bytes, std::size_t size) noexcept;
    // Gives an owned line room for `capacity` bytes from its text on, the
    // allocation growing in place where it can; false (line unchanged) when
    // it cannot be had.
    bool GrowBlock(std::size_t capacity) noexcept;
    // The line's first `count` bytes leave it without the rest moving: an
    // owned line's header moves up (tab count and width are left to the
    // caller); a line in a chunk simply starts later.
    void DropFront(std::size_t count) noexcept;
    // An owned line takes `text` in front of its own, in the room in front
    // of its header; false when there is not that much room.
    bool TakeFront(std::string_view text) noexcept;
    // The one edit of a line's bytes in place: `erase` bytes at `at` become
    // `text` (which must not lie in the line), the bytes after them move and
    // the NUL follows. The result must fit: an owned line's Room(), or no
    // longer than the line for one in a chunk. The measure is the caller's.
    void Splice(std::size_t at, std::size_t erase, std::string_view text) noexcept;

private:
    friend class TextChunks;

    enum : std::uint32_t { kOwned = 0, kExternal = 1, kFirstChunk = 2 };

    // Packed: the header of a line that lost its start lies right before
    // the new first byte, wherever that is.
    struct __attribute__((packed)) Block {
        std::size_t capacity;    // bytes of text the block can hold from the text on, NUL not counted
        std::uint32_t tabs;      // tab bytes in the text
        std::int32_t width;      // display width, valid for width_tab only
        std::int32_t width_tab;  // the tab size width was measured with; 0: none
        std::uint32_t front;     // bytes of the allocation before the header
        std::uint8_t plain;      // 1: every byte is ASCII and none a tab, so each is one column; 0: unknown
    };
    // A line whose bytes lie in an allocation [start, start + size) that
    // becomes its own block: the header goes into the bytes before the
    // text, which hold at least a header. Tabs and width are left to the
    // caller.
    void TakeAllocation(char* start, std::size_t size) noexcept;
    static char* CopyBytes(std::string_view text) noexcept;
    Block& OwnedBlock() const noexcept { return reinterpret_cast<Block*>(text_)[-1]; }

    // A line whose bytes live elsewhere (a chunk, a cache); never freed here.
    TextLine(const char* text, std::uint32_t size, std::uint32_t store) noexcept
        : text_(const_cast<char*>(text)), size_(size), store_(store) {}

    // Every empty line shares this text: an empty line costs no heap block.
    static inline char empty_text_[1] = {'\0'};
    void MakeEmpty() noexcept
    {
        text_ = empty_text_;
        size_ = 0;
        store_ = kExternal;
    }
    void FreeOwned() noexcept
    {
        if (store_ == kOwned) FreeText();
        MakeEmpty();
    }
    void FreeText() noexcept;
    std::uint32_t Chunk() const noexcept { return store_ - kFirstChunk; }

    char* text_;
    std::uint32_t size_;
    std::uint32_t store_;
};

static_assert(sizeof(TextLine) == 16, "a line stays small: the table holds millions");
static_assert(std::is_standard_layout_v<TextLine>, "the line table moves lines as bytes");

#pragma once
// The ordered table of a document's lines, kept with a gap of free slots
// at the place of the last insertion or removal (a gap buffer). Opening or
// closing lines moves only the lines between the gap and the edit, so a
// user who types Enter or Backspace pays for the distance from the last
// edit, not for the size of the document. The gap moves on demand; the
// table grows with a slack proportional to its size.
//
// A line's address stays the same until the next change of the number of
// lines. The slots of the gap hold no line: memory reserved for a table
// that a load fills is touched only as the lines arrive.

#include <cstddef>
#include <new>
#include <utility>

#include "docs/text_line.h"

class LineTable {
public:
    LineTable() = default;
    ~LineTable();
    LineTable(const LineTable&) = delete;
    LineTable& operator=(const LineTable&) = delete;

    std::size_t Size() const noexcept { return size_; }
    std::size_t Capacity() const noexcept { return capacity_; }

    TextLine& operator[](std::size_t index) noexcept { return slots_[Slot(index)]; }
    const TextLine& operator[](std::size_t index) const noexcept { return slots_[Slot(index)]; }

    // Makes room for at least `size` lines; false (table unchanged) when the
    // storage cannot be allocated.
    bool Reserve(std::size_t size) noexcept;
    // Makes room for `size` lines and some more, with the gap at index;
    // false (table unchanged) when it cannot be allocated.
    bool MakeRoom(std::size_t size, std::size_t index) noexcept;
    // Replaces the `erase` lines at index, which must be empty already,
    // with `count` empty lines. Makes room first; false (nothing changed)
    // when it cannot.
    bool Replace(std::size_t index, std::size_t erase, std::size_t count) noexcept;
    // Appends a line within the reserved room (Reserve first).
    void Append(TextLine&& line) noexcept
    {
        if (gap_start_ != size_) MoveGapTo(size_);
        ::new (static_cast<void*>(slots_ + gap_start_++)) TextLine(static_cast<TextLine&&>(line));
        --gap_size_;
        ++size_;
    }
    // The first slot after the last line while the gap lies there, as it
    // does while a load appends: the memory the next lines fill. Null when
    // the gap is elsewhere or the table has no room.
    TextLine* RoomAfterLast() noexcept { return gap_start_ == size_ && gap_size_ > 0 ? slots_ + size_ : nullptr; }
    // Lets go of the room beyond `slack` free slots (keeps the table when
    // the smaller one cannot be allocated).
    void Trim(std::size_t slack) noexcept;
    // Drops every line and the storage.
    void Clear() noexcept;
    // Exchanges the lines of two tables (a reload's new text for the old).
    void Swap(LineTable& other) noexcept
    {
        std::swap(slots_, other.slots_);
        std::swap(capacity_, other.capacity_);
        std::swap(size_, other.size_);
        std::swap(gap_start_, other.gap_start_);
        std::swap(gap_size_, other.gap_size_);
    }

private:
    std::size_t Slot(std::size_t index) const noexcept { return index < gap_start_ ? index : index + gap_size_; }
    void MoveGapTo(std::size_t index) noexcept;
    // Moves the lines into new storage of `capacity` slots with the gap at
    // `gapAt`; false when it cannot be allocated.
    bool Reallocate(std::size_t capacity, std::size_t gapAt) noexcept;

    TextLine* slots_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
    std::size_t gap_start_ = 0;
    std::size_t gap_size_ = 0;
};

#include "docs/line_table.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "docs/text_chunks.h"

namespace {

TextLine* AllocateSlots(std::size_t count) noexcept
{
    if (count > SIZE_MAX / sizeof(TextLine)) return nullptr;
    return static_cast<TextLine*>(TextChunks::AllocateLarge(count * sizeof(TextLine)));
}

// Room beyond the lines asked for when the table grows: a sixteenth of its
// size, so growing costs a constant per line however the table is edited.
std::size_t WithSlack(std::size_t size) noexcept
{
    return size + std::max<std::size_t>(size / 16, 64);
}

} // namespace

LineTable::~LineTable()
{
    Clear();
}

void LineTable::Clear() noexcept
{
    if (slots_) {
        std::destroy_n(slots_, gap_start_);
        std::destroy(slots_ + gap_start_ + gap_size_, slots_ + capacity_);
        std::free(slots_);
    }
    slots_ = nullptr;
    capacity_ = size_ = gap_start_ = gap_size_ = 0;
}

bool LineTable::Reallocate(std::size_t capacity, std::size_t gapAt) noexcept
{
    TextLine* slots = AllocateSlots(capacity);
    if (!slots) return false;
    MoveGapTo(gapAt);
    const std::size_t after = size_ - gap_start_;
    std::uninitialized_move_n(slots_, gap_start_, slots);
    std::uninitialized_move_n(slots_ + gap_start_ + gap_size_, after, slots + capacity - after);
    if (slots_) {
        std::destroy_n(slots_, gap_start_);
        std::destroy(slots_ + gap_start_ + gap_size_, slots_ + capacity_);
        std::free(slots_);
    }
    slots_ = slots;
    capacity_ = capacity;
    gap_size_ = capacity - size_;
    return true;
}

bool LineTable::MakeRoom(std::size_t size, std::size_t index) noexcept
{
    return size <= capacity_ || Reallocate(WithSlack(size), index);
}

bool LineTable::Reserve(std::size_t size) noexcept
{
    return size <= capacity_ || Reallocate(size, size_);
}

void LineTable::MoveGapTo(std::size_t index) noexcept
{
    // A line is a pointer and two numbers that refer to nothing inside the
    // line itself, so its bytes can move as they are (as Qt moves its
    // relocatable types): the first edit far from the last one moves
    // millions of lines, at the speed of memmove. The slots left behind
    // hold no line.
    if (gap_size_ > 0 && index < gap_start_) {
        std::memmove(static_cast<void*>(slots_ + index + gap_size_), static_cast<const void*>(slots_ + index),
                     (gap_start_ - index) * sizeof(TextLine));
    } else if (gap_size_ > 0 && index > gap_start_) {
        std::memmove(static_cast<void*>(slots_ + gap_start_), static_cast<const void*>(slots_ + gap_start_ + gap_size_),
                     (index - gap_start_) * sizeof(TextLine));
    }
    gap_start_ = index;
}

bool LineTable::Replace(std::size_t index, std::size_t erase, std::size_t count) noexcept
{
    const std::size_t size = size_ - erase + count;
    if (!MakeRoom(size, index)) return false;
    MoveGapTo(index);
    // The erased lines (empty already) join the gap, the new ones leave it.
    std::destroy_n(slots_ + gap_start_ + gap_size_, erase);
    gap_size_ += erase;
    std::uninitialized_default_construct_n(slots_ + gap_start_, count);
    gap_start_ += count;
    gap_size_ -= count;
    size_ = size;
    // A table that shrank far below its room gives the memory back.
    if (capacity_ > 4096 && size_ < capacity_ / 4) Trim(size_ / 16);
    return true;
}

void LineTable::Trim(std::size_t slack) noexcept
{
    if (capacity_ - size_ > slack) {
        if (size_ == 0 && slack == 0) Clear();
        else Reallocate(size_ + slack, gap_start_);
    }
}

#pragma once
// How many lines of a document have each display width, so that the width
// of the widest line is known at once after any edit, instead of by a pass
// over every line. Narrow widths are counted in a plain array (a load adds
// millions of them); the rare very wide lines in a map.

#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

class WidthTally {
public:
    // Every change is counted only while the tally is valid; false from the
    // first allocation failure or inconsistency until the next Reset.
    bool Valid() const noexcept { return valid_; }
    // Empties the tally and makes it valid for widths under `tabSize`.
    void Reset(int tabSize) noexcept;
    void Invalidate() noexcept;
    int TabSize() const noexcept { return tab_size_; }
    void Swap(WidthTally& other) noexcept
    {
        dense_.swap(other.dense_);
        wide_.swap(other.wide_);
        std::swap(widest_, other.widest_);
        std::swap(tab_size_, other.tab_size_);
        std::swap(valid_, other.valid_);
    }

    // Inline: a load adds every line's width.
    void Add(int width) noexcept
    {
        if (valid_ && width >= 0 && width < kDense && dense_[static_cast<std::size_t>(width)] < UINT32_MAX) {
            ++dense_[static_cast<std::size_t>(width)];
            if (width > widest_) widest_ = width;
            return;
        }
        AddRare(width);
    }
    // The same for the many lines of a load, which tells the widest of
    // them once at the end (NoteWidest). No count can wrap here: a document
    // holds fewer than 2^31 lines.
    void AddLoaded(int width) noexcept
    {
        if (static_cast<unsigned>(width) < static_cast<unsigned>(kDense) && valid_) {
            ++dense_[static_cast<std::size_t>(width)];
            return;
        }
        AddRare(width);
    }
    void NoteWidest(int width) noexcept
    {
        if (valid_ && width > widest_) widest_ = width;
    }
    void Remove(int width) noexcept;
    void Change(int oldWidth, int newWidth) noexcept
    {
        if (oldWidth == newWidth || !valid_) return;
        Remove(oldWidth);
        Add(newWidth);
    }
    // The widest counted width (0 when nothing is counted).
    int Widest() const noexcept;

private:
    static constexpr int kDense = 1 << 14;
    void AddRare(int width) noexcept;
    std::vector<std::uint32_t> dense_;
    std::map<int, std::size_t> wide_;
    mutable int widest_ = 0;  // an upper bound; Widest() settles it
    int tab_size_ = 0;
    bool valid_ = false;
};

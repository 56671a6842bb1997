#include "docs/width_tally.h"

#include <exception>

void WidthTally::Reset(int tabSize) noexcept
{
    Invalidate();
    try {
        dense_.assign(kDense, 0);
    } catch (const std::exception&) {
        return;
    }
    tab_size_ = tabSize;
    valid_ = true;
}

void WidthTally::Invalidate() noexcept
{
    valid_ = false;
    tab_size_ = 0;
    widest_ = 0;
    std::vector<std::uint32_t>().swap(dense_);
    wide_.clear();
}

void WidthTally::AddRare(int width) noexcept
{
    if (!valid_) return;
    if (width < 0) width = 0;
    if (width < kDense) {
        if (++dense_[static_cast<std::size_t>(width)] == 0) return Invalidate();  // wrapped
    } else {
        try {
            ++wide_[width];
        } catch (const std::exception&) {
            return Invalidate();
        }
    }
    if (width > widest_) widest_ = width;
}

void WidthTally::Remove(int width) noexcept
{
    if (!valid_) return;
    if (width < 0) width = 0;
    if (width < kDense) {
        auto& count = dense_[static_cast<std::size_t>(width)];
        if (count == 0) return Invalidate();
        --count;
        return;
    }
    const auto found = wide_.find(width);
    if (found == wide_.end()) return Invalidate();
    if (--found->second == 0) wide_.erase(found);
}

int WidthTally::Widest() const noexcept
{
    if (!wide_.empty()) return widest_ = wide_.rbegin()->first;
    if (widest_ >= kDense) widest_ = kDense - 1;
    // A walk of at most the array's length, and only after the widest
    // lines went away.
    while (widest_ > 0 && dense_[static_cast<std::size_t>(widest_)] == 0) --widest_;
    return widest_;
}

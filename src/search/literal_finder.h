#pragma once
// Finds a literal text in a block of bytes, byte for byte or with the ASCII
// letters folded. Candidates are screened many bytes at a time by their
// first and last byte, then checked in full.

#include <cstddef>
#include <string>
#include <string_view>

class LiteralFinder {
public:
    LiteralFinder(std::string_view pattern, bool case_sensitive);

    std::size_t size() const noexcept { return pattern_.size(); }

    // The first occurrence that starts at or after `from` and ends at or
    // before `end`, or nullptr. An empty pattern is never found.
    const char* Find(const char* from, const char* end) const noexcept
    {
        return find_(*this, from, end);
    }

    // How a byte b passes the screen for pattern byte c: (b | mask) == c,
    // where mask is 0x20 for a folded letter and 0 otherwise.
    struct Screen {
        unsigned char first, first_mask, last, last_mask;
    };
    const std::string& pattern() const noexcept { return pattern_; }
    const Screen& screen() const noexcept { return screen_; }

private:
    using FindFunction = const char* (*)(const LiteralFinder&, const char*, const char*) noexcept;

    std::string pattern_;  // lower-cased when folding
    Screen screen_{};
    FindFunction find_;
};

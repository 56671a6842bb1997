#pragma once
// Where a search finds its pattern in one line. Every search (a text
// window's Find and Replace, the grep scan, the replacement in a file) asks
// a matcher and takes the span it returns: a match may be longer or shorter
// than the pattern that found it.

#include <cstddef>
#include <optional>
#include <string_view>

// Bytes [start, end) of a line.
struct ByteSpan {
    std::size_t start = 0;
    std::size_t end = 0;
    bool operator==(const ByteSpan&) const = default;
};

class Matcher {
public:
    virtual ~Matcher() = default;

    // The first accepted match that starts at or after `from` in `line`
    // (a line without its line feed).
    virtual std::optional<ByteSpan> Find(std::string_view line, std::size_t from) const = 0;
};

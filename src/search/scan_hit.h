#pragma once
// Where a scan found a hit: the line's number, where the line starts in its
// file and the bytes of the first match within the line. The command-line
// tool reads the line's text from there; the Grep window reads it when a
// row is painted.

#include "search/text_matcher.h"

#include <cstdint>
#include <optional>
#include <string_view>

struct ScanHit {
    long line = 0;  // from 1
    std::uint64_t line_offset = 0;
    ByteSpan match;
    // Matches in the part of the line the scan held (the whole line unless
    // it was longer than a block): at least this one.
    std::uint32_t matches_in_line = 1;
    bool operator==(const ScanHit&) const = default;
};

// The bytes of a hit's line with its line feed, when a scan asked to keep
// them could (the line lay whole in the block read); valid during the call
// that hands the hit on.
using LineText = std::optional<std::string_view>;

#pragma once
// The grep run's test of where a search text occurs in one line: the
// literal finder (bytes compared exactly, or with the ASCII letters
// folded) and the whole-word rule of the character model. The scan of a
// file and the replacement of its hits both ask it, so a replacement
// changes exactly the bytes the search found.

#include "search/literal_finder.h"

#include <cstddef>
#include <optional>
#include <string_view>

// Bytes [start, end) of a line.
struct ByteSpan {
    std::size_t start = 0;
    std::size_t end = 0;
    bool operator==(const ByteSpan&) const = default;
};

class TextMatcher {
public:
    TextMatcher(std::string_view pattern, bool case_sensitive, bool whole_words);

    // The first accepted occurrence that starts at or after `from` in
    // `line`. A rejected occurrence is stepped over as a whole: occurrences
    // are examined left to right without overlapping. An empty pattern is
    // never found.
    std::optional<ByteSpan> Find(std::string_view line, std::size_t from) const;

    // No letter or digit of any script touches the occurrence at `pos`
    // (length `length`) of `text`.
    static bool StandsAlone(std::string_view text, std::size_t pos, std::size_t length);

    const LiteralFinder& finder() const { return finder_; }

private:
    LiteralFinder finder_;
    bool whole_words_;
};

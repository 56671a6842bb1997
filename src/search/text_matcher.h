#pragma once
// The literal matcher: the literal finder (bytes compared exactly, or with
// the ASCII letters folded) and the whole-word rule of the character model.
// The scan of a file and the replacement of its hits both ask it, so a
// replacement changes exactly the bytes the search found.

#include "base/matcher.h"
#include "search/literal_finder.h"

#include <cstddef>
#include <optional>
#include <string_view>

class TextMatcher : public Matcher {
public:
    // Where the search goes on after an occurrence the whole-word rule
    // rejects: the grep run steps over it as a whole (occurrences are
    // examined left to right without overlapping); a text window tries
    // every start.
    enum class AfterRejected { kSkipOccurrence, kNextByte };

    TextMatcher(std::string_view pattern, bool case_sensitive, bool whole_words,
                AfterRejected after_rejected = AfterRejected::kSkipOccurrence);

    // The first accepted occurrence that starts at or after `from` in
    // `line`. An empty pattern is never found.
    std::optional<ByteSpan> Find(std::string_view line, std::size_t from) const override;

    // The search of a block of many lines, which the grep scan reads a
    // part at a time: the first accepted occurrence in `text` that starts
    // at or after `from` and ends at or before `limit`. The bytes after
    // `limit` are only looked at as the neighbours of an occurrence. An
    // occurrence that ends with the CR of a CR LF is rejected (the CR is
    // no part of its line). Without a match, `resume` is where a search of
    // the text that follows goes on.
    struct BlockResult {
        std::optional<ByteSpan> span;
        std::size_t resume = 0;
    };
    BlockResult FindInBlock(std::string_view text, std::size_t from, std::size_t limit) const;

    // The longest match there is (the pattern's length).
    std::size_t LongestMatch() const { return finder_.size(); }

    // No letter or digit of any script touches the bytes [pos, pos + length)
    // of `text`.
    static bool StandsAlone(std::string_view text, std::size_t pos, std::size_t length);

    const LiteralFinder& finder() const { return finder_; }

private:
    bool Accepts(std::string_view text, std::size_t pos) const;

    LiteralFinder finder_;
    bool whole_words_;
    AfterRejected after_rejected_;
};

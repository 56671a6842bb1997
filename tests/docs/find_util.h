#pragma once
// The document's search with a literal pattern, as the tests of its
// positions state it: the start of a match, or the end of the match that
// starts at a position.

#include "docs/text_doc.h"
#include "search/text_matcher.h"

#include <optional>
#include <string_view>

struct FindRules {
    bool down = true;
    bool case_sensitive = true;
    bool whole_words = false;
};

inline TextMatcher LiteralFor(std::string_view pattern, const FindRules& rules)
{
    return TextMatcher(pattern, rules.case_sensitive, rules.whole_words, TextMatcher::AfterRejected::kNextByte);
}

inline std::optional<TextPosition> FindIn(const TextDoc& doc, std::string_view pattern, TextPosition from,
                                          const FindRules& rules)
{
    const auto found = doc.Find(LiteralFor(pattern, rules), from, rules.down);
    if (!found) return std::nullopt;
    return found->start;
}

// -1 when no match starts at `match`.
inline int MatchEndIn(const TextDoc& doc, std::string_view pattern, TextPosition match)
{
    const auto found = doc.Find(LiteralFor(pattern, {true, false, false}), match, true);
    return found && found->start == match ? found->end.column : -1;
}

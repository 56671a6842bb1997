#include "search/text_matcher.h"

#include "base/characters.h"

TextMatcher::TextMatcher(std::string_view pattern, bool case_sensitive, bool whole_words, AfterRejected after_rejected)
    : finder_(pattern, case_sensitive), whole_words_(whole_words), after_rejected_(after_rejected)
{
}

std::optional<ByteSpan> TextMatcher::Find(std::string_view line, std::size_t from) const
{
    return FindInBlock(line, from, line.size()).span;
}

TextMatcher::BlockResult TextMatcher::FindInBlock(std::string_view text, std::size_t from, std::size_t limit) const
{
    const std::size_t m = finder_.size();
    const char* const begin = text.data();
    while (m > 0 && from + m <= limit) {
        const char* found = finder_.Find(begin + from, begin + limit);
        if (!found) break;
        const auto pos = static_cast<std::size_t>(found - begin);
        if (Accepts(text, pos)) return {ByteSpan{pos, pos + m}, pos};
        from = after_rejected_ == AfterRejected::kSkipOccurrence ? pos + m : pos + 1;
    }
    // Occurrences that end after the limit are looked at again with the
    // text that follows.
    return {std::nullopt, std::max(from, limit + 1 > m ? limit + 1 - m : 0)};
}

bool TextMatcher::Accepts(std::string_view text, std::size_t pos) const
{
    const std::size_t end = pos + finder_.size();
    if (text[end - 1] == '\r' && end < text.size() && text[end] == '\n') return false;
    return !whole_words_ || StandsAlone(text, pos, finder_.size());
}

bool TextMatcher::StandsAlone(std::string_view text, std::size_t pos, std::size_t length)
{
    return text::WordEndsBefore(text, pos) && text::WordEndsAt(text, pos + length);
}

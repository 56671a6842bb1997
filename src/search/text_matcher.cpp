#include "search/text_matcher.h"

#include "base/characters.h"

TextMatcher::TextMatcher(std::string_view pattern, bool case_sensitive, bool whole_words)
    : finder_(pattern, case_sensitive), whole_words_(whole_words)
{
}

std::optional<ByteSpan> TextMatcher::Find(std::string_view line, std::size_t from) const
{
    const std::size_t m = finder_.size();
    const char* const begin = line.data();
    const char* const end = begin + line.size();
    while (m > 0 && from + m <= line.size()) {
        const char* found = finder_.Find(begin + from, end);
        if (!found) break;
        const auto pos = static_cast<std::size_t>(found - begin);
        if (!whole_words_ || StandsAlone(line, pos, m)) return ByteSpan{pos, pos + m};
        from = pos + m;
    }
    return std::nullopt;
}

bool TextMatcher::StandsAlone(std::string_view text, std::size_t pos, std::size_t length)
{
    return text::WordEndsBefore(text, pos) && text::WordEndsAt(text, pos + length);
}

#include "search/matcher_factory.h"

std::unique_ptr<const Matcher> MakeMatcher(const MatchQuery& query, TextMatcher::AfterRejected after_rejected)
{
    return std::make_unique<const TextMatcher>(query.pattern, query.case_sensitive, query.whole_words, after_rejected);
}

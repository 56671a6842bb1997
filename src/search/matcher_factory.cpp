#include "search/matcher_factory.h"

std::unique_ptr<const Matcher> MakeMatcher(const MatchSpec& spec, TextMatcher::AfterRejected after_rejected)
{
    return std::make_unique<const TextMatcher>(spec.pattern, spec.case_sensitive, spec.whole_words, after_rejected);
}

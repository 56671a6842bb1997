#pragma once
// Makes the matcher a match query asks for.

#include "base/match_query.h"
#include "base/matcher.h"
#include "search/text_matcher.h"

#include <memory>

// `after_rejected`: how a literal search goes on after an occurrence the
// whole-word rule rejects.
std::unique_ptr<const Matcher> MakeMatcher(
    const MatchQuery& query, TextMatcher::AfterRejected after_rejected = TextMatcher::AfterRejected::kSkipOccurrence);

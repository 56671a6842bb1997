#pragma once
// Makes the matcher a match spec asks for.

#include "base/match_spec.h"
#include "base/matcher.h"
#include "search/text_matcher.h"

#include <memory>

// `after_rejected`: how a literal search goes on after an occurrence the
// whole-word rule rejects.
std::unique_ptr<const Matcher> MakeMatcher(
    const MatchSpec& spec, TextMatcher::AfterRejected after_rejected = TextMatcher::AfterRejected::kSkipOccurrence);

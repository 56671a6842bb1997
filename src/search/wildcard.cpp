#include "search/wildcard.h"

#include "base/text_rules.h"

namespace wildcard {
namespace {

// Classic greedy match with one back-tracking point: the last `*` seen.
bool MatchPlain(std::string_view pattern, std::string_view name) noexcept
{
    std::size_t p = 0, n = 0;
    std::size_t star = std::string_view::npos, star_name = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            star_name = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || text::ToLowerAscii(pattern[p]) == text::ToLowerAscii(name[n]))) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++star_name;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

} // namespace

bool Matches(std::string_view pattern, std::string_view name) noexcept
{
    if (MatchPlain(pattern, name)) return true;
    // "name.*" stands for the name with any extension or none.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*")
        return MatchPlain(pattern.substr(0, pattern.size() - 2), name);
    return false;
}

} // namespace wildcard

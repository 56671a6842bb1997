#include "search/ignore_rules.h"

#include <cctype>

namespace ignore {
namespace {

enum class Outcome { kMatch, kNoMatch, kAbortAll, kAbortToDoubleStar };

bool InClass(std::string_view name, unsigned char c)
{
    using Test = int (*)(int);
    static const struct {
        const char* name;
        Test test;
    } classes[] = {{"alnum", ::isalnum}, {"alpha", ::isalpha}, {"blank", ::isblank}, {"cntrl", ::iscntrl},
                   {"digit", ::isdigit}, {"graph", ::isgraph}, {"lower", ::islower}, {"print", ::isprint},
                   {"punct", ::ispunct}, {"space", ::isspace}, {"upper", ::isupper}, {"xdigit", ::isxdigit}};
    for (const auto& cls : classes)
        if (name == cls.name) return c < 0x80 && cls.test(c) != 0;
    return false;
}

// One "[...]" at glob[p] (p just past '[') against `c`; moves p past ']'.
// kAbortAll for a class without its ']'.
Outcome MatchClass(std::string_view glob, std::size_t& p, unsigned char c)
{
    auto at = [&](std::size_t i) -> int { return i < glob.size() ? static_cast<unsigned char>(glob[i]) : 0; };
    int ch = at(p);
    const bool negated = ch == '!' || ch == '^';
    if (negated) ch = at(++p);
    int prev = 0;
    bool matched = false;
    do {
        if (ch == 0) return Outcome::kAbortAll;
        if (ch == '\\') {
            ch = at(++p);
            if (ch == 0) return Outcome::kAbortAll;
            if (c == ch) matched = true;
        } else if (ch == '-' && prev != 0 && at(p + 1) != 0 && at(p + 1) != ']') {
            ch = at(++p);
            if (ch == '\\') {
                ch = at(++p);
                if (ch == 0) return Outcome::kAbortAll;
            }
            if (c <= ch && c >= prev) matched = true;
            ch = 0;  // a range does not start another one
        } else if (ch == '[' && at(p + 1) == ':') {
            const std::size_t start = p + 2;
            const std::size_t end = glob.find(']', start);
            if (end == std::string_view::npos) return Outcome::kAbortAll;
            if (end == start || glob[end - 1] != ':') {
                // Not a class name after all: the '[' stands for itself.
                if (c == '[') matched = true;
            } else {
                if (InClass(glob.substr(start, end - 1 - start), c)) matched = true;
                p = end;
                ch = 0;
            }
        } else if (c == ch) {
            matched = true;
        }
        prev = ch;
        ch = at(++p);
    } while (ch != ']');
    ++p;
    if (matched == negated || c == '/') return Outcome::kNoMatch;
    return Outcome::kMatch;
}

Outcome Match(std::string_view glob, std::size_t p, std::string_view text, std::size_t t)
{
    for (; p < glob.size(); ++p, ++t) {
        const char pc = glob[p];
        if (t >= text.size() && pc != '*') return Outcome::kAbortAll;
        switch (pc) {
            case '\\':
                if (++p >= glob.size()) return Outcome::kNoMatch;  // a lone '\' at the end never matches
                if (text[t] != glob[p]) return Outcome::kNoMatch;
                continue;
            case '?':
                if (text[t] == '/') return Outcome::kNoMatch;
                continue;
            case '[': {
                ++p;
                const Outcome o = MatchClass(glob, p, static_cast<unsigned char>(text[t]));
                if (o != Outcome::kMatch) return o;
                --p;  // the loop steps past the class's ']'
                continue;
            }
            case '*': {
                bool any_depth = false;
                if (p + 1 < glob.size() && glob[p + 1] == '*') {
                    const std::size_t first = p;
                    while (p + 1 < glob.size() && glob[p + 1] == '*') ++p;
                    const bool starts_name = first == 0 || glob[first - 1] == '/';
                    const bool ends_name = p + 1 == glob.size() || glob[p + 1] == '/';
                    if (starts_name && ends_name) {
                        // "**/" also matches no folder at all.
                        if (p + 1 < glob.size() && Match(glob, p + 2, text, t) == Outcome::kMatch)
                            return Outcome::kMatch;
                        any_depth = true;
                    }
                }
                ++p;
                if (p == glob.size()) {
                    if (!any_depth && text.find('/', t) != std::string_view::npos) return Outcome::kNoMatch;
                    return Outcome::kMatch;
                }
                if (!any_depth && glob[p] == '/') {
                    const std::size_t slash = text.find('/', t);
                    if (slash == std::string_view::npos) return Outcome::kNoMatch;
                    t = slash;
                    continue;  // the '/' of the glob matches that of the text
                }
                for (; t < text.size(); ++t) {
                    const Outcome o = Match(glob, p, text, t);
                    if (o != Outcome::kNoMatch) {
                        if (!any_depth || o != Outcome::kAbortToDoubleStar) return o;
                    } else if (!any_depth && text[t] == '/') {
                        return Outcome::kAbortToDoubleStar;
                    }
                }
                return Outcome::kAbortAll;
            }
            default:
                if (text[t] != pc) return Outcome::kNoMatch;
                continue;
        }
    }
    return t < text.size() ? Outcome::kNoMatch : Outcome::kMatch;
}

// The line without its trailing spaces, but for one escaped by '\'.
std::string_view TrimTrailingSpaces(std::string_view line)
{
    std::size_t end = line.size();
    while (end > 0 && line[end - 1] == ' ') {
        std::size_t backslashes = 0;
        for (std::size_t i = end - 1; i > 0 && line[i - 1] == '\\'; --i) ++backslashes;
        if (backslashes % 2 == 1) break;  // "\ " keeps its space
        --end;
    }
    return line.substr(0, end);
}

}  // namespace

bool GlobMatches(std::string_view glob, std::string_view path) noexcept
{
    return Match(glob, 0, path, 0) == Outcome::kMatch;
}

RuleFile RuleFile::Parse(std::string_view text)
{
    static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
    RuleFile file;
    while (!text.empty()) {
        const std::size_t feed = text.find('\n');
        std::string_view line = text.substr(0, feed);
        text.remove_prefix(feed == std::string_view::npos ? text.size() : feed + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = TrimTrailingSpaces(line);
        if (line.empty() || line.front() == '#') continue;
        Pattern pattern;
        if (line.front() == '!') {
            pattern.negated = true;
            line.remove_prefix(1);
        }
        if (!line.empty() && line.back() == '/') {
            pattern.dir_only = true;
            line.remove_suffix(1);
        }
        if (line.empty()) continue;
        pattern.name_only = line.find('/') == std::string_view::npos;
        if (line.front() == '/') line.remove_prefix(1);
        pattern.glob.assign(line);
        file.patterns_.push_back(std::move(pattern));
    }
    return file;
}

Verdict RuleFile::Match(std::string_view path, bool is_dir) const
{
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    for (auto it = patterns_.rbegin(); it != patterns_.rend(); ++it) {
        if (it->dir_only && !is_dir) continue;
        if (GlobMatches(it->glob, it->name_only ? name : path)) return it->negated ? Verdict::kKept : Verdict::kIgnored;
    }
    return Verdict::kNone;
}

}  // namespace ignore

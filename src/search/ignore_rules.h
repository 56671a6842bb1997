#pragma once
// The rules of one ignore file (.gitignore, .git/info/exclude, .ignore), as
// git reads and applies them:
//
// - one pattern a line; blank lines and lines starting with '#' hold none;
//   trailing spaces end a pattern unless escaped with '\';
// - a leading '!' turns a pattern into an exception that keeps a path;
// - a trailing '/' makes a pattern match folders only;
// - a pattern without '/' (but for a trailing one) matches the name of an
//   entry at any depth below the file's folder; any other pattern matches
//   the entry's path from that folder (a leading '/' only anchors);
// - '*' and '?' do not match '/', "[...]" is a character class ('!' or '^'
//   negates, ranges, "[:alpha:]" and the other POSIX names), '\' takes the
//   next character as it is; "**/" matches any run of folders, none
//   included, and a trailing "/**" everything inside;
// - the last pattern that matches decides; letters compare by case.

#include <string>
#include <string_view>
#include <vector>

namespace ignore {

// Matches `path` against `glob` by the rules above ('/' is matched only by
// '/' or by "**").
bool GlobMatches(std::string_view glob, std::string_view path) noexcept;

enum class Verdict { kNone, kIgnored, kKept };

class RuleFile {
public:
    // The patterns of the file's text (an empty text gives none).
    static RuleFile Parse(std::string_view text);

    // The verdict of the last pattern that matches the entry at `path`
    // (relative to the file's folder, '/' between names, no leading '/');
    // kNone when no pattern does.
    Verdict Match(std::string_view path, bool is_dir) const;

    bool empty() const { return patterns_.empty(); }

private:
    struct Pattern {
        std::string glob;
        bool negated = false;
        bool dir_only = false;
        bool name_only = false;  // no '/' in it: matched against the entry's name
    };
    std::vector<Pattern> patterns_;
};

}  // namespace ignore

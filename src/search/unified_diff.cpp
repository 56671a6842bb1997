#include "search/unified_diff.h"

#include <algorithm>

namespace {

constexpr std::size_t kContext = 3;
constexpr std::string_view kNoNewline = "\\ No newline at end of file\n";

// One line of the old file: [start, end) without its LF, and whether it has one.
struct Line {
    std::size_t start, end;
    bool has_lf;
};

std::vector<Line> SplitLines(std::string_view bytes)
{
    std::vector<Line> lines;
    for (std::size_t from = 0; from < bytes.size();) {
        const std::size_t lf = bytes.find('\n', from);
        if (lf == std::string_view::npos) {
            lines.push_back({from, bytes.size(), false});
            break;
        }
        lines.push_back({from, lf, true});
        from = lf + 1;
    }
    return lines;
}

void Emit(std::string& out, char mark, std::string_view text, bool has_lf)
{
    out += mark;
    out += text;
    out += '\n';
    if (!has_lf) out += kNoNewline;
}

// The new text of a changed line, split into the lines it makes.
void EmitNew(std::string& out, std::string_view text, bool has_lf)
{
    for (std::size_t from = 0;;) {
        const std::size_t lf = text.find('\n', from);
        if (lf == std::string_view::npos) {
            if (from < text.size() || has_lf) Emit(out, '+', text.substr(from), has_lf);
            return;
        }
        Emit(out, '+', text.substr(from, lf - from), true);
        from = lf + 1;
    }
}

std::size_t NewLineCount(std::string_view text, bool has_lf)
{
    const auto lfs = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    const bool tail = text.empty() || text.back() != '\n';
    return lfs + ((tail && (has_lf || !text.empty())) ? 1 : 0);
}

std::string Range(std::size_t start, std::size_t count)
{
    // An empty side names the line before it.
    return std::to_string(count == 0 ? start - 1 : start) + "," + std::to_string(count);
}

}  // namespace

std::string UnifiedDiff(std::string_view label, std::string_view bytes, const std::vector<ByteSpan>& spans,
                        std::string_view replacement)
{
    const std::vector<Line> lines = SplitLines(bytes);
    // The new text of each changed line.
    std::vector<std::size_t> changed;
    std::vector<std::string> new_text;
    std::size_t s = 0;
    for (std::size_t i = 0; i < lines.size() && s < spans.size(); ++i) {
        if (spans[s].start >= lines[i].end) continue;  // on a later line
        std::string text;
        std::size_t kept = lines[i].start;
        while (s < spans.size() && spans[s].start < lines[i].end) {
            text.append(bytes.substr(kept, spans[s].start - kept)).append(replacement);
            kept = spans[s].end;
            ++s;
        }
        text.append(bytes.substr(kept, lines[i].end - kept));
        changed.push_back(i);
        new_text.push_back(std::move(text));
    }
    if (changed.empty()) return {};

    std::string out = "--- " + std::string(label) + "\n+++ " + std::string(label) + "\n";
    std::ptrdiff_t shift = 0;  // new lines minus old lines before the hunk
    for (std::size_t c = 0; c < changed.size();) {
        // The changes that share a hunk: their contexts meet.
        std::size_t last = c;
        while (last + 1 < changed.size() && changed[last + 1] - changed[last] <= 2 * kContext) ++last;
        const std::size_t from = changed[c] > kContext ? changed[c] - kContext : 0;
        const std::size_t to = std::min(lines.size(), changed[last] + kContext + 1);
        std::string body;
        std::size_t new_count = 0;
        std::ptrdiff_t hunk_shift = 0;
        for (std::size_t i = from, k = c; i < to; ++i) {
            const Line& line = lines[i];
            const std::string_view old_text = bytes.substr(line.start, line.end - line.start);
            if (k <= last && changed[k] == i) {
                Emit(body, '-', old_text, line.has_lf);
                EmitNew(body, new_text[k], line.has_lf);
                const std::size_t made = NewLineCount(new_text[k], line.has_lf);
                new_count += made;
                hunk_shift += static_cast<std::ptrdiff_t>(made) - 1;
                ++k;
            } else {
                Emit(body, ' ', old_text, line.has_lf);
                ++new_count;
            }
        }
        out += "@@ -" + Range(from + 1, to - from) + " +" +
               Range(static_cast<std::size_t>(static_cast<std::ptrdiff_t>(from + 1) + shift), new_count) + " @@\n";
        out += body;
        shift += hunk_shift;
        c = last + 1;
    }
    return out;
}

std::string DiffLabel(const std::string& path, const std::string& current_directory)
{
    std::string dir = current_directory;
    if (dir.empty() || dir.back() != '/') dir += '/';
    if (path.size() > dir.size() && path.compare(0, dir.size(), dir) == 0) return path.substr(dir.size());
    return path;
}

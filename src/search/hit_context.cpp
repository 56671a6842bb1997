#include "search/hit_context.h"

#include "search/file_lines.h"
#include "search/hit_texts.h"

#include <algorithm>

std::vector<ContextLine> ReadHitContext(const std::string& path, long line, std::uint64_t line_offset, int around)
{
    std::vector<ContextLine> lines;
    FileLines file(path);
    if (!file.is_open()) return lines;
    const long first = std::max<long>(1, line - around);
    std::uint64_t offset = line_offset;
    for (long n = line; n > first; --n) offset = file.PreviousLineStart(offset);
    for (long n = first; n <= line + around; ++n) {
        const auto read = file.LineAt(offset);  // whole, to step to the next line
        if (!read) break;
        offset += read->bytes.size();
        const std::string_view text = WithoutLineEnd(read->bytes);
        lines.push_back({n, std::string(text.substr(0, HitTexts::kMostBytes)), n == line});
    }
    return lines;
}

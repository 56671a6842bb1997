#include "print/page_layout.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace printing {

int ScaleFontHeight(int height, int screenDpi, int printerDpi)
{
    if (screenDpi <= 0 || printerDpi <= 0) return height;
    // 64 bits: a large font at a fine printer resolution overflows an int
    // before the division brings it back.
    const long long scaled = static_cast<long long>(printerDpi) * height / screenDpi;
    return static_cast<int>(std::clamp<long long>(scaled, INT_MIN, INT_MAX));
}

int LineHeightOf(int charHeight, int externalLeading)
{
    return charHeight + externalLeading + 2;
}

int LinesPerPageOf(int pageHeight, int lineHeight, int headerLines)
{
    if (lineHeight <= 0) return 0;
    return pageHeight / lineHeight - headerLines - kSpareLines;
}

int PageCountOf(int lineCount, int linesPerPage)
{
    if (linesPerPage < 1 || lineCount <= 0) return 0;
    return lineCount / linesPerPage + (lineCount % linesPerPage != 0 ? 1 : 0);
}

LineRange BodyLinesOf(int page, int linesPerPage, int lineCount)
{
    if (page < 1 || linesPerPage < 1) return {};
    const long long first = static_cast<long long>(page - 1) * linesPerPage;
    if (first >= lineCount) return {lineCount, lineCount};
    const long long end = std::min<long long>(first + linesPerPage, lineCount);
    return {static_cast<int>(first), static_cast<int>(end)};
}

std::string PageLabel(int page)
{
    char text[32];
    std::snprintf(text, sizeof text, "Page %d", page);
    return text;
}

std::string StampLabel(const PrintDate& date, const PrintTime& time)
{
    char text[96];
    std::snprintf(text, sizeof text, "%d/%d/%d - %2d:%02d:%02d", date.month, date.day, date.year,
                  time.hour, time.minute, time.second);
    return text;
}

int RightAlignedX(int pageWidth, int length, int charWidth)
{
    return pageWidth - length * charWidth - 1;
}

std::vector<int> PrintSequence(std::vector<int> pages, int copies, bool collate, bool reverse)
{
    if (reverse) std::reverse(pages.begin(), pages.end());
    copies = std::max(copies, 1);
    std::vector<int> sequence;
    sequence.reserve(pages.size() * static_cast<std::size_t>(copies));
    for (int run = 0; run < (collate ? copies : 1); ++run)
        for (const int page : pages)
            sequence.insert(sequence.end(), collate ? 1 : static_cast<std::size_t>(copies), page);
    return sequence;
}

} // namespace printing

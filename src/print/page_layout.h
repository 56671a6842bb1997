#pragma once
// The arithmetic of a printed page, apart from any printer: the font height
// at the printer's resolution, how many body lines a page holds, how many
// pages a document needs, which lines go on which page and the texts of the
// page header. A page is one empty line, the header lines, the body lines and
// two empty lines at the bottom.

#include <string>
#include <vector>

namespace printing {

// The bottom two lines and the top line stay empty on every page.
inline constexpr int kSpareLines = 3;
// Height of each of the two rules under the header, in device units.
inline constexpr int kRuleWidth = 3;

struct PrintDate {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
};

struct PrintTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// A font height measured at screenDpi, expressed at printerDpi: integer
// arithmetic with the multiplication first, the sign kept (a negative height
// is a character height, a positive one a cell height). A resolution of 0 or
// below leaves the height as it is.
int ScaleFontHeight(int height, int screenDpi, int printerDpi);

// Character height + external leading + 2.
int LineHeightOf(int charHeight, int externalLeading);

// Body lines that fit below the header: page height / line height, less
// the header and the spare lines. Below 1 when not even one fits; 0 for a
// line height of 0 or below.
int LinesPerPageOf(int pageHeight, int lineHeight, int headerLines);

// Pages for lineCount lines; 0 when nothing fits (linesPerPage below 1) or
// there are no lines.
int PageCountOf(int lineCount, int linesPerPage);

// The document lines [first, end) that page `page` (1-based) shows.
struct LineRange {
    int first = 0;
    int end = 0;
    bool operator==(const LineRange&) const = default;
};
LineRange BodyLinesOf(int page, int linesPerPage, int lineCount);

// "Page %d".
std::string PageLabel(int page);
// "%d/%d/%d - %2d:%02d:%02d": month, day, year, hour, minute, second.
std::string StampLabel(const PrintDate& date, const PrintTime& time);

// Where a text of `length` characters starts so that it ends one unit
// before the right edge.
int RightAlignedX(int pageWidth, int length, int charWidth);

// The order a job prints `pages` in: last first when `reverse`, each page
// `copies` times in a row, or the whole run `copies` times when `collate`.
std::vector<int> PrintSequence(std::vector<int> pages, int copies, bool collate, bool reverse);

} // namespace printing

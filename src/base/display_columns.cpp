#include "base/display_columns.h"

#include <algorithm>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace text {

ColumnWalk::ColumnWalk(std::string_view text, int tabSize) noexcept : ColumnWalk(text, tabSize, 0, 0) {}

ColumnWalk::ColumnWalk(std::string_view text, int tabSize, std::size_t index, long column) noexcept
    : text_(text), tab_size_(tabSize < 1 ? 1 : tabSize), index_(index), column_(column)
{
    Read();
}

void ColumnWalk::Read() noexcept
{
    if (Done()) {
        current_ = {};
        cells_ = 0;
        return;
    }
    current_ = CharAt(text_, index_);
    cells_ = current_.code == '\t' ? static_cast<int>(tab_size_ - column_ % tab_size_) : CellWidth(current_);
}

void ColumnWalk::Next() noexcept
{
    if (Done()) return;
    index_ += static_cast<std::size_t>(current_.length);
    column_ += cells_;
    Read();
}

std::size_t PlainAsciiRun(const char* p, std::size_t n) noexcept
{
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i tabs = _mm_set1_epi8('\t');
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const int stop = _mm_movemask_epi8(v) | _mm_movemask_epi8(_mm_cmpeq_epi8(v, tabs));
        if (stop != 0) return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(stop)));
    }
#endif
    for (; i < n; ++i) {
        const auto u = static_cast<unsigned char>(p[i]);
        if (u >= 0x80 || u == '\t') return i;
    }
    return n;
}

namespace {

// Steps over the tab or the character at i (where a plain run stopped),
// adding its cells to width.
void StepOver(std::string_view text, std::size_t& i, long& width, int tabSize) noexcept
{
    if (text[i] == '\t') {
        width += tabSize - width % tabSize;
        ++i;
        return;
    }
    const Character c = CharAt(text, i);
    width += CellWidth(c);
    i += static_cast<std::size_t>(c.length);
}

} // namespace

int DisplayWidth(std::string_view text, int tabSize) noexcept
{
    return static_cast<int>(ColumnAfter(text, tabSize, 0));
}

long ColumnAfter(std::string_view text, int tabSize, long column) noexcept
{
    if (tabSize < 1) tabSize = 1;
    const char* const p = text.data();
    const std::size_t n = text.size();
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    const unsigned char* plane = nullptr;
    long width = column;
    std::size_t i = 0;
    while (i < n) {
        const unsigned char byte = u[i];
        // Two- and three-byte characters of the first plane (the letters of
        // most scripts) are read here directly; everything else, invalid
        // bytes included, through CharAt.
        if (byte >= 0xC2 && byte <= 0xDF && i + 1 < n && IsContinuationByte(u[i + 1])) {
            const unsigned code = ((byte & 0x1Fu) << 6) | (u[i + 1] & 0x3Fu);
            if (code >= 0x300 && !plane) plane = detail::PlaneCells();
            width += code < 0x300 ? 1 : plane[code];
            i += 2;
            continue;
        }
        if (byte >= 0xE1 && byte <= 0xEF && byte != 0xED && i + 2 < n && IsContinuationByte(u[i + 1]) &&
            IsContinuationByte(u[i + 2])) {
            if (!plane) plane = detail::PlaneCells();
            width += plane[((byte & 0x0Fu) << 12) | ((u[i + 1] & 0x3Fu) << 6) | (u[i + 2] & 0x3Fu)];
            i += 3;
            continue;
        }
        if (byte >= 0x80 || byte == '\t') {
            StepOver(text, i, width, tabSize);
            continue;
        }
        if (i + 1 < n && u[i + 1] >= 0x80) {
            // One space or mark between words of another script.
            ++width;
            ++i;
            continue;
        }
        const std::size_t run = PlainAsciiRun(p + i, n - i);
        width += static_cast<long>(run);
        i += run;
    }
    return width;
}

namespace {

// Past the zero-width characters from `index` on.
std::size_t SkipZeroWidth(std::string_view text, std::size_t index) noexcept
{
    while (index < text.size() && static_cast<unsigned char>(text[index]) >= 0x80) {
        const Character c = CharAt(text, index);
        if (CellWidth(c) != 0) break;
        index += static_cast<std::size_t>(c.length);
    }
    return index;
}

} // namespace

std::size_t ColumnToIndex(std::string_view text, int tabSize, long column) noexcept
{
    if (column <= 0) return 0;
    return ColumnToIndex(text, tabSize, column, 0, 0);
}

std::size_t ColumnToIndex(std::string_view text, int tabSize, long column, std::size_t index,
                          long indexColumn) noexcept
{
    if (tabSize < 1) tabSize = 1;
    const std::size_t n = text.size();
    long width = indexColumn;
    std::size_t i = std::min(index, n);
    while (i < n && width < column) {
        const std::size_t run =
            std::min(PlainAsciiRun(text.data() + i, n - i), static_cast<std::size_t>(column - width));
        width += static_cast<long>(run);
        i += run;
        if (i >= n || width >= column) break;
        StepOver(text, i, width, tabSize);
    }
    return SkipZeroWidth(text, i);
}

std::size_t NextCharIndex(std::string_view text, long index) noexcept
{
    if (index < 0) return 0;
    const auto i = static_cast<std::size_t>(index);
    if (i >= text.size()) return text.size();
    return SkipZeroWidth(text, i + static_cast<std::size_t>(CharAt(text, i).length));
}

std::size_t PrevCharIndex(std::string_view text, long index) noexcept
{
    if (index <= 0) return 0;
    auto i = static_cast<std::size_t>(index);
    if (i > text.size()) return text.size();
    i = PrevCharStart(text, i);
    // Back over combining marks to the character they belong to.
    while (i > 0 && static_cast<unsigned char>(text[i]) >= 0x80 && CellWidth(CharAt(text, i)) == 0)
        i = PrevCharStart(text, i);
    return i;
}

std::string ExpandTabs(std::string_view text, int tabSize, std::size_t columns, std::size_t bytes)
{
    std::string out;
    out.reserve(std::min({columns, bytes, text.size() + 16}));
    for (ColumnWalk walk(text, tabSize); !walk.Done(); walk.Next()) {
        const auto end = static_cast<std::size_t>(walk.Column() + walk.Cells());
        if (end > columns) {
            // A tab is cut at the limit; a wide character is left out whole.
            if (walk.Current().code == '\t')
                out.append(std::min(columns - static_cast<std::size_t>(walk.Column()), bytes - out.size()), ' ');
            break;
        }
        if (walk.Current().code == '\t') {
            const std::size_t spaces = static_cast<std::size_t>(walk.Cells());
            if (out.size() + spaces > bytes) {
                out.append(bytes - out.size(), ' ');
                break;
            }
            out.append(spaces, ' ');
        } else {
            const auto length = static_cast<std::size_t>(walk.Current().length);
            if (out.size() + length > bytes) break;
            out.append(text.substr(walk.Index(), length));
        }
    }
    return out;
}

void WordBounds(std::string_view text, int tabSize, int column, int& start, int& end)
{
    start = end = -1;
    // One flag per display cell: a wide letter gives two word cells, a
    // combining mark none (it goes with the cell before it).
    std::vector<char> cells;
    for (ColumnWalk walk(text, tabSize); !walk.Done(); walk.Next()) {
        const bool word = walk.Current().code != '\t' && IsWordCharacter(walk.Current());
        cells.insert(cells.end(), static_cast<std::size_t>(walk.Cells()), word ? 1 : 0);
    }
    const int n = static_cast<int>(cells.size());
    if (column < 0) column = 0;
    const auto word = [&](int i) { return cells[static_cast<std::size_t>(i)] != 0; };

    int s = -1;
    if (column < n && word(column)) {
        int p = column;
        while (p > 0 && word(p)) --p;
        s = word(p) ? p : p + 1;
    } else {
        int p = std::min(column, n - 1);
        while (p >= 0 && !word(p)) --p;
        if (p >= 0) {
            while (p >= 0 && word(p)) --p;
            s = p + 1;
        } else {
            int q = column;
            while (q < n && !word(q)) ++q;
            if (q >= n) return;
            s = q;
        }
    }
    int q = s;
    while (q < n && word(q)) ++q;
    start = s;
    end = q;
}

} // namespace text

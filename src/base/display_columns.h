#pragma once
// Display columns of a line of text, as a terminal lays it out: each
// character takes its cells (base/characters.h) and a tab advances to the
// next multiple of the tab width. The caret and every column the program
// shows stand between characters, never inside one; a combining mark goes
// with the character before it.

#include <cstddef>
#include <string>
#include <string_view>

#include "base/characters.h"

namespace text {

// Steps through a line's characters with the column each one starts at
// and the cells it takes (a tab's cells reach the next tab stop).
class ColumnWalk {
public:
    ColumnWalk(std::string_view text, int tabSize) noexcept;
    // From a character boundary `index` known to start at `column`.
    ColumnWalk(std::string_view text, int tabSize, std::size_t index, long column) noexcept;
    bool Done() const noexcept { return index_ >= text_.size(); }
    std::size_t Index() const noexcept { return index_; }
    long Column() const noexcept { return column_; }
    const Character& Current() const noexcept { return current_; }
    int Cells() const noexcept { return cells_; }
    void Next() noexcept;

private:
    void Read() noexcept;

    std::string_view text_;
    int tab_size_;
    std::size_t index_ = 0;
    long column_ = 0;
    Character current_;
    int cells_ = 0;
};

// Bytes at p before the first tab or byte from 0x80 up (at most n): the
// part of a line where one byte is one cell.
std::size_t PlainAsciiRun(const char* p, std::size_t n) noexcept;

// The display width of a whole line.
int DisplayWidth(std::string_view text, int tabSize) noexcept;
// The column a text ends at when it starts at `column` (which its tabs
// count from).
long ColumnAfter(std::string_view text, int tabSize, long column) noexcept;

// Bytes to pass from the start of the line until the running width reaches
// or passes `column`, together with any zero-width characters that follow;
// a tab or wide character whose cells hold the column counts as passed.
// At most the line's length; column 0 gives 0.
std::size_t ColumnToIndex(std::string_view text, int tabSize, long column) noexcept;
// The same, from a character start `index` known to stand at column
// `indexColumn` (< column), so that a long line is not walked from its start.
std::size_t ColumnToIndex(std::string_view text, int tabSize, long column, std::size_t index,
                          long indexColumn) noexcept;

// The byte index of the character after (before) the one at `index`, a
// combining mark going with the character before it; clamped to
// 0 .. text.size().
std::size_t NextCharIndex(std::string_view text, long index) noexcept;
std::size_t PrevCharIndex(std::string_view text, long index) noexcept;

// The line with tabs expanded to spaces, cut at `columns` display columns
// and at `bytes` bytes, never inside a character.
std::string ExpandTabs(std::string_view text, int tabSize, std::size_t columns,
                       std::size_t bytes = std::string::npos);

// The word at or near `column` as display columns [start, end), or both
// -1 when the line holds no word: the word under the column, else the
// nearest one before it, else the first one after it.
void WordBounds(std::string_view text, int tabSize, int column, int& start, int& end);

} // namespace text

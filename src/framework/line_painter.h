#pragma once
// What one line shows in a window: the characters in the display columns
// [first, first + count), each placed in its cells (base/display_columns.h):
// a wide character takes two, a combining mark is drawn with the character
// before it, a tab expands to blank cells up to the next tab stop, and an
// invalid byte shows its ISO 8859-1 glyph. Control codes (NUL and the
// others) keep their one blank cell. Only the columns asked for are built,
// however long the line.

#include <QString>

#include <string_view>
#include <vector>

class LineCells {
public:
    // One character to draw: the cells it starts at and takes, and its text
    // (one or more UTF-16 units of Text()). Blank cells have none.
    struct Glyph {
        int cell;
        int width;
        int start;
        int length;
    };

    // The number of cells, blank ones included.
    int size() const { return cells_; }
    bool isEmpty() const { return cells_ == 0; }
    // The cells [from, from + count), renumbered from 0; a wide character
    // cut by either edge is left blank.
    LineCells mid(int from, int count) const;

    const QString& Text() const { return text_; }
    const std::vector<Glyph>& Glyphs() const { return glyphs_; }
    QString GlyphText(const Glyph& glyph) const { return text_.mid(glyph.start, glyph.length); }
    // The cells as one string: blank cells as spaces, a wide character once.
    QString ToString() const;

    // Each code point of `cells` in a cell of its own (spaces blank).
    static LineCells OneCellEach(const QString& cells);

private:
    friend LineCells VisibleCells(std::string_view, int, int, int, std::size_t, long);
    void Add(int cell, int width, const QString& text);

    QString text_;
    std::vector<Glyph> glyphs_;
    int cells_ = 0;
};

// `from` and `fromColumn` may name a character start at or before column
// `first` and its column, where the walk over the line begins.
LineCells VisibleCells(std::string_view text, int tabSize, int first, int count, std::size_t from = 0,
                       long fromColumn = 0);

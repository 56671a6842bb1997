#pragma once
// Known (byte, column) places of the long lines that are not plain ASCII,
// so that turning a column into a byte index and back near the end of a
// line of many megabytes walks a few kilobytes, not the line. Marks stand
// every few kilobytes at bytes that start a character whatever comes
// before them (any byte but a UTF-8 continuation byte), so a mark depends
// only on the bytes before it and on the tab width. An edit keeps the marks
// before it and moves those after it: by the bytes it added or removed,
// and by the columns it added or removed up to the next tab (past a tab the
// columns move by a multiple of the tab width, measured at that tab).
//
// A few lines are kept, the most recently used; a line is known by where
// its bytes lie, so every change to the document but an edit inside one
// line forgets them all.

#include <cstddef>
#include <string_view>
#include <vector>

class ColumnMarks {
public:
    // Lines shorter than this are walked from their start: it costs less
    // than keeping marks.
    static constexpr std::size_t kLongLine = 64 * 1024;
    static constexpr std::size_t kStride = 4096;

    struct Mark {
        std::size_t byte = 0;
        long column = 0;
        bool tab_before = false;  // a tab lies between the previous mark and this one
    };

    // A character start of `text` and its column: the last mark whose
    // column is below `column` (at or below, with `orAt`).
    Mark BeforeColumn(std::string_view text, int tabSize, long column, bool orAt = false);
    // The last mark at or before byte `index`.
    Mark BeforeByte(std::string_view text, int tabSize, std::size_t index);

    // The line whose bytes were at `oldData` had `erase` bytes at `at`
    // replaced by `inserted` bytes; its bytes are now `text`.
    void Edited(const char* oldData, std::string_view text, int tabSize, std::size_t at, std::size_t erase,
                std::size_t inserted) noexcept;
    // The line whose bytes were at `data` is gone or changed otherwise.
    void Forget(const char* data) noexcept;
    void Clear() noexcept { lines_.clear(); }

private:
    struct Line {
        const char* data = nullptr;
        int tab_size = 0;
        std::vector<Mark> marks;  // the first at byte 0
        unsigned long used = 0;
    };
    static constexpr std::size_t kLines = 8;

    // The marks of `text`, made when it has none, reaching at least `byte`
    // or `column` (or the end of the line).
    Line* Marks(std::string_view text, int tabSize);
    void Extend(Line& line, std::string_view text, std::size_t byte, long column);

    std::vector<Line> lines_;
    unsigned long clock_ = 0;
};

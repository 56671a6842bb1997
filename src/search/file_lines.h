#pragma once
// The lines of a file read by where they start, as the hits of a run give
// them: the command-line tool prints a hit's text and its context from
// here, and the Grep window reads the rows in view. Reads go through a
// window of the file kept from the last read, so the hits of one file cost
// a read or two.

#include "search/file_reading.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class FileLines {
public:
    explicit FileLines(const std::string& path);
    ~FileLines();
    FileLines(const FileLines&) = delete;
    FileLines& operator=(const FileLines&) = delete;

    bool is_open() const { return file_.is_open(); }
    // As the file system gave it when the file was opened.
    std::uint64_t size() const { return file_.size; }

    struct Line {
        // The line's bytes with its line feed (none on a last line without
        // one), at most the limit asked for: valid until the next read.
        std::string_view bytes;
        bool cut = false;  // the line goes on beyond the limit
    };
    // The line that starts at `offset`; none at or beyond the file's end.
    std::optional<Line> LineAt(std::uint64_t offset, std::size_t limit = SIZE_MAX);
    // Where the line before the one that starts at `offset` starts (0 at
    // the file's start).
    std::uint64_t PreviousLineStart(std::uint64_t offset);

private:
    // Makes the window hold [offset, offset + length) as far as the file
    // has it; returns the bytes held from `offset` on.
    std::string_view Window(std::uint64_t offset, std::size_t length);

    file_reading::File file_;
    std::vector<char> window_;
    std::uint64_t window_start_ = 0;
    std::size_t window_used_ = 0;
};

// The line without its line end (a line feed, and a carriage return right
// before it).
std::string_view WithoutLineEnd(std::string_view line);

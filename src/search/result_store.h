#pragma once
// The lines of a results list ("path<TAB>number"), kept compactly: the path
// text once for each run of consecutive lines that share it, and four bytes
// a line for the number. A run of grep lists millions of lines of a few
// thousand files, so a line costs little more than its number.
//
// Runs append records (path and number). A line appended as text (one from
// outside) whose number part is not a plain decimal number (no TAB, leading
// zeros, letters) is kept whole, so that every line reads back exactly as
// it was appended.

#include "search/result_line.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class ResultStore {
public:
    void Clear();
    // A record: its path may hold any byte, TABs too.
    void Append(std::string_view path, std::uint64_t number);
    // A grep hit's record with where its line starts in the file: eight
    // bytes more a line, held from the first such record on.
    void Append(std::string_view path, std::uint64_t number, std::uint64_t line_offset);
    // A line of text, taken apart at its last TAB.
    void Append(std::string_view line);

    std::size_t size() const { return size_; }
    // The line as it was appended.
    std::string Line(std::size_t row) const;
    // The text before its last TAB (the whole line without one) and the
    // text after it: the two columns of the list.
    std::string_view Path(std::size_t row) const;
    std::string NumberText(std::size_t row) const;
    // The path and number of the row; a line kept whole reads as
    // ParseResultLine reads it.
    ResultLine Record(std::size_t row) const;
    // Where the row's line starts in its file (0 when none was appended).
    std::uint64_t LineOffset(std::size_t row) const;
    bool HasLineOffsets() const { return !offsets_.empty(); }
    // The first row of the run of rows that share the row's path.
    std::size_t FirstRowOfPath(std::size_t row) const { return RunOf(row).first_row; }
    // Whether the last row appended is a record of `path`.
    bool LastPathIs(std::string_view path) const
    {
        return !runs_.empty() && !runs_.back().whole_line && TextOf(runs_.back()) == path;
    }
    // The row after the last of that run.
    std::size_t PathRowsEnd(std::size_t row) const;

    // Bytes held, for the benchmarks.
    std::size_t BytesHeld() const;

private:
    // Consecutive lines with the same path text.
    struct Run {
        std::size_t first_row;
        std::uint32_t block;
        std::uint32_t offset;
        std::uint32_t length;
        bool whole_line;  // one line kept as it stands
    };
    struct TextBlock {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
        std::size_t used = 0;
    };

    const Run& RunOf(std::size_t row) const;
    std::string_view TextOf(const Run& run) const;
    void StartRun(std::string_view text, bool whole_line);
    void PushNumber(std::uint64_t number);
    std::uint64_t NumberOf(std::size_t row) const;

    std::vector<TextBlock> texts_;  // blocks never move once written
    std::vector<Run> runs_;
    // Numbers in chunks of fixed size, so growing copies nothing.
    std::vector<std::unique_ptr<std::uint32_t[]>> numbers_;
    // Line offsets, chunked as the numbers, once a record brought one.
    std::vector<std::unique_ptr<std::uint64_t[]>> offsets_;
    // Numbers too large for four bytes, by row (rows ascending).
    std::vector<std::pair<std::size_t, std::uint64_t>> large_;
    std::size_t size_ = 0;
};

#pragma once
// A line of the Grep and Line Count lists, "path<TAB>number". Runs hand
// their results on as records; the text is made here only, for the
// command-line tools' output and the list's copies. A line that comes from
// outside (a stored or pasted one) is taken apart at its last TAB: the
// number holds none, while a file name may.

#include "search/text_matcher.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// One matching line of a grep run. The path is valid only during the call
// that hands the hit on.
struct GrepHit {
    std::string_view path;
    long line = 0;  // from 1
    // The first match within the line, and where the line starts in its
    // file.
    ByteSpan match;
    std::uint64_t line_offset = 0;
    // The line's bytes with its line feed, when the run keeps texts and
    // could (else the host reads them from the file at line_offset).
    std::optional<std::string_view> text;
};

// The line count of one file of a line count run.
struct CountResult {
    std::string_view path;
    long lines = 0;
};

// Appends "path<TAB>number" to `out`.
void AppendResultLine(std::string& out, std::string_view path, std::uint64_t number);
std::string ResultLineText(std::string_view path, std::uint64_t number);

// Without a TAB there is no path; a missing or malformed number
// reads as 0.
struct ResultLine {
    bool valid = false;
    std::string path;
    long number = 0;
};
ResultLine ParseResultLine(std::string_view line);

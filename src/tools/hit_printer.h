#pragma once
// The forms of tarnwick-grep's output beyond "path<TAB>number": the line's
// text after a second TAB (--text), grep's form with context lines
// ("path:number:text" for a hit, "path-number-text" around it, "--" between
// groups), and one JSON message a line in ripgrep's --json form (begin,
// match, context, end, summary). The hits come in file order, each with
// where its line starts and mostly with its text; a text the hit lacks and
// the context lines are read from the file (those after a hit when the
// next hit or the next file comes).

#include "search/file_lines.h"
#include "search/result_line.h"
#include "search/text_matcher.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class HitPrinter {
public:
    enum class Form { kText, kContext, kJson };

    // `matcher` finds the further matches of a hit's line (JSON only).
    HitPrinter(Form form, int context_lines, const TextMatcher& matcher);
    ~HitPrinter();

    // Appends to `out` what the hit prints, and first the context owed
    // to the hit before it.
    void Hit(std::string& out, const GrepHit& hit);
    // The context and end owed to the last file, and the JSON summary
    // (`files_searched` files).
    void Finish(std::string& out, long files_searched);

private:
    struct Tally {
        std::uint64_t bytes_searched = 0;
        std::uint64_t bytes_printed = 0;
        long matched_lines = 0;
        long matches = 0;
        long searches_with_match = 0;
    };

    void OpenFile(std::string& out, std::string_view path);
    // The file's lines, opened when first needed.
    FileLines& Lines();
    void CloseFile(std::string& out);
    // Prints the lines from next_line_ on up to (not including) `stop`
    // line, at most `count` of them; returns how many it printed.
    int PrintFollowing(std::string& out, long stop, int count);
    void PrintLine(std::string& out, long number, std::uint64_t offset, std::string_view bytes,
                   const ByteSpan* first_match);
    void AppendStats(std::string& out, const Tally& tally, std::chrono::nanoseconds elapsed, long searches);

    const Form form_;
    const int context_;
    const TextMatcher& matcher_;
    const std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();

    std::string path_;
    std::string path_json_;  // its {"text":...} or {"bytes":...}
    std::unique_ptr<FileLines> lines_;
    bool file_open_ = false;
    long next_line_ = 0;  // the line after the last printed of the file; 0: none printed
    std::uint64_t next_offset_ = 0;
    int after_owed_ = 0;  // context lines still to print after the last hit
    bool printed_any_ = false;
    Tally file_, total_;
};

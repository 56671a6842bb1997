// The grep scan at every read block size: each case of the table must give
// the same lines whether a file is read 1, 2, 3, ... bytes at a time or in
// one block, so the carry-over between blocks (occurrences, the bytes
// around them for whole words and CR LF, the line count) is checked at
// every place a border can fall.

#include "recording_host.h"
#include "search/file_reading.h"
#include "search/grep_engine.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<long>;

struct Case {
    const char* name;
    std::string contents;
    std::string pattern;
    bool case_sensitive = false;
    bool whole_words = false;
    bool show_lines = true;
    Lines expected;
};

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

const std::vector<Case>& Table()
{
    static const std::vector<Case> cases = {
        {"hits on several lines", "one\ntwo needle\nthree\nNEEDLE four\n", "needle", false, false, true, {2, 4}},
        {"first hit only", "needle\nneedle\nneedle\n", "needle", false, false, false, {1}},
        {"case sensitive", "Needle\nneedle\n", "needle", true, false, true, {2}},
        {"whole word at the line's ends", "needle\nneedles\nxneedle\n(needle)", "needle", false, true, true, {1, 4}},
        {"whole word needs the byte after it", "needle_ needle", "needle", false, true, true, {1}},
        {"CR LF ends the line, lone CR does not", "ab\r\nc\rd\r\n", "b", false, false, true, {1}},
        {"pattern ending in CR before LF", "ab\r\nab\rc\n", "ab\r", false, false, true, {2}},
        {"CR at the very end belongs to the line", "x\nab\r", "b\r", false, false, true, {2}},
        {"no hit across a line feed", "a\nb\n", "a\nb", false, false, true, {}},
        {"last line without line feed", "one\nlast hit", "hit", false, false, true, {2}},
        {"empty file", "", "hit", false, false, true, {}},
        {"NUL bytes are ordinary", std::string("a\0b needle\nx\0y\n", 16), std::string("\0y", 2), false, false, true, {2}},
        {"overlapping candidates", "aaab\naab\n", "aab", false, false, true, {1, 2}},
        {"many line feeds before the hit", Repeat('\n', 40) + "hit\n", "hit", false, false, true, {41}},
        {"long line, hit at its end", Repeat('z', 300) + "tail\nnext\n", "tail", false, false, true, {1}},
        {"line after a long line", Repeat('z', 300) + "tail\nnext\n", "next", false, false, true, {2}},
        {"word test after a long run of word bytes", Repeat('w', 50) + "needle needle\n", "needle", false, true,
         true, {1}},
        {"a rejected candidate just before a hit", "needleX needle\nneedle\n", "needle", false, true, false, {1}},
    };
    return cases;
}


// The host after a scan of the file at `path` by the case's options.
RecordingHost Scanned(const Case& c, const std::string& path, std::size_t block_size, bool keep_texts = false)
{
    RecordingHost host;
    GrepEngine engine(host);
    engine.block_size = block_size;
    engine.keep_line_texts = keep_texts;
    engine.options.pattern = c.pattern;
    engine.options.case_sensitive = c.case_sensitive;
    engine.options.whole_words = c.whole_words;
    engine.options.show_lines = c.show_lines;
    engine.SearchFile(path);
    return host;
}

Lines Hits(const Case& c, const std::string& path, std::size_t block_size)
{
    Lines lines;
    for (const std::string& r : Scanned(c, path, block_size).results) lines.push_back(std::stol(r.substr(r.find('\t') + 1)));
    return lines;
}

TEST(GrepBlockSize, EveryCaseGivesTheSameLinesAtEveryBlockSize)
{
    std::vector<std::size_t> sizes;
    for (std::size_t n = 1; n <= 20; ++n) sizes.push_back(n);
    for (std::size_t n : {31u, 64u, 100u, 301u, 4096u}) sizes.push_back(n);
    sizes.push_back(file_reading::kBlockSize);
    TempTree tree;
    for (const Case& c : Table()) {
        const std::string path = tree.Write("f.txt", c.contents);
        for (const std::size_t size : sizes)
            EXPECT_EQ(Hits(c, path, size), c.expected) << c.name << ", block size " << size;
    }
}

// Each hit says where its line starts in the file and where the match lies
// in the line: the bytes there are the pattern, within the line.
TEST(GrepBlockSize, EveryHitPointsAtItsLineAndMatchAtEveryBlockSize)
{
    TempTree tree;
    for (const Case& c : Table()) {
        const std::string path = tree.Write("f.txt", c.contents);
        const auto folded = [&](std::string text) {
            if (!c.case_sensitive)
                for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            return text;
        };
        for (const std::size_t size : {1u, 2u, 3u, 5u, 7u, 64u, 4096u}) {
            const RecordingHost host = Scanned(c, path, size, true);
            const std::vector<ScanHit>& places = host.places;
            ASSERT_EQ(places.size(), c.expected.size()) << c.name;
            for (std::size_t i = 0; i < places.size(); ++i) {
                const ScanHit& hit = places[i];
                const std::string where = std::string(c.name) + ", block size " + std::to_string(size);
                ASSERT_LE(hit.line_offset, c.contents.size()) << where;
                EXPECT_TRUE(hit.line_offset == 0 || c.contents[hit.line_offset - 1] == '\n') << where;
                EXPECT_EQ(std::count(c.contents.begin(), c.contents.begin() + static_cast<long>(hit.line_offset), '\n'),
                          hit.line - 1)
                    << where;
                const std::string line = c.contents.substr(hit.line_offset, c.contents.find('\n', hit.line_offset) -
                                                                                hit.line_offset);
                ASSERT_LE(hit.match.end, line.size()) << where;
                EXPECT_EQ(folded(line.substr(hit.match.start, hit.match.end - hit.match.start)), folded(c.pattern))
                    << where;
                // A text handed with the hit is the line with its line feed.
                if (host.texts[i]) {
                    EXPECT_EQ(*host.texts[i], line + "\n") << where;
                }
                if (size >= 4096 && hit.line_offset + line.size() < c.contents.size()) {
                    EXPECT_TRUE(host.texts[i].has_value()) << where;
                }
            }
        }
    }
}

} // namespace

namespace {

// Every match of each listed line counts toward the run's total, by the
// matcher's own rules, at any block size that holds the lines whole.
TEST(GrepMatchTotal, EveryMatchOfAListedLineCounts)
{
    struct Total {
        const char* name;
        std::string contents;
        std::string pattern;
        bool whole_words;
        bool show_lines;
        long lines;
        long total;
    };
    const std::vector<Total> table = {
        {"one match a line", "needle\nx\nneedle\n", "needle", false, true, 2, 2},
        {"several on a line", "needle needle\nneedleneedle needle\n", "needle", false, true, 2, 5},
        {"occurrences do not overlap", "aaaa\n", "aa", false, true, 1, 2},
        {"whole words leave out the joined ones", "needle needles needle\n", "needle", true, true, 1, 2},
        {"a CR before LF is not part of the line", "ab\r ab\r\n", "ab\r", false, true, 1, 1},
        {"first hit only: the matches of that line", "a a a\na\n", "a", false, false, 1, 3},
    };
    TempTree tree;
    for (const Total& t : table) {
        const std::string path = tree.Write("f.txt", t.contents);
        for (const std::size_t size : {64u, 4096u}) {
            RecordingHost host;
            GrepEngine engine(host);
            engine.block_size = size;
            engine.options.pattern = t.pattern;
            engine.options.whole_words = t.whole_words;
            engine.options.show_lines = t.show_lines;
            engine.SearchFile(path);
            EXPECT_EQ(engine.matches, t.lines) << t.name;
            EXPECT_EQ(engine.match_total, t.total) << t.name << ", block size " << size;
        }
    }
}

TEST(GrepMatchTotal, TheSummaryTellsTheTotalOnlyWhereAskedAndItDiffers)
{
    TempTree tree;
    const auto summary = [&](const std::string& contents, bool tell) {
        RecordingHost host;
        GrepEngine engine(host);
        engine.summary_tells_match_total = tell;
        engine.options.path = tree.Write("f.txt", contents);
        engine.options.pattern = "needle";
        engine.RunSearch();
        return host.last_status();
    };
    const std::string plain = summary("needle needle\n", false);
    EXPECT_EQ(plain.find("in all"), std::string::npos) << plain;
    EXPECT_EQ(summary("needle needle\n", true), plain + "  2 matches in all.");
    EXPECT_EQ(summary("needle\n", true), summary("needle\n", false));
}

} // namespace

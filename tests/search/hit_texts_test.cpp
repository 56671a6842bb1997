// The text column of a grep run's results, read back from the files: the
// shown form of a line, the rows in view read from their files, the filter
// over paths and texts, and the "path:number:text" copies.

#include "search/grep_engine.h"
#include "search/hit_texts.h"
#include "search/result_copy.h"
#include "search/result_filter.h"
#include "search/result_store.h"
#include "search/shown_line.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// Keeps a run's hits as the Grep window's list does.
class ListingHost : public GrepHost {
public:
    ResultStore store;
    HitTexts texts;

    void ClearResults() override
    {
        store.Clear();
        texts.Clear();
    }
    void AppendHit(const GrepHit& hit) override
    {
        const std::size_t row = store.size();
        if (!store.LastPathIs(hit.path)) texts.NoteFile(row, std::string(hit.path));
        store.Append(hit.path, static_cast<std::uint64_t>(hit.line), hit.line_offset);
    }
    void AppendCount(const CountResult&) override {}
    void SetStatusText(std::string_view) override {}
    void PumpWaitingEvents() override {}
    bool ReplaceInFile(const std::string&, bool, GrepEngine::Options_t) override { return false; }

    const HitTexts::Text& Row(std::size_t row)
    {
        return texts.Row(row, store.FirstRowOfPath(row), std::string(store.Path(row)), store.LineOffset(row));
    }
    std::string Copy(const std::vector<std::size_t>& rows)
    {
        std::string out;
        AppendCopyLines(store, texts, rows, out);
        return out;
    }
};

class HitTextsTest : public testing::Test {
protected:
    void Run(const std::string& pattern)
    {
        GrepEngine engine(host);
        engine.options.pattern = pattern;
        engine.options.path = root + "/*.*";
        engine.options.show_lines = true;
        host.texts.SetMatcher(std::make_unique<TextMatcher>(pattern, false, false));
        engine.RunSearch();
    }

    TempTree tree;
    std::string root = std::filesystem::canonical(tree.root()).string();
    ListingHost host;
};

TEST(ShownLine, ShowsWhatATextWindowShowsWithTheMatchesMarked)
{
    struct Case {
        const char* name;
        std::string line;
        std::vector<ByteSpan> matches;
        std::u32string text;
        std::vector<std::pair<std::size_t, std::size_t>> marks;
    };
    const std::vector<Case> cases = {
        {"tabs reach the next stop", "a\tbc\td", {{2, 4}}, U"a   bc  d", {{4, 6}}},
        {"control codes are blanks", std::string("x\0\x1b" "y", 4), {{3, 4}}, U"x  y", {{3, 4}}},
        {"UTF-8 is its characters", "caf\xc3\xa9 hit", {{6, 9}}, U"caf\u00e9 hit", {{5, 8}}},
        {"a byte that is no UTF-8 is its Latin-1 glyph", "caf\xe9 hit", {{5, 8}}, U"caf\u00e9 hit", {{5, 8}}},
        {"a match over a tab and a wide character", "\t\xe4\xb8\x80z", {{0, 4}}, U"    \u4e00z", {{0, 5}}},
        {"two matches side by side stay two", "abab", {{0, 2}, {2, 4}}, U"abab", {{0, 4}}},
    };
    for (const Case& c : cases) {
        const ShownLine shown = ShowLine(c.line, 4, c.matches);
        EXPECT_EQ(shown.text, c.text) << c.name;
        EXPECT_EQ(shown.marks, c.marks) << c.name;
    }
}

TEST_F(HitTextsTest, RowsReadTheirLinesAndTellAChangedFile)
{
    const std::string long_line = std::string(HitTexts::kMostBytes + 100, 'z') + " hit";
    tree.Write("a.txt", "one hit\r\ntwo hit hit\n");
    tree.Write("b.txt", long_line + "\nhit\n");
    tree.Write("c.txt", std::string("nul\0hit\n", 8));
    Run("hit");
    ASSERT_EQ(host.store.size(), 5u);
    EXPECT_EQ(host.Row(0).bytes, "one hit");
    EXPECT_EQ(host.Row(1).bytes, "two hit hit");
    EXPECT_EQ(host.Row(1).matches, 2u);
    EXPECT_EQ(host.Row(2).bytes, long_line.substr(0, HitTexts::kMostBytes));
    EXPECT_TRUE(host.Row(2).cut);
    EXPECT_EQ(host.Row(3).bytes, "hit");
    EXPECT_EQ(host.Row(4).bytes, std::string("nul\0hit", 7));

    // A line changed after the run: its file's rows say so, whether they
    // were read before or not; other files' rows are as they were.
    tree.Write("a.txt", "changed\n");
    EXPECT_TRUE(host.Row(0).changed);
    EXPECT_TRUE(host.Row(1).changed);
    EXPECT_EQ(host.Row(1).bytes, "");
    EXPECT_FALSE(host.Row(3).changed);
    EXPECT_EQ(host.Copy({0, 3}), root + "/a.txt:1:\n" + root + "/b.txt:2:hit\n");
}

TEST_F(HitTextsTest, CopiesArePathNumberAndTheWholeLine)
{
    const std::string long_line = std::string(70000, 'q') + "hit";
    tree.Write("a.txt", "\tTab hit\r\nnone\nlast hit");
    tree.Write("b.txt", long_line + "\n");
    Run("hit");
    EXPECT_EQ(host.Copy({0, 1, 2}),
              root + "/a.txt:1:\tTab hit\n" + root + "/a.txt:3:last hit\n" + root + "/b.txt:1:" + long_line + "\n");
    // Rows without a line in a file: a count, and a line from outside.
    ResultStore counts;
    counts.Append("/x", 12);
    counts.Append("no tab");
    std::string out;
    AppendCopyLines(counts, host.texts, {0, 1}, out);
    EXPECT_EQ(out, "/x:12\nno tab\n");
}

TEST_F(HitTextsTest, TheFilterKeepsRowsWhosePathOrTextHoldsIt)
{
    tree.Write("alpha.txt", "hit one\nhit Two\n");
    tree.Write("beta.txt", "hit three\nhit two more\n");
    Run("hit");
    ASSERT_EQ(host.store.size(), 4u);
    ResultFilter filter;
    using Rows = std::vector<std::uint32_t>;
    EXPECT_EQ(filter.Rows(host.store, "two"), (Rows{1, 3}));      // text, letters of either case
    EXPECT_EQ(filter.Rows(host.store, "ALPHA"), (Rows{0, 1}));    // path
    EXPECT_EQ(filter.Rows(host.store, "t"), (Rows{0, 1, 2, 3}));  // both, each row once
    EXPECT_EQ(filter.Rows(host.store, "three"), (Rows{2}));
    EXPECT_EQ(filter.Rows(host.store, "zzz"), (Rows{}));
    EXPECT_EQ(filter.Rows(host.store, "hit", 3), (Rows{3}));  // rows appended since
    EXPECT_EQ(filter.Rows(host.store, ""), (Rows{0, 1, 2, 3}));
}

} // namespace

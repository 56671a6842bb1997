#include "recording_host.h"
#include "search/file_reading.h"
#include "search/line_counter.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace {

long LinesOf(const std::string& contents)
{
    TempTree tree;
    RecordingHost host;
    LineCounter counter(host);
    const std::string path = tree.Write("f.txt", contents);
    counter.CountFile(path);
    EXPECT_EQ(host.results.size(), 1u);
    if (host.results.empty()) return -1;
    EXPECT_EQ(host.results[0].substr(0, host.results[0].find('\t')), path);
    return std::stol(host.results[0].substr(host.results[0].find('\t') + 1));
}

} // namespace

TEST(LineCounter, CountsLineFeedsAndALastLineWithoutOne)
{
    EXPECT_EQ(LinesOf(""), 0);
    EXPECT_EQ(LinesOf("\n"), 1);
    EXPECT_EQ(LinesOf("one"), 1);
    EXPECT_EQ(LinesOf("one\ntwo"), 2);
    EXPECT_EQ(LinesOf("one\r\ntwo\r\n"), 2);
    EXPECT_EQ(LinesOf("a\rb\rc\n"), 1);  // a lone CR ends no line
    EXPECT_EQ(LinesOf(std::string("a\0\x1a\nb\n", 6)), 2);
    // Long lines count once, and counts stay right across block borders.
    EXPECT_EQ(LinesOf(std::string(file_reading::kBlockSize * 3, 'x')), 1);
    std::string many;
    for (int i = 0; i < 200000; ++i) many += "line\n";
    EXPECT_EQ(LinesOf(many), 200000);
    EXPECT_EQ(LinesOf(many + "x"), 200001);
}

TEST(LineCounter, TotalsGoOnAcrossRunsUnlessReset)
{
    TempTree tree;
    tree.Write("one/a.txt", "1\n2\n3\n");
    tree.Write("one/b.txt", "1\n2\n3\n4\n5\n");
    tree.Write("two/c.txt", "1\n2\n");
    RecordingHost host;
    LineCounter counter(host);
    counter.options.path = tree.root() + "/one/*.txt";
    EXPECT_TRUE(counter.RunCount(true));
    EXPECT_EQ(host.results.size(), 2u);
    EXPECT_EQ(host.last_status(), "Processed 2 files.  Total line count is 8 lines.");

    counter.options.path = tree.root() + "/two/*.txt";
    counter.RunCount(false);
    EXPECT_EQ(host.clears, 1);
    ASSERT_EQ(host.results.size(), 3u);
    EXPECT_EQ(host.results[2], Canonical(tree.root()) + "/two/c.txt\t2");
    EXPECT_EQ(host.last_status(), "Processed 3 files.  Total line count is 10 lines.");

    counter.RunCount(true);
    EXPECT_EQ(host.results.size(), 1u);
    EXPECT_EQ(counter.files, 1);
    EXPECT_EQ(counter.lines, 2);
}

TEST(LineCounter, UnopenableFilesCountWithoutAnEntry)
{
    TempTree tree;
    RecordingHost host;
    LineCounter counter(host);
    counter.CountFile(tree.Path("vanished.txt"));
    EXPECT_TRUE(host.results.empty());
    counter.options.path = tree.root() + "/no/*.*";
    EXPECT_FALSE(counter.RunCount(true));
    EXPECT_EQ(host.last_status(), "Invalid path: " + tree.root() + "/no.");
}

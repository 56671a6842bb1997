// The compact store behind the results list: every line reads back exactly
// as appended, whatever its form, and a line of a file already listed costs
// only its number.

#include "search/result_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ResultStore, EveryLineReadsBackAsAppended)
{
    const std::vector<std::string> lines = {
        "/a/b.txt\t1",        "/a/b.txt\t2",         "/a/b.txt\t2",  // the same line twice
        "/a/c.txt\t1",        "/a/b.txt\t7",                        // a path seen before, not just before
        "/t\tab/x.txt\t12",   "no tab here",         "/n\t",         // TAB in a name, no number, empty number
        "/n\t007",            "/n\t0",               "/n\t-3",       // leading zeros, zero, a sign
        "/n\t12x",            "\t5",                 "/big\t4294967294",
        "/big\t4294967295",   "/big\t99999999999",   "/big\t123456789012345678901234",
    };
    ResultStore store;
    for (const std::string& line : lines) store.Append(line);
    ASSERT_EQ(store.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(store.Line(i), lines[i]) << i;
        // The columns split the line at its last TAB.
        const auto tab = lines[i].rfind('\t');
        EXPECT_EQ(store.Path(i), lines[i].substr(0, tab)) << i;
        EXPECT_EQ(store.NumberText(i), tab == std::string::npos ? "" : lines[i].substr(tab + 1)) << i;
    }
    store.Clear();
    EXPECT_EQ(store.size(), 0u);
    store.Append("/after\t3");
    EXPECT_EQ(store.Line(0), "/after\t3");
}

TEST(ResultStore, ALineOfAListedFileCostsFourBytes)
{
    ResultStore store;
    const std::string path = "/some/rather/long/path/to/a/file/with/many/hits.txt";
    constexpr int kFiles = 100, kLinesEach = 10000;
    for (int f = 0; f < kFiles; ++f)
        for (int n = 1; n <= kLinesEach; ++n) store.Append(path + std::to_string(f) + "\t" + std::to_string(n * 3));
    ASSERT_EQ(store.size(), std::size_t{kFiles} * kLinesEach);
    EXPECT_EQ(store.Line(0), path + "0\t3");
    EXPECT_EQ(store.Line(kLinesEach * 57 + 4321), path + "57\t" + std::to_string(4322 * 3));
    EXPECT_EQ(store.Line(store.size() - 1), path + "99\t" + std::to_string(kLinesEach * 3));
    // The text blocks of the paths come in whole MiB; beyond them, a line
    // holds its number and not much more.
    const std::size_t beyond_paths = store.BytesHeld() - (std::size_t{1} << 20);
    EXPECT_LE(beyond_paths, store.size() * 5);
}

// Paths a text line would make awkward: a record's path and number read
// back unchanged, and its line text is the one the tools print.
TEST(ResultStore, ARecordsPathAndNumberSurviveWhateverThePathHolds)
{
    const std::string long_path = "/deep" + std::string(70000, 'x') + "/f.txt";
    const struct {
        std::string path;
        std::uint64_t number;
    } records[] = {
        {"/a/tab\tin name.txt", 3},       {"/a/tab\tin name.txt", 4},  // same file: one run
        {"/ends with a number\t12", 7},                                // looks like a line of its own
        {"/trailing tab\t", 1},           {"/non-utf8/\xFF\xFE\x80.txt", 9}, {long_path, 2}, {"", 5},
        {"/big", std::uint64_t{1} << 40},
    };
    ResultStore store;
    for (const auto& r : records) store.Append(r.path, r.number);
    ASSERT_EQ(store.size(), std::size(records));
    for (std::size_t row = 0; row < store.size(); ++row) {
        const auto& r = records[row];
        const ResultLine back = store.Record(row);
        EXPECT_TRUE(back.valid) << row;
        EXPECT_EQ(back.path, r.path) << row;
        EXPECT_EQ(static_cast<std::uint64_t>(back.number), r.number) << row;
        EXPECT_EQ(store.Path(row), r.path) << row;
        EXPECT_EQ(store.Line(row), r.path + "\t" + std::to_string(r.number)) << row;
        EXPECT_EQ(store.Line(row), ResultLineText(r.path, r.number)) << row;
    }
}

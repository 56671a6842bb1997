// Splitting a line in two and joining two lines leave the longer part's
// bytes where they lie and work out the widths from what is known. Each
// case is checked against a plain model of the lines and against widths
// measured afresh, for lines of the document's own making and for lines a
// load left in its shared chunks.

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "measured_doc.h"
#include "support/temp_tree.h"

namespace {

using Lines = std::vector<std::string>;

// Three lines around `middle`: made by the document, or loaded from a
// file; or a file of `middle` alone, which a load puts in a chunk of its own.
struct Start {
    TempTree tree;
    CountedDoc doc;
    Start(const std::string& middle, bool loaded, int tabSize, bool alone = false)
        : doc(loaded ? tree.Write("f.txt", alone ? middle : "first\n" + middle + "\nlast\n") : std::string())
    {
        doc.SetTabSize(tabSize);
        if (loaded) doc.Load();
        else Fill(doc, {"first", middle, "last"});
    }
};

struct SplitRow {
    const char* name;
    std::string line;
    int index;
    std::string indent;
};

// The row's name in a test's description, rather than its raw bytes.
void PrintTo(const SplitRow& row, std::ostream* out)
{
    *out << row.name;
}

const SplitRow kSplits[] = {
    {"AtTheStart", "abcdef", 0, ""},
    {"AtTheEnd", "abcdef", 6, ""},
    {"NearTheStartTheTailStays", "ab" + std::string(40, 'x'), 2, ""},
    {"NearTheEndTheHeadStays", std::string(40, 'x') + "yz", 40, ""},
    {"WithAnIndentLongerThanTheHead", "\t\t  " + std::string(30, 'x'), 1, "\t\t  "},
    {"WithAnIndentOnTheTailThatStays", "  " + std::string(30, 'x'), 2, "  "},
    {"BetweenTwoByteCharacters", "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 4, ""},
    {"BetweenWideCharacters", "\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD", 3, ""},
    {"InsideACharacter", "\xC3\xA9\xC3\xA9\xC3\xA9", 3, ""},
    {"BeforeACombiningMark", "e\xCC\x81" "abc", 1, ""},
    {"TabsOnBothSides", "a\tbc\tdef\tg", 5, ""},
    {"TabsOnlyInTheShortTail", std::string(30, 'x') + "ab\tc", 31, ""},
    {"TabsOnlyInTheShortHead", "a\tb" + std::string(30, 'x'), 2, ""},
    {"AnEmptyLine", "", 0, ""},
    {"AnEmptyLineWithAnIndent", "", 0, "  "},
};

class SplitJoin : public ::testing::TestWithParam<std::tuple<SplitRow, bool>> {};

// Split, then take the indent out and join again: the line is back as it
// was, and every width is right after each step, at tab sizes that do and
// do not divide the head's width.
TEST_P(SplitJoin, SplitsAndJoinsBackToTheSameBytes)
{
    const auto& [row, loaded] = GetParam();
    for (const int tabSize : {1, 3, 4}) {
        SCOPED_TRACE(tabSize);
        Start start(row.line, loaded, tabSize);
        CountedDoc& doc = start.doc;
        ASSERT_TRUE(doc.SplitLine(1, row.index, row.indent));
        const std::string head = row.line.substr(0, std::size_t(row.index));
        const std::string tail = row.line.substr(std::size_t(row.index));
        ExpectTrue(doc, {"first", head, row.indent + tail, "last"});
        EXPECT_TRUE(doc.Modified());
        ASSERT_TRUE(doc.DeleteChars(2, 0, int(row.indent.size())));
        ASSERT_TRUE(doc.JoinLines(1));
        ExpectTrue(doc, {"first", row.line, "last"});
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, SplitJoin, ::testing::Combine(::testing::ValuesIn(kSplits), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "Loaded" : "Made");
                         });

// A file of one line: the line is split and joined inside the chunk the
// load put it in, the part that moves by a byte being the shorter one where
// the chunk has room; a second split of either half goes the usual way.
TEST(SplitJoinInChunk, ALineAloneInAFileSplitsAndJoinsWhereItLies)
{
    for (const std::string ending : {"", "\n", "\r\n"}) {
        for (const std::string& line : {std::string("abcdefghijklmnop"), std::string("a\tb\xC3\xA9" "c\xE4\xB8\xAD" "d\te")}) {
            SCOPED_TRACE(testing::PrintToString(line + ending));
            TempTree tree;
            const std::string path = tree.Write("one.txt", line + ending);
            CountedDoc doc(path);
            ASSERT_TRUE(doc.Load());
            const int n = int(line.size());
            Lines model{line};
            ExpectTrue(doc, model);
            for (const int at : {0, 1, 3, n / 2, n - 4, n - 1, n}) {
                SCOPED_TRACE(at);
                ASSERT_TRUE(doc.SplitLine(0, at));
                ExpectTrue(doc, {line.substr(0, std::size_t(at)), line.substr(std::size_t(at))});
                ASSERT_TRUE(doc.JoinLines(0));
                ExpectTrue(doc, model);
            }
            // Splits of the halves, then joins from the bottom up.
            ASSERT_TRUE(doc.SplitLine(0, 5));
            ASSERT_TRUE(doc.SplitLine(1, 3));
            ASSERT_TRUE(doc.SplitLine(0, 2));
            ExpectTrue(doc, {line.substr(0, 2), line.substr(2, 3), line.substr(5, 3), line.substr(8)});
            ASSERT_TRUE(doc.JoinLines(2));
            ASSERT_TRUE(doc.JoinLines(1));
            ASSERT_TRUE(doc.JoinLines(0));
            ExpectTrue(doc, model);
            ASSERT_TRUE(doc.Save());
            EXPECT_EQ(tree.Read("one.txt"), line + (doc.GetLineEnd() == LinesDoc::LineEnd::kLf ? "\n" : "\r\n"));
        }
    }
}

TEST(SplitJoinRange, OutOfRangeChangesNothing)
{
    CountedDoc doc;
    Fill(doc, {"abc", "de"});
    EXPECT_FALSE(doc.SplitLine(2, 0));
    EXPECT_FALSE(doc.SplitLine(-1, 0));
    EXPECT_FALSE(doc.SplitLine(0, 4));
    EXPECT_FALSE(doc.SplitLine(0, -1));
    EXPECT_FALSE(doc.JoinLines(1));
    EXPECT_FALSE(doc.JoinLines(-1));
    ExpectTrue(doc, {"abc", "de"});
    EXPECT_FALSE(doc.Modified());
}

// Random splits, joins and typing on either side, in any order, over text
// with tabs, characters of every length, combining marks and stray bytes;
// the line that keeps its block, the room in front of a moved header and
// the growth of a block all come round.
TEST(SplitJoinRandom, AgreesWithAModelAndAFreshMeasure)
{
    const std::string pieces[] = {"a", "bc", " ", "\t", "\xC3\xA9", "\xE4\xB8\xAD", "\xCC\x81",
                                  "\xC3", "\xA9", "\xF0\x9F\x98\x80", std::string(25, 'q')};
    const std::string indents[] = {"", "  ", "\t", " \t"};
    std::mt19937 random(15);
    const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    for (const int start_kind : {0, 1, 2}) {
        for (const int tabSize : {1, 4, 8}) {
            SCOPED_TRACE(testing::Message() << "start " << start_kind << " tab " << tabSize);
            std::string middle;
            for (int i = 0; i < 12; ++i) middle += pieces[pick(std::size(pieces))];
            // A line alone in a file is split and joined inside its chunk.
            const bool alone = start_kind == 2;
            Start start(middle, start_kind > 0, tabSize, alone);
            CountedDoc& doc = start.doc;
            Lines model = alone ? Lines{middle} : Lines{"first", middle, "last"};
            const std::size_t edge = alone ? 0 : 1;
            for (int step = 0; step < 1500; ++step) {
                const std::size_t line = edge + pick(model.size() - 2 * edge);
                std::string& text = model[line];
                // A line alone in a chunk is only split and joined, so that
                // its chunk is used again and again.
                const std::size_t op = alone ? pick(2) : pick(4);
                SCOPED_TRACE(testing::Message() << "op " << op << " on line " << line << " of bytes "
                                                << testing::PrintToString(text));
                switch (op) {
                case 0: {
                    const std::size_t at = pick(text.size() + 1);
                    const std::string& indent = alone ? indents[0] : indents[pick(std::size(indents))];
                    SCOPED_TRACE(testing::Message() << "split at " << at << " indent " << indent.size());
                    ASSERT_TRUE(doc.SplitLine(int(line), int(at), indent));
                    const std::string tail = indent + text.substr(at);
                    text.resize(at);
                    model.insert(model.begin() + std::ptrdiff_t(line) + 1, tail);
                    break;
                }
                case 1:
                    if (line + 1 + edge >= model.size()) break;
                    ASSERT_TRUE(doc.JoinLines(int(line)));
                    text += model[line + 1];
                    model.erase(model.begin() + std::ptrdiff_t(line) + 1);
                    break;
                case 2: {
                    const std::string& piece = pieces[pick(std::size(pieces))];
                    const std::size_t at = pick(text.size() + 1);
                    ASSERT_TRUE(doc.InsertChars(int(line), piece, int(at)));
                    text.insert(at, piece);
                    break;
                }
                default: {
                    const std::size_t at = pick(text.size() + 1);
                    const std::size_t count = std::min(text.size() - at, pick(4));
                    ASSERT_TRUE(doc.DeleteChars(int(line), int(at), int(count)));
                    text.erase(at, count);
                    break;
                }
                }
                SCOPED_TRACE(step);
                ExpectTrue(doc, model);
            }
        }
    }
}

} // namespace

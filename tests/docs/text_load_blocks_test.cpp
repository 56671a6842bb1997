// A load reads the file a block at a time into large chunks, a step at a
// time between a window's events: a line end, a character or a line that
// straddles two reads, two chunks or two steps must come out as the same
// bytes, and every line's width as an edit would measure it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "doc_test_util.h"
#include "docs/text_doc.h"
#include "support/temp_tree.h"

using Lines = std::vector<std::string>;

namespace {

// The loader's read block and chunk size: patterns are put right across
// them (the tests hold whatever the sizes are, but test most there).
constexpr std::size_t kBlock = std::size_t{256} << 10;
constexpr std::size_t kChunk = std::size_t{8} << 20;

// The lines a text file holds: split at LF, a CR right before the LF
// dropped, a last line without LF kept, an empty file one empty line.
Lines SplitAsLoaded(std::string_view text)
{
    Lines out;
    std::size_t start = 0;
    for (std::size_t lf = text.find('\n'); lf != std::string_view::npos; lf = text.find('\n', start)) {
        const std::size_t end = lf > start && text[lf - 1] == '\r' ? lf - 1 : lf;
        out.emplace_back(text.substr(start, end - start));
        start = lf + 1;
    }
    if (start < text.size()) out.emplace_back(text.substr(start));
    if (out.empty()) out.emplace_back();
    return out;
}

// Compares line by line and names the first difference only: the files
// here hold hundreds of thousands of lines.
void ExpectLines(const TextDoc& doc, const Lines& expected, const std::string& how)
{
    ASSERT_EQ(doc.LineCount(), static_cast<int>(expected.size())) << how;
    for (int i = 0; i < doc.LineCount(); ++i)
        ASSERT_EQ(doc.GetLine(i)->View(), expected[static_cast<std::size_t>(i)]) << how << ", line " << i;
}

// Awkward pieces of text: line ends of every kind, tabs, NUL, characters
// of two to four bytes, wide and combining ones, bytes that are no UTF-8.
const std::string_view kPieces[] = {
    "\r\n", "\n", "\r", "\t", std::string_view("\0", 1), "\xc3\xa9", "\xe2\x82\xac", "\xf0\x9f\x98\x80",
    "\xe6\xbc\xa2", "e\xcc\x81", "\xff", "\xe2\x82", "\xc3", "plain words ", "x",
};

// A deterministic mix of the pieces, about `size` bytes.
std::string AwkwardText(std::size_t size, std::uint32_t seed)
{
    std::string text;
    text.reserve(size + 16);
    std::uint32_t state = seed;
    while (text.size() < size) {
        state = state * 1664525u + 1013904223u;
        text += kPieces[(state >> 8) % std::size(kPieces)];
    }
    return text;
}

// Lines of plain filler with the given patterns written over it at the
// given offsets.
std::string FillerWith(std::size_t size, const std::vector<std::pair<std::size_t, std::string_view>>& patterns)
{
    std::string text;
    text.reserve(size);
    for (std::size_t i = 0; text.size() < size; ++i) {
        text.append(20 + i % 45, static_cast<char>('a' + i % 26));
        text += i % 3 ? "\n" : "\r\n";
    }
    text.resize(size);
    for (const auto& [at, pattern] : patterns) text.replace(at, pattern.size(), pattern);
    return text;
}

} // namespace

TEST(TextLoadBlocks, LineEndsAndCharactersAcrossReadsChunksAndStepsKeepTheirBytes)
{
    // Right across the read blocks and the first chunk's end: a CR LF cut
    // between its bytes, characters of two, three and four bytes cut after
    // each of their bytes, a NUL and a tab at the last byte of a read.
    std::vector<std::pair<std::size_t, std::string_view>> patterns;
    const std::string_view across[] = {"\r\n", "\xc3\xa9", "\xe2\x82\xac", "\xf0\x9f\x98\x80", "\xe6\xbc\xa2\r\n",
                                       std::string_view("\0\r\n", 3), "\t\r\n"};
    std::size_t boundary = 1;  // each cut at a read block end of its own
    for (const std::string_view pattern : across)
        for (std::size_t cut = 1; cut < pattern.size(); ++cut) patterns.emplace_back(boundary++ * kBlock - cut, pattern);
    for (std::size_t back = 1; back <= 4; ++back) patterns.emplace_back(kChunk - back * 97, "\xf0\x9f\x98\x80\r\n");
    patterns.emplace_back(kChunk - 2, "\r\n");
    patterns.emplace_back(kChunk - 1 - kBlock, "\xe2\x82\xac");
    // Awkward text all over a file of more than two chunks, which a load
    // reads with memory prepared ahead of it.
    for (std::size_t at = 4093; at + 16 < 2 * kChunk + kBlock; at += 65521) patterns.emplace_back(at, kPieces[at % std::size(kPieces)]);
    const std::string text = FillerWith(2 * kChunk + 3 * kBlock + 12345, patterns) + "last line without a line end\xc3";
    const Lines expected = SplitAsLoaded(text);

    TempTree tree;
    const std::string path = tree.Write("blocks.txt", text);
    TextDoc whole(path);
    ASSERT_TRUE(whole.Load());
    ExpectLines(whole, expected, "at once");
    for (const std::size_t step : {std::size_t{1}, kBlock - 1, kChunk + 1}) {
        TextDoc doc(path);
        doc.BeginLoad();
        while (doc.LoadStep(step) == TextDoc::LoadState::kMore) {
        }
        ExpectLines(doc, expected, "in steps of " + std::to_string(step));
    }
}

TEST(TextLoadBlocks, LinesLongerThanAChunkAndOddFilesComeOutWhole)
{
    TempTree tree;
    // A line longer than a chunk, with a character across the chunk's end,
    // between short lines; one as long as a read block, then a NUL line.
    std::string longLine(kChunk + kBlock, 'L');
    longLine.replace(kChunk - 10, 4, "\xf0\x9f\x98\x80");
    const std::string text = "first\r\n" + longLine + "\r\nshort\n" + std::string(kBlock, 'B') + "\n" +
                             std::string("\0\0\r\n", 4) + "end";
    TextDoc doc(tree.Write("long.txt", text));
    ASSERT_TRUE(doc.Load());
    ExpectLines(doc, SplitAsLoaded(text), "long lines");
    EXPECT_EQ(doc.MaxWidth(), static_cast<int>(kChunk + kBlock) - 2);  // 4 bytes, 2 cells
    EXPECT_EQ(doc.GetLineEnd(), LinesDoc::LineEnd::kCrLf);

    const std::string_view odd[] = {"", "\n", "\r\n", "\r", "x", "x\r", "x\r\r\n", std::string_view("\0", 1),
                                    std::string_view("a\0b\n\0", 5), "\n\n\n", "\xe2\x82", "tab\tend\n\t"};
    for (const std::string_view file : odd) {
        TextDoc small(tree.Write("odd.txt", file));
        ASSERT_TRUE(small.Load());
        ExpectLines(small, SplitAsLoaded(file), "file \"" + std::string(file) + "\"");
        EXPECT_FALSE(small.Modified());
    }
}

TEST(TextLoadBlocks, WidthsCountedByTheLoadAreThoseAnEditMeasures)
{
    // Each awkward line alone after some empty ones, so that it starts at
    // every place of the scan's blocks (and once across a read block's
    // end): the widest width the load counted is that line's own, as a
    // measure of the line gives it.
    TempTree tree;
    Lines lines = SplitAsLoaded(AwkwardText(40000, 12345));
    std::erase(lines, std::string());
    ASSERT_GT(lines.size(), 300u);
    for (std::size_t i = 0; i < 300; ++i) {
        const std::size_t empty = i < 299 ? i % 67 : kBlock - 5;
        const std::string text = std::string(empty, '\n') + lines[i] + (i % 2 ? "\r\n" : "");
        TextDoc doc(tree.Write("width.txt", text));
        ASSERT_TRUE(doc.Load());
        ASSERT_EQ(doc.LineCount(), static_cast<int>(empty) + 1);
        const TextLine* line = doc.GetLine(static_cast<int>(empty));
        ASSERT_EQ(line->View(), lines[i]);
        ASSERT_EQ(doc.MaxWidth(), doc.LineWidth(line)) << "line " << i;
        // The width counted for it is taken back when it goes.
        ASSERT_TRUE(doc.DeleteLines(static_cast<int>(empty), 1));
        ASSERT_EQ(doc.MaxWidth(), 0) << "line " << i;
    }

    // A wide line edited after the load: its new width replaces the one
    // the load counted.
    TextDoc edited(tree.Write("edit.txt", "\xe6\xbc\xa2\xe6\xbc\xa2\t\xc3\xa9\nab\n"));
    ASSERT_TRUE(edited.Load());
    EXPECT_EQ(edited.MaxWidth(), 9);
    ASSERT_TRUE(edited.DeleteChars(0, 0, 3));
    ASSERT_TRUE(edited.DeleteLines(1, 1));
    EXPECT_EQ(edited.MaxWidth(), edited.LineWidth(edited.GetLine(0)));
    EXPECT_EQ(edited.MaxWidth(), 5);  // the tab now stretches to column 4
}

TEST(TextLoadBlocks, ALoadDroppedHalfWayLeavesNothingBehind)
{
    // A large file is read with memory prepared ahead of the read; clearing
    // the document half way, or loading again, must let go of all of it.
    TempTree tree;
    const std::string text = FillerWith(3 * kChunk, {{kChunk - 1, "\r\n"}});
    const std::string path = tree.Write("big.txt", text);
    TextDoc doc(path);
    doc.BeginLoad();
    ASSERT_EQ(doc.LoadStep(kChunk + kBlock), TextDoc::LoadState::kMore);
    doc.Clear();
    EXPECT_EQ(doc.ChunkBytes(), 0u);
    EXPECT_FALSE(doc.Loading());
    doc.BeginLoad();
    ASSERT_EQ(doc.LoadStep(kBlock), TextDoc::LoadState::kMore);
    ASSERT_TRUE(doc.Load());
    ExpectLines(doc, SplitAsLoaded(text), "loaded again");
    // Only the chunks that hold lines are left: none spare.
    EXPECT_LE(doc.ChunkBytes(), text.size() + kChunk);
}

// Text that is not plain ASCII: UTF-8 in every script, Latin-1, broken
// sequences, NUL bytes. Whatever the bytes, a document loads them, shows
// them in the right columns and saves them back unchanged.
#include "base/display_columns.h"
#include "doc_test_util.h"
#include "docs/text_doc.h"
#include "find_util.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace {

struct AwkwardFile {
    const char* what;
    std::string bytes;
    int max_width;  // at tab width 4
};

std::vector<AwkwardFile> AwkwardFiles()
{
    return {
        {"UTF-8 with CR LF", "caf\xC3\xA9\r\n\xE4\xB8\xAD\xE6\x96\x87\tx\r\n", 9},
        {"Latin-1", "caf\xE9 na\xEFve\n\xFC" "ber\n", 10},
        {"invalid, truncated and overlong", "\xC0\xAF\xE2\x82\n\xED\xA0\x80\xF4\x90\x80\x80\n", 7},
        {"UTF-8 and Latin-1 mixed", "\xC3\xA9t\xC3\xA9 \xE9t\xE9\n", 7},
        {"NUL bytes among characters", std::string("a\0\xC3\xA9\0\n\0\n", 8), 4},
        {"combining marks", "e\xCC\x81\xCC\xA3 o\xCC\x88\n", 3},
        {"multi-byte characters at line ends", "x\xE2\x82\xAC\r\n\xF0\x9F\x98\x80\r\n", 2},
        {"a truncated sequence ends the file", "end\xE2\x82", 5},
        {"wide characters and tabs", "\xEF\xBC\xA1\t\xEF\xBC\xA2\tb\n\t\xE4\xB8\xAD\n", 9},
    };
}

} // namespace

TEST(Utf8Documents, LoadAndSaveGiveBackEveryByteAndCountCells)
{
    TempTree tree;
    for (const AwkwardFile& file : AwkwardFiles()) {
        SCOPED_TRACE(file.what);
        const std::string path = tree.Write("awkward.txt", file.bytes);
        TextDoc doc(path);
        ASSERT_TRUE(doc.Load());
        EXPECT_EQ(doc.MaxWidth(), file.max_width);
        ASSERT_TRUE(doc.Save());
        // A file without a line end gains one: the stored format's.
        const bool ended = file.bytes.back() == '\n';
        EXPECT_EQ(tree.Read("awkward.txt"), ended ? file.bytes : file.bytes + "\r\n");
    }
}

TEST(Utf8Documents, CharactersAcrossReadBlocksStayWhole)
{
    // A euro sign split by every power-of-two block boundary from 4 KiB to
    // 8 MiB, on lines of every length around it.
    std::string bytes;
    bytes.reserve((8u << 20) + 4096);
    std::size_t boundary = 4096;
    while (boundary <= (8u << 20)) {
        while (bytes.size() + 80 < boundary - 1) bytes += std::string(60, 'a') + "\xC3\xA9" + std::string(17, 'b') + "\n";
        bytes.append(boundary - 1 - bytes.size(), 'c');
        bytes += "\xE2\x82\xAC\n";
        boundary *= 2;
    }
    TempTree tree;
    const std::string path = tree.Write("blocks.txt", bytes);
    TextDoc doc(path);
    ASSERT_TRUE(doc.Load());
    int widest = 0;
    for (int i = 0; i < doc.LineCount(); ++i) {
        const std::string_view line = doc.GetLine(i)->View();
        widest = std::max(widest, text::DisplayWidth(line, doc.TabSize()));
        if (line.size() > 2 && static_cast<unsigned char>(line.back()) >= 0x80) {
            ASSERT_EQ(line.substr(line.size() - 3), "\xE2\x82\xAC") << "line " << i;
        }
    }
    EXPECT_EQ(doc.MaxWidth(), widest);
    ASSERT_TRUE(doc.Save());
    EXPECT_EQ(tree.Read("blocks.txt"), bytes);
}

TEST(Utf8Documents, EditsAtColumnsKeepCharactersWhole)
{
    TempTree tree;
    const std::string path = tree.Write("edit.txt", "\xE4\xB8\xAD\xE6\x96\x87|caf\xC3\xA9|\xE9\n");
    TextDoc doc(path);
    ASSERT_TRUE(doc.Load());
    const TextLine* line = doc.GetLine(0);
    // 中文 take columns 0-3, "|caf" 4-7, é 8, "|" 9, the Latin-1 é 10.
    EXPECT_EQ(doc.LineWidth(line), 11);
    // Inserting at column 2 goes between the two wide characters.
    const TextPosition after = doc.InsertText("\xCE\xB1", {0, 2});
    EXPECT_EQ(after, (TextPosition{0, 3}));
    // Deleting the character at column 9 (é) takes both its bytes.
    line = doc.GetLine(0);
    const int at = doc.ColumnToIndex(line, 9);
    ASSERT_TRUE(doc.DeleteChars(0, at, doc.NextCharIndex(line, at) - at));
    // A copy of columns 0..5 ends after the whole second wide character.
    const auto copied = doc.CopyText(0, 0, 0, 5);
    ASSERT_TRUE(copied);
    EXPECT_EQ(*copied, "\xE4\xB8\xAD\xCE\xB1\xE6\x96\x87");
    ASSERT_TRUE(doc.Save());
    EXPECT_EQ(tree.Read("edit.txt"), "\xE4\xB8\xAD\xCE\xB1\xE6\x96\x87|caf|\xE9\n");
}

TEST(Utf8Documents, FindReportsDisplayColumnsAndWholeWordsOfAnyScript)
{
    TextDoc doc;
    Fill(doc, {"\xE4\xB8\xAD\xE6\x96\x87 na\xC3\xAFve", "naive na\xC3\xAFvet\xC3\xA9 CAF\xC3\xA9", "\tcaf\xC3\xA9!"});
    FindRules rules{true, false, false};
    // After two wide characters and a space the word starts at column 5.
    EXPECT_EQ(FindIn(doc, "na\xC3\xAFve", {0, 0}, rules), (TextPosition{0, 5}));
    EXPECT_EQ(MatchEndIn(doc, "na\xC3\xAFve", {0, 5}), 10);
    EXPECT_EQ(MatchEndIn(doc, "\xE4\xB8\xAD\xE6\x96\x87", {0, 0}), 4);
    // "naïve" is inside the word "naïveté": not a whole word there.
    rules.whole_words = true;
    EXPECT_EQ(FindIn(doc, "na\xC3\xAFve", {0, 6}, rules), std::nullopt);
    EXPECT_EQ(FindIn(doc, "naive", {0, 6}, rules), (TextPosition{1, 0}));
    // ASCII letters fold, others compare exactly: "café" finds "CAFé".
    rules.whole_words = false;
    EXPECT_EQ(FindIn(doc, "caf\xC3\xA9", {0, 6}, rules), (TextPosition{1, 14}));
    EXPECT_EQ(FindIn(doc, "CAF\xC3\x89", {0, 0}, rules), std::nullopt);
    // Behind a tab, display columns.
    EXPECT_EQ(FindIn(doc, "caf\xC3\xA9!", {1, 0}, rules), (TextPosition{2, 4}));
    // Up from the end of the second line: the last occurrence before it.
    rules.down = false;
    EXPECT_EQ(FindIn(doc, "na\xC3\xAF", {1, 20}, rules), (TextPosition{1, 6}));
}

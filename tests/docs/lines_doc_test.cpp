#include <gtest/gtest.h>

#include "doc_test_util.h"
#include "docs/lines_doc.h"

using Lines = std::vector<std::string>;

TEST(TextLine, CopiesKeepEveryByteAndEmptyLinesShareNoBlock)
{
    const std::string bytes("a\0b\x1A", 4);
    TextLine line(bytes);
    EXPECT_EQ(line.Length(), 4);
    EXPECT_EQ(line.View(), bytes);
    EXPECT_EQ(line.Text()[4], '\0');

    TextLine copy = line;
    EXPECT_NE(copy.Text(), line.Text());
    EXPECT_EQ(copy.View(), bytes);
    copy.SetText("");
    EXPECT_STREQ(copy.Text(), "");
    EXPECT_EQ(copy.Length(), 0);
}

TEST(LinesDoc, LineAccessAndTitle)
{
    LinesDoc doc("/home/user/dir/notes.txt");
    Fill(doc, {"one", "two"});
    EXPECT_EQ(doc.GetLine(-1), nullptr);
    EXPECT_EQ(doc.GetLine(2), nullptr);
    EXPECT_EQ(doc.GetLine(1)->View(), "two");
    EXPECT_EQ(doc.GetTitle(), "NOTES.TXT");
    EXPECT_EQ(LinesDoc("plain.c").GetTitle(), "PLAIN.C");
    EXPECT_EQ(doc.TabSize(), 4);
}

TEST(LinesDoc, ColumnArithmeticWithTabs)
{
    LinesDoc doc;
    Fill(doc, {"ab\tc", "\tx", ""});
    const TextLine* line = doc.GetLine(0);
    EXPECT_EQ(doc.LineWidth(line), 5);
    EXPECT_EQ(doc.ExpandLine(line), "ab  c");
    EXPECT_EQ(doc.LineWidth(doc.GetLine(1)), 5);
    EXPECT_EQ(doc.ExpandLine(doc.GetLine(1)), "    x");
    EXPECT_EQ(doc.LineWidth(nullptr), 0);

    // A column inside the tab's span counts the tab as passed; beyond the
    // end gives the length.
    EXPECT_EQ(doc.ColumnToIndex(line, 0), 0);
    EXPECT_EQ(doc.ColumnToIndex(line, 2), 2);
    EXPECT_EQ(doc.ColumnToIndex(line, 3), 3);
    EXPECT_EQ(doc.ColumnToIndex(line, 4), 3);
    EXPECT_EQ(doc.ColumnToIndex(line, 99), 4);

    EXPECT_EQ(doc.PrefixWidth(line, 3), 4);
    EXPECT_EQ(doc.PrefixWidth(line, 3, -1), 2);
    EXPECT_EQ(doc.PrefixWidth(line, 3, +1), 5);
    EXPECT_EQ(doc.PrefixWidth(line, 0, -1), 0);

    char buffer[4];
    EXPECT_EQ(doc.ExpandLine(line, buffer, 3), 3);
    EXPECT_STREQ(buffer, "ab ");

    doc.SetTabSize(8);
    EXPECT_EQ(doc.LineWidth(line), 9);
}

TEST(LinesDoc, WordBounds)
{
    LinesDoc doc;
    Fill(doc, {"x abc   def", "abc   def", "abc", "    ", "  word", "a\tb"});
    int start = 0, end = 0;
    doc.WordBounds(doc.GetLine(0), 6, start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(2, 5));
    doc.WordBounds(doc.GetLine(1), 4, start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(0, 3));
    doc.WordBounds(doc.GetLine(2), 1, start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(0, 3));
    doc.WordBounds(doc.GetLine(3), 2, start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(-1, -1));
    // Nothing to the left: the next word to the right.
    doc.WordBounds(doc.GetLine(4), 0, start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(2, 6));
    // On a word in the middle of the line, and past the end.
    doc.WordBounds(doc.GetLine(0), 9, start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(8, 11));
    doc.WordBounds(doc.GetLine(0), 40, start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(8, 11));
    // Columns are display columns.
    doc.WordBounds(doc.GetLine(5), 4, start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(4, 5));
}

TEST(LinesDoc, CharacterEditsCheckTheirIndexAndTrackWidth)
{
    LinesDoc doc;
    Fill(doc, {"abcd"});
    EXPECT_FALSE(doc.InsertChars(0, "x", 5));
    EXPECT_FALSE(doc.InsertChars(1, "x", 0));
    EXPECT_FALSE(doc.Modified());

    EXPECT_TRUE(doc.InsertChars(0, "XY", 2));
    EXPECT_EQ(doc.GetLine(0)->View(), "abXYcd");
    EXPECT_TRUE(doc.InsertChars(0, "!", -1));
    EXPECT_EQ(doc.GetLine(0)->View(), "abXYcd!");
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.MaxWidth(), 7);

    EXPECT_TRUE(doc.OverwriteChars(0, "12", 5));
    EXPECT_EQ(doc.GetLine(0)->View(), "abXYc12");
    EXPECT_TRUE(doc.OverwriteChars(0, "long", 6));
    EXPECT_EQ(doc.GetLine(0)->View(), "abXYc1long");
    EXPECT_FALSE(doc.OverwriteChars(0, "x", 11));

    EXPECT_TRUE(doc.DeleteChars(0, 2, 2));
    EXPECT_EQ(doc.GetLine(0)->View(), "abc1long");
    EXPECT_FALSE(doc.DeleteChars(0, 9, 1));
    EXPECT_EQ(doc.MaxWidth(), 10);  // deleting characters never lowers it

    // A text taken from the line itself is safe to insert into it.
    const std::string_view self = doc.GetLine(0)->View();
    EXPECT_TRUE(doc.InsertChars(0, self, 0));
    EXPECT_EQ(doc.GetLine(0)->View(), "abc1longabc1long");
}

TEST(LinesDoc, LineEditsAndMaxWidth)
{
    LinesDoc doc;
    Fill(doc, {"aa", "bbbbbb", "c"});
    doc.UpdateMaxWidth(-1);
    EXPECT_EQ(doc.MaxWidth(), 6);

    EXPECT_TRUE(doc.InsertLine(-5, "first"));
    EXPECT_TRUE(doc.InsertLine(99, "last-line-long"));
    EXPECT_EQ(LinesOf(doc), (Lines{"first", "aa", "bbbbbb", "c", "last-line-long"}));
    EXPECT_EQ(doc.MaxWidth(), 6);  // inserting a line leaves it

    EXPECT_TRUE(doc.DeleteLines(1, 0));
    EXPECT_EQ(doc.LineCount(), 5);
    EXPECT_EQ(doc.MaxWidth(), 6);

    doc.UpdateMaxWidth(-1);
    EXPECT_EQ(doc.MaxWidth(), 14);
    EXPECT_TRUE(doc.DeleteLines(4, 1));
    EXPECT_EQ(doc.MaxWidth(), 6);
    EXPECT_TRUE(doc.DeleteLines(1, 2));
    EXPECT_EQ(LinesOf(doc), (Lines{"first", "c"}));
    EXPECT_EQ(doc.MaxWidth(), 5);
    EXPECT_TRUE(doc.DeleteLines(1, 50));
    EXPECT_EQ(LinesOf(doc), (Lines{"first"}));

    // A character edit that narrows the widest line is caught up with by the
    // next line deletion.
    Fill(doc, {"x", "y"});
    EXPECT_TRUE(doc.DeleteChars(0, 0, 4));
    EXPECT_EQ(doc.MaxWidth(), 5);
    EXPECT_TRUE(doc.DeleteLines(2, 1));
    EXPECT_EQ(doc.MaxWidth(), 1);

    doc.Clear();
    EXPECT_EQ(doc.LineCount(), 0);
    EXPECT_EQ(doc.MaxWidth(), 0);
}

TEST(LinesDoc, FindLineBreakKnowsFourForms)
{
    std::size_t start = 0;
    EXPECT_EQ(LinesDoc::FindLineBreak("ab\r\ncd", start), 3u);
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(LinesDoc::FindLineBreak("ab\n\rcd", start), 3u);
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(LinesDoc::FindLineBreak("ab\rcd\n", start), 2u);
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(LinesDoc::FindLineBreak("ab\n\ncd", start), 2u);
    EXPECT_EQ(LinesDoc::FindLineBreak("abcd", start), std::string_view::npos);
    EXPECT_EQ(start, std::string_view::npos);
}

TEST(LinesDoc, CopyText)
{
    LinesDoc doc;
    Fill(doc, {"ab\tcd", "middle", "end"});
    EXPECT_FALSE(doc.CopyText(0, 0, 3, 0));
    EXPECT_FALSE(doc.CopyText(-1, 0, 0, 0));
    EXPECT_EQ(*doc.CopyText(0, 2, 0, 2), "");
    EXPECT_EQ(*doc.CopyText(0, 1, 0, 5), "b\tc");  // display columns
    EXPECT_EQ(*doc.CopyText(0, 0, 1, 6), "ab\tcd\r\nmiddle\r\n");
    EXPECT_EQ(*doc.CopyText(0, 3, 2, 2), "cd\r\nmiddle\r\nen");  // column 3 lies in the tab
    EXPECT_EQ(*doc.CopyText(0, 0, 2, 3), "ab\tcd\r\nmiddle\r\nend\r\n");
    EXPECT_EQ(*doc.CopyText(TextPosition{2, 3}, TextPosition{1, 0}), "middle\r\nend\r\n");
}

TEST(LinesDoc, InsertTextSplitsAtEveryBreakForm)
{
    LinesDoc doc;
    Fill(doc, {"abcd"});
    EXPECT_EQ(doc.InsertText("x\r\ny", {0, 2}), (TextPosition{1, 1}));
    EXPECT_EQ(LinesOf(doc), (Lines{"abx", "ycd"}));
    EXPECT_TRUE(doc.Modified());

    LinesDoc b;
    Fill(b, {"abcd"});
    EXPECT_EQ(b.InsertText("x\n", {0, 2}), (TextPosition{1, 0}));
    EXPECT_EQ(LinesOf(b), (Lines{"abx", "cd"}));

    LinesDoc c;
    Fill(c, {"abcd"});
    EXPECT_EQ(c.InsertText("1\r2\n\r3\r\n\n4", {0, 0}), (TextPosition{4, 1}));
    EXPECT_EQ(LinesOf(c), (Lines{"1", "2", "3", "", "4abcd"}));

    LinesDoc d;
    Fill(d, {"abcd", "next"});
    EXPECT_EQ(d.InsertText("plain", {0, 4}), (TextPosition{0, 9}));
    EXPECT_EQ(d.InsertText("", {1, 1}), (TextPosition{1, 1}));
    // Past the end of the line the text is appended.
    EXPECT_EQ(d.InsertText("!\nnew", {1, 20}), (TextPosition{2, 3}));
    EXPECT_EQ(LinesOf(d), (Lines{"abcdplain", "next!", "new"}));
    // Tabs: the returned column is a display column.
    EXPECT_EQ(d.InsertText("a\t", {2, 0}), (TextPosition{2, 4}));
    EXPECT_EQ(d.InsertText("x\n\ty", {0, 0}), (TextPosition{1, 5}));
    EXPECT_EQ(d.MaxWidth(), 14);
}

TEST(LinesDoc, InsertTextByLineFeedsKeepsLoneCarriageReturnsInTheirLines)
{
    // Lines may hold lone CR bytes; copied out they are joined by CR LF, and
    // put back by line feeds they come back exactly, however they meet.
    LinesDoc doc;
    Fill(doc, {"one\rtwo", "x\r", "\r", "\rlead", "", "last\r"});
    const Lines original = LinesOf(doc);
    const std::string all = *doc.CopyText(0, 0, 5, 5);
    EXPECT_EQ(all, "one\rtwo\r\nx\r\r\n\r\r\n\rlead\r\n\r\nlast\r\r\n");
    EXPECT_TRUE(doc.DeleteLines(0, 6));
    EXPECT_TRUE(doc.InsertLine(0, ""));
    EXPECT_EQ(doc.InsertText(all.substr(0, all.size() - 2), {0, 0}, LineBreakRule::kLineFeed),
              (TextPosition{5, 5}));
    EXPECT_EQ(LinesOf(doc), original);

    // Into the middle of a line, with a lone CR on its own.
    LinesDoc mid;
    Fill(mid, {"ab"});
    EXPECT_EQ(mid.InsertText("\r", {0, 1}, LineBreakRule::kLineFeed), (TextPosition{0, 2}));
    EXPECT_EQ(mid.InsertText("1\r\r\n\r\n\r2\r", {0, 2}, LineBreakRule::kLineFeed), (TextPosition{2, 3}));
    EXPECT_EQ(LinesOf(mid), (Lines{"a\r1\r", "", "\r2\rb"}));

    // A bare LF still ends a line, so no line ever takes an LF in; LF CR is
    // a break followed by a CR.
    LinesDoc lf;
    Fill(lf, {""});
    EXPECT_EQ(lf.InsertText("p\nq\n\rr", {0, 0}, LineBreakRule::kLineFeed), (TextPosition{2, 2}));
    EXPECT_EQ(LinesOf(lf), (Lines{"p", "q", "\rr"}));
}

TEST(LinesDoc, InsertTextUndoesACopyOfTheWholeDocument)
{
    LinesDoc doc;
    Fill(doc, {"first", "", std::string_view("nul\0in", 6), "last"});
    const std::string all = *doc.CopyText(0, 0, 3, 4);
    EXPECT_TRUE(doc.DeleteLines(0, 4));
    EXPECT_TRUE(doc.InsertLine(0, ""));
    EXPECT_EQ(doc.InsertText(all, {0, 0}), (TextPosition{4, 0}));
    EXPECT_EQ(LinesOf(doc), (Lines{"first", "", std::string("nul\0in", 6), "last", ""}));

    // Lines that came in as one block can be edited and deleted one by one.
    EXPECT_TRUE(doc.InsertChars(1, "x", 0));
    EXPECT_TRUE(doc.DeleteLines(2, 1));
    EXPECT_TRUE(doc.DeleteLines(0, 1));
    EXPECT_EQ(LinesOf(doc), (Lines{"x", "last", ""}));
}

// Every allocation failure gives its error code and leaves the document as
// it was (or, for a load, empty).

#include <gtest/gtest.h>

#include "doc_test_util.h"
#include "docs/alloc_gate.h"
#include "docs/doc_errors.h"
#include "docs/hex_doc.h"
#include "docs/text_doc.h"
#include "docs/undo_list.h"
#include "resources/strings.h"
#include "support/temp_tree.h"

using docs::AllocSite;
using docs::ScopedAllocationFailure;
using Lines = std::vector<std::string>;

TEST(DocErrors, MessagesOfTheStringTable)
{
    EXPECT_STREQ(strings::Text(doc_error::MessageId(1)), "File Error (1):\r  Unable to open file.");
    EXPECT_STREQ(strings::Text(doc_error::MessageId(2)), "File Error (2):\r  Not enough memory for lines.");
    EXPECT_STREQ(strings::Text(doc_error::MessageId(3)), "File Error (3):\r  Could not allocate line object.");
    EXPECT_STREQ(strings::Text(doc_error::MessageId(4)), "File Error (4):\r  Could not allcoate line buffer.");
    EXPECT_STREQ(strings::Text(doc_error::MessageId(5)), "File Error (5):\r  General memory error.");
}

TEST(AllocationFailure, LoadGivesTheCodeOfWhatFailedAndAnEmptyDocument)
{
    TempTree tree;
    const std::string path = tree.Write("f.txt", "one\ntwo\nthree\n");
    const std::pair<AllocSite, int> cases[] = {
        {AllocSite::kLineTable, doc_error::kLineTable},
        {AllocSite::kLineObject, doc_error::kLineObject},
        {AllocSite::kLineText, doc_error::kLineBuffer},
    };
    for (const auto& [site, code] : cases) {
        TextDoc doc(path);
        ScopedAllocationFailure failure(site, site == AllocSite::kLineObject ? 2 : 0);
        EXPECT_FALSE(doc.Load());
        EXPECT_EQ(doc.Error(), code);
        EXPECT_EQ(doc.LineCount(), 0);
        EXPECT_EQ(doc.ChunkBytes(), 0u);
    }
    TextDoc doc(path);
    EXPECT_TRUE(doc.Load());
    EXPECT_EQ(LinesOf(doc), (Lines{"one", "two", "three"}));
}

TEST(AllocationFailure, HexLoadGivesCodeTwo)
{
    TempTree tree;
    HexDoc doc(tree.Write("f.bin", "0123456789abcdefXYZ"));
    ScopedAllocationFailure failure(AllocSite::kLineTable);
    EXPECT_FALSE(doc.Load());
    EXPECT_EQ(doc.Error(), doc_error::kLineTable);
    EXPECT_EQ(doc.LineCount(), 0);
}

TEST(AllocationFailure, EditsGiveCodeFiveAndChangeNothing)
{
    // Loaded lines lie in the load's shared text: their first edit copies
    // them out.
    TempTree tree;
    const std::string path = tree.Write("f.txt", "abc\ndef\n");
    const auto check = [&](const char* what, const std::function<bool(LinesDoc&)>& edit) {
        SCOPED_TRACE(what);
        TextDoc doc(path);
        ASSERT_TRUE(doc.Load());
        ScopedAllocationFailure failure(AllocSite::kEdit);
        EXPECT_FALSE(edit(doc));
        EXPECT_EQ(doc.Error(), doc_error::kMemory);
        EXPECT_EQ(LinesOf(doc), (Lines{"abc", "def"}));
        EXPECT_FALSE(doc.Modified());
        EXPECT_EQ(doc.MaxWidth(), 3);
    };
    check("InsertChars", [](LinesDoc& d) { return d.InsertChars(0, "x", 1); });
    check("OverwriteChars", [](LinesDoc& d) { return d.OverwriteChars(0, "xyzw", 1); });
    check("DeleteChars", [](LinesDoc& d) { return d.DeleteChars(1, 0, 1); });
    check("CopyText", [](LinesDoc& d) { return d.CopyText(0, 0, 1, 2).has_value(); });
    check("InsertLine", [](LinesDoc& d) { return d.InsertLine(1, "new"); });
    check("InsertText", [](LinesDoc& d) { return d.InsertText("x", {0, 1}) != TextPosition{0, 1}; });

    // A line with a block of its own loses bytes in place: that needs no memory.
    LinesDoc doc;
    Fill(doc, {"abc", "def"});
    ScopedAllocationFailure failure(AllocSite::kEdit);
    EXPECT_TRUE(doc.DeleteChars(1, 0, 1));
    EXPECT_EQ(LinesOf(doc), (Lines{"abc", "ef"}));
}

TEST(AllocationFailure, InsertTextFailsCleanlyAtEveryAllocation)
{
    // A text with lines between its first and last, enough of them to make
    // the line table grow: every allocation it makes is failed in turn
    // until the insert goes through.
    std::string text = "A\r\nm1\r\nm2\n";
    Lines expected = {"head|A", "m1", "m2"};
    for (int i = 0; i < 1000; ++i) {
        text += "n\n";
        expected.push_back("n");
    }
    text += "B";
    expected.insert(expected.end(), {"Btail", "z"});
    int failures = 0;
    for (long skip = 0; skip < 10; ++skip) {
        LinesDoc doc;
        Fill(doc, {"head|tail", "z"});
        TextPosition end;
        {
            ScopedAllocationFailure failure(AllocSite::kEdit, skip);
            end = doc.InsertText(text, {0, 5});
        }
        if (doc.Error() == doc_error::kMemory) {
            ++failures;
            EXPECT_EQ(end, (TextPosition{0, 5}));
            EXPECT_EQ(LinesOf(doc), (Lines{"head|tail", "z"}));
            EXPECT_EQ(doc.ChunkBytes(), 0u);
            continue;
        }
        EXPECT_EQ(end, (TextPosition{1003, 1}));
        EXPECT_EQ(LinesOf(doc), expected);
        break;
    }
    EXPECT_GE(failures, 4);
}

TEST(AllocationFailure, UndoRecordWithoutText)
{
    CUndoList list(4);
    {
        ScopedAllocationFailure failure(AllocSite::kUndoText);
        list.Push("lost", UndoKind::kDeleted, {0, 0}, {0, 0}, {0, 4});
    }
    ASSERT_NE(list.Newest(), nullptr);
    EXPECT_FALSE(list.Newest()->text.has_value());
    EXPECT_EQ(list.ChangeCounter(), 1);
}

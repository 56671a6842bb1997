// A line's width is kept up to date edit by edit rather than measured again
// over the whole line: every kind of edit, with and without tabs, must agree
// with measuring the line afresh.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "doc_test_util.h"
#include "docs/lines_doc.h"
#include "docs/text_doc.h"
#include "support/temp_tree.h"

namespace {

// The width the document keeps for its only line shows as MaxWidth after a
// recompute from its own counts.
int KeptWidth(LinesDoc& doc)
{
    doc.UpdateMaxWidth(-1);
    return doc.MaxWidth();
}

} // namespace

TEST(LineWidth, EditsAroundTabsAgreeWithAFreshMeasure)
{
    std::mt19937 random(3);
    const std::string pieces[] = {"a", "bc", "\t", "defgh", "\t\t", "x\ty", "123456789"};
    for (const int tabSize : {1, 3, 4, 8}) {
        SCOPED_TRACE(tabSize);
        LinesDoc doc;
        doc.SetTabSize(tabSize);
        Fill(doc, {"start\tof the line"});
        std::string model = "start\tof the line";
        for (int step = 0; step < 3000; ++step) {
            const auto& piece = pieces[random() % std::size(pieces)];
            const int at = static_cast<int>(random() % (model.size() + 1));
            switch (random() % 3) {
            case 0:
                ASSERT_TRUE(doc.InsertChars(0, piece, at));
                model.insert(static_cast<std::size_t>(at), piece);
                break;
            case 1:
                ASSERT_TRUE(doc.OverwriteChars(0, piece, at));
                model.replace(static_cast<std::size_t>(at), piece.size(), piece);
                break;
            default: {
                const int n = static_cast<int>(random() % 6);
                ASSERT_TRUE(doc.DeleteChars(0, at, n));
                model.erase(static_cast<std::size_t>(at), static_cast<std::size_t>(n));
            }
            }
            // Keep the line from growing without end.
            if (model.size() > 200) {
                ASSERT_TRUE(doc.DeleteChars(0, 0, 100));
                model.erase(0, 100);
            }
            ASSERT_EQ(doc.GetLine(0)->View(), model);
            ASSERT_EQ(KeptWidth(doc), doc.LineWidth(doc.GetLine(0))) << "step " << step << ": " << model;
        }
    }
}

TEST(LineWidth, LoadedLinesAndPastesAreMeasuredOnTheirFirstEdit)
{
    TempTree tree;
    TextDoc doc(tree.Write("f.txt", "ab\tcd\n"));
    ASSERT_TRUE(doc.Load());
    EXPECT_TRUE(doc.InsertChars(0, "\t", 1));  // "a\tb\tcd"
    EXPECT_EQ(KeptWidth(doc), 10);
    EXPECT_EQ(doc.InsertText("12\r\n\tz", {0, 0}), (TextPosition{1, 5}));
    EXPECT_TRUE(doc.DeleteLines(0, 1));
    EXPECT_EQ(doc.GetLine(0)->View(), "\tza\tb\tcd");
    EXPECT_EQ(KeptWidth(doc), 14);
    EXPECT_TRUE(doc.InsertChars(0, "zz", 1));
    EXPECT_EQ(KeptWidth(doc), doc.LineWidth(doc.GetLine(0)));
}

TEST(LineWidth, EditingALongLineInPlaceKeepsItsBytes)
{
    // Typing into a long line works inside its block once it has room: text
    // taken from the line itself must still arrive whole.
    LinesDoc doc;
    Fill(doc, {std::string(100000, 'q')});
    std::string model(100000, 'q');
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(doc.InsertChars(0, "ab", 50000));
        model.insert(50000, "ab");
    }
    const std::string self(doc.GetLine(0)->View().substr(49990, 30));
    ASSERT_TRUE(doc.InsertChars(0, doc.GetLine(0)->View().substr(49990, 30), 10));
    model.insert(10, self);
    ASSERT_TRUE(doc.DeleteChars(0, 99990, 5));
    model.erase(99990, 5);
    EXPECT_EQ(doc.GetLine(0)->View(), model);
    EXPECT_EQ(KeptWidth(doc), static_cast<int>(model.size()));
}

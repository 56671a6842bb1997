// Undo of every kind of edit, replayed through the Undo command, and the
// change counter that clears the modified flag.
#include "view_fixture.h"

#include "docs/text_doc.h"
#include "docs/undo_list.h"
#include "views/text_view.h"

#include <QTest>

namespace {

class TextUndo : public ViewTest {};

TEST_F(TextUndo, TypingThenUndoClearsTheModifiedFlag)
{
    auto view = Open<TextView>("abc\n");
    QTest::keyClicks(view.get(), "x");
    EXPECT_TRUE(view->Doc()->Modified());
    EXPECT_TRUE(view->CanUndo());
    QTest::keyClick(view.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"abc"}));
    EXPECT_FALSE(view->Doc()->Modified());
    EXPECT_FALSE(view->CanUndo());
}

TEST_F(TextUndo, EveryEditIsUndoneInTurn)
{
    const Lines_t original{"    first", "second", "third"};
    auto view = Open<TextView>("    first\nsecond\nthird\n");
    view->MoveCaretTo({0, 7});
    QTest::keyClick(view.get(), Qt::Key_Return);      // kind 2 "\n"
    QTest::keyClicks(view.get(), "ab");               // kind 2 twice
    QTest::keyClick(view.get(), Qt::Key_Backspace);   // kind 1 char
    view->MoveCaretTo({2, 0});
    QTest::keyClick(view.get(), Qt::Key_Backspace);   // kind 1 "\n" (join)
    QTest::keyClick(view.get(), Qt::Key_Insert);
    QTest::keyClicks(view.get(), "Z");                // kind 3
    QTest::keyClick(view.get(), Qt::Key_Insert);
    view->MoveCaretTo({0, 0});
    QTest::keyClick(view.get(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(view.get(), Qt::Key_Delete);      // kind 1 selection
    EXPECT_NE(Lines(*view->Doc()), original);

    int undone = 0;
    while (view->CanUndo()) {
        view->CmUndo();
        ASSERT_LT(++undone, 20);
    }
    EXPECT_EQ(Lines(*view->Doc()), original);
    EXPECT_FALSE(view->Doc()->Modified());
}

TEST_F(TextUndo, UndoOfAJoinSplitsAtTheSameColumnWithoutIndentAndKeepsNoRecord)
{
    auto view = Open<TextView>("    ab\n    cd\n");
    view->MoveCaretTo({1, 0});
    QTest::keyClick(view.get(), Qt::Key_Backspace);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"    ab    cd"}));
    view->CmUndo();
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"    ab", "    cd"}));
    EXPECT_EQ(view->Undo()->Count(), 0);
}

TEST_F(TextUndo, ClearAllThenUndoRestoresTheTextExactly)
{
    const std::string bytes = "alpha\r\nbeta\r\n\r\ngamma\r\n";
    auto view = Open<TextView>(bytes);
    const Lines_t before = Lines(*view->Doc());
    QTest::keyClick(view.get(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{""}));
    EXPECT_EQ(view->Caret(), (TextPosition{0, 0}));
    view->CmUndo();
    EXPECT_EQ(Lines(*view->Doc()), before);
    EXPECT_FALSE(view->Doc()->Modified());
    view->CmSave();  // not modified: Save writes the same bytes anyway
    ASSERT_TRUE(view->Doc()->Save());
    EXPECT_EQ(tree.Read("file.txt"), bytes);
}

// Lines holding lone CR bytes, and one ending in a CR right before its line
// break: every deletion undone must give the file back byte for byte.
constexpr std::string_view kLoneCrBytes = "one\rtwo\r\nx\r\r\n\r\r\n\rlead\r\nlast\r\r\n";
const Lines_t kLoneCrLines{"one\rtwo", "x\r", "\r", "\rlead", "last\r"};

TEST_F(TextUndo, DeletingAcrossLinesWithLoneCarriageReturnsAndUndoingRestoresTheBytes)
{
    auto view = Open<TextView>(kLoneCrBytes);
    ASSERT_EQ(Lines(*view->Doc()), kLoneCrLines);
    const auto undoAll = [&] {
        for (int i = 0; view->CanUndo(); ++i) {
            view->CmUndo();
            ASSERT_LT(i, 20);
        }
        EXPECT_EQ(Lines(*view->Doc()), kLoneCrLines);
        EXPECT_FALSE(view->Doc()->Modified());
    };

    // From inside the first line to inside the fourth: Delete, then Cut.
    for (const bool cut : {false, true}) {
        view->MoveCaretTo({0, 2});
        for (int i = 0; i < 3; ++i) QTest::keyClick(view.get(), Qt::Key_Down, Qt::ShiftModifier);
        ASSERT_TRUE(view->HasSelection());
        if (cut) view->CmCut();
        else QTest::keyClick(view.get(), Qt::Key_Delete);
        EXPECT_EQ(view->Doc()->LineCount(), 2);
        undoAll();
    }

    // Single lone CR bytes, taken by Backspace and by Delete.
    view->MoveCaretTo({1, 2});
    QTest::keyClick(view.get(), Qt::Key_Backspace);
    view->MoveCaretTo({3, 0});
    QTest::keyClick(view.get(), Qt::Key_Delete);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"one\rtwo", "x", "\r", "lead", "last\r"}));
    undoAll();

    // A selection that ends at the end of a line ending in CR.
    view->MoveCaretTo({0, 0});
    QTest::keyClick(view.get(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(view.get(), Qt::Key_End, Qt::ShiftModifier);  // (0, 0) .. (1, 2)
    QTest::keyClick(view.get(), Qt::Key_Delete);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"", "\r", "\rlead", "last\r"}));
    undoAll();

    // Clear All of the whole document.
    view->CmClearAll();
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{""}));
    undoAll();

    ASSERT_TRUE(view->Doc()->Save());
    EXPECT_EQ(tree.Read("file.txt"), kLoneCrBytes);
}

TEST_F(TextUndo, DeletingWholeLinesAndUndoingAddsNoLine)
{
    auto view = Open<TextView>("a\nb\nc\n");
    view->MoveCaretTo({0, 0});
    QTest::keyClick(view.get(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(view.get(), Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClick(view.get(), Qt::Key_Delete);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"", "c"}));
    view->CmUndo();
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"a", "b", "c"}));
}

TEST_F(TextUndo, ReplacementsAreUndoneOneByOneAtTheirPlace)
{
    auto view = Open<TextView>("cat dog cat\n");
    view->PrepareFind("cat", "dog");
    GrepOptions options;
    options.pattern = "cat";
    options.replacement = "dog";
    options.case_sensitive = true;
    ASSERT_TRUE(view->GrepReplace(options, /*replace_all=*/true));
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"dog dog dog"}));
    view->CmUndo();
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"dog dog cat"}));
    view->CmUndo();
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"cat dog cat"}));
}

TEST_F(TextUndo, UndoAfterASaveMakesTheWindowDifferFromTheFile)
{
    auto view = Open<TextView>("text\r\n");
    QTest::keyClicks(view.get(), "EDIT");
    view->CmSave();
    const std::string saved = tree.Read("file.txt");
    EXPECT_EQ(saved, "EDITtext\r\n");
    EXPECT_FALSE(view->Doc()->Modified());
    for (int i = 0; i < 4; ++i) view->CmUndo();
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"text"}));
    EXPECT_TRUE(view->Doc()->Modified());
    EXPECT_TRUE(view->CanSave());
    EXPECT_EQ(tree.Read("file.txt"), saved);  // undo never touches the file

    // Closing asks; No keeps the file as it was saved.
    answers.push_back(fw::kIdNo);
    EXPECT_TRUE(view->CanClose());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "FILE.TXT has been changed.  Save changes before closing?");
    EXPECT_EQ(tree.Read("file.txt"), saved);
}

TEST_F(TextUndo, UndoingBackToTheSavedTextClearsTheFlagAndPastItSetsIt)
{
    auto view = Open<TextView>("x\r\n");
    QTest::keyClicks(view.get(), "ab");
    view->CmSave();
    QTest::keyClicks(view.get(), "c");
    view->CmUndo();  // back to the saved "abx"
    EXPECT_FALSE(view->Doc()->Modified());
    view->CmUndo();  // past it: "ax"
    EXPECT_TRUE(view->Doc()->Modified());
    view->CmUndo();  // the loaded text, but no longer the file's
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"x"}));
    EXPECT_TRUE(view->Doc()->Modified());
    EXPECT_EQ(tree.Read("file.txt"), "abx\r\n");
}

TEST_F(TextUndo, AnEditAfterUndoingBelowTheSavedPointNeverClearsTheFlagAgain)
{
    auto view = Open<TextView>("x\r\n");
    QTest::keyClicks(view.get(), "ab");
    view->CmSave();
    view->CmUndo();                      // "ax", below the saved point
    QTest::keyClicks(view.get(), "q");   // "aqx": as many records as when saved
    EXPECT_TRUE(view->Doc()->Modified());
    QTest::keyClicks(view.get(), "r");
    view->CmUndo();                      // the count of the saved text, not its text
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"aqx"}));
    EXPECT_TRUE(view->Doc()->Modified());
    view->CmUndo();
    view->CmUndo();
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"x"}));
    EXPECT_TRUE(view->Doc()->Modified());
}

TEST_F(TextUndo, UndoOfACaseBlindReplaceAllPutsBackTheBytesThatWereReplaced)
{
    auto view = Open<TextView>("Cat and cat\r\n");
    GrepOptions options;
    options.pattern = "CAT";
    options.replacement = "dog";
    ASSERT_TRUE(view->GrepReplace(options, /*replace_all=*/true));
    EXPECT_EQ(tree.Read("file.txt"), "dog and dog\r\n");
    while (view->CanUndo()) view->CmUndo();
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"Cat and cat"}));
    // Back below the saved replacement: the window differs from the file.
    EXPECT_TRUE(view->Doc()->Modified());
    view->CmSave();
    EXPECT_EQ(tree.Read("file.txt"), "Cat and cat\r\n");
}

TEST_F(TextUndo, UndoOfAReplacementSpanningATabOrHoldingACarriageReturnRestoresItsBytes)
{
    // Find works on the text as shown, so "x   y" matches "x<TAB>y" at a
    // tab width of 4; the undo must give the tab back, not the spaces.
    auto view = Open<TextView>("x\ty and a\rb\r\n");
    GrepOptions options;
    options.case_sensitive = true;
    options.pattern = "x   y";
    options.replacement = "1\r1";
    ASSERT_TRUE(view->GrepReplace(options, /*replace_all=*/false));
    options.pattern = "a\rb";
    options.replacement = "2";
    ASSERT_TRUE(view->GrepReplace(options, /*replace_all=*/false));
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"1\r1 and 2"}));
    view->CmUndo();
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"1\r1 and a\rb"}));
    view->CmUndo();
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"x\ty and a\rb"}));
}

class UndoLimitOne : public ViewTest {
protected:
    UndoLimitOne() : ViewTest("[Options]\nundo_limit=0\n") {}
};

TEST_F(UndoLimitOne, OnlyTheLastEditIsKeptAndTheDocumentStaysModified)
{
    auto view = Open<TextView>("abc\n");
    EXPECT_EQ(view->Undo()->Limit(), 1);
    QTest::keyClicks(view.get(), "xy");
    view->CmUndo();
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"xabc"}));
    EXPECT_FALSE(view->CanUndo());
    EXPECT_TRUE(view->Doc()->Modified());
}

class UndoLimitHuge : public ViewTest {
protected:
    UndoLimitHuge() : ViewTest("[Options]\nundo_limit=1000\n[Display]\ntab_stops=20\n") {}
};

TEST_F(UndoLimitHuge, LimitAndTabWidthAreClamped)
{
    auto view = Open<TextView>("abc\n");
    EXPECT_EQ(view->Undo()->Limit(), 512);
    EXPECT_EQ(view->Doc()->TabSize(), 4);
}

} // namespace

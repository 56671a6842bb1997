// Undo in a text window: Ctrl+Z and Clear All reach the editor, a save
// marks the saved point, and the settings give the
// undo limit. What each undo does to the text is told by the editing tables
// (tests/edit).
#include "replace_all_dialog.h"
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

TEST_F(TextUndo, ControlDeleteClearsAllAndUndoBringsItBack)
{
    auto view = Open<TextView>("alpha\r\nbeta\r\n");
    QTest::keyClick(view.get(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{""}));
    EXPECT_EQ(view->Caret(), (TextPosition{0, 0}));
    EXPECT_TRUE(view->Doc()->Modified());
    view->CmUndo();
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"alpha", "beta"}));
    EXPECT_FALSE(view->Doc()->Modified());
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

TEST_F(TextUndo, UndoOfACaseBlindReplaceAllPutsBackTheBytesThatWereReplaced)
{
    auto view = Open<TextView>("Cat and cat\r\n");
    ReplaceAllFromTheTop(*view, {.find = "CAT", .replace = "dog"});
    view->CmSave();
    EXPECT_EQ(tree.Read("file.txt"), "dog and dog\r\n");
    while (view->CanUndo()) view->CmUndo();
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"Cat and cat"}));
    // Back below the saved replacement: the window differs from the file.
    EXPECT_TRUE(view->Doc()->Modified());
    view->CmSave();
    EXPECT_EQ(tree.Read("file.txt"), "Cat and cat\r\n");
}

class UndoLimitOne : public ViewTest {
protected:
    UndoLimitOne() : ViewTest("[Options]\nundo_limit=0\n") {}
};

TEST_F(UndoLimitOne, ALimitOfNoneKeepsOneRecord)
{
    auto view = Open<TextView>("abc\n");
    EXPECT_EQ(view->Undo()->Limit(), 1);
    QTest::keyClicks(view.get(), "xy");
    view->CmUndo();
    EXPECT_FALSE(view->CanUndo());
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

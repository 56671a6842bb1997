// Editing in a text window through the keyboard, as a user types.
#include "view_fixture.h"

#include "docs/text_doc.h"
#include "docs/undo_list.h"
#include "views/text_view.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

namespace {

class TextEditing : public ViewTest {};

void Key(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(w, key, mods);
}

TEST_F(TextEditing, EnterInsideAnIndentedLineCarriesTheIndentAndTheTail)
{
    auto view = Open<TextView>("    abc\n");
    view->MoveCaretTo({0, 6});
    Key(view.get(), Qt::Key_Return);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"    ab", "    c"}));
    EXPECT_EQ(view->Caret(), (TextPosition{1, 4}));
    EXPECT_TRUE(view->Doc()->Modified());
}

TEST_F(TextEditing, EnterAtColumnZeroDoesNotIndentAndAtTheEndIndentsAnEmptyLine)
{
    auto view = Open<TextView>("\tx\n");
    view->MoveCaretTo({0, 0});
    Key(view.get(), Qt::Key_Return);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"", "\tx"}));
    EXPECT_EQ(view->Caret(), (TextPosition{1, 0}));

    Key(view.get(), Qt::Key_End);
    Key(view.get(), Qt::Key_Return);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"", "\tx", "\t"}));
    EXPECT_EQ(view->Caret(), (TextPosition{2, 4}));
}

class NoAutoIndent : public ViewTest {
protected:
    NoAutoIndent() : ViewTest("[Options]\nauto_indent=0\n") {}
};

TEST_F(NoAutoIndent, EnterLeavesTheNewLineUnindented)
{
    auto view = Open<TextView>("    abc");
    EXPECT_FALSE(view->AutoIndent());
    view->MoveCaretTo({0, 6});
    Key(view.get(), Qt::Key_Return);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"    ab", "c"}));
    EXPECT_EQ(view->Caret(), (TextPosition{1, 0}));
}

TEST_F(TextEditing, BackspaceAndDeleteJoinLinesAndDoNothingAtTheEnds)
{
    auto view = Open<TextView>("ab\ncd\n");
    Key(view.get(), Qt::Key_Backspace);  // (0, 0): nothing, nothing recorded
    EXPECT_EQ(view->Undo()->Count(), 0);
    EXPECT_FALSE(view->Doc()->Modified());

    view->MoveCaretTo({1, 0});
    Key(view.get(), Qt::Key_Backspace);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"abcd"}));
    EXPECT_EQ(view->Caret(), (TextPosition{0, 2}));

    Key(view.get(), Qt::Key_Delete);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"abd"}));
    Key(view.get(), Qt::Key_End);
    Key(view.get(), Qt::Key_Delete);  // end of the last line: nothing
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"abd"}));
    EXPECT_EQ(view->Undo()->Count(), 2);

    view->MoveCaretTo({0, 1});
    Key(view.get(), Qt::Key_Backspace);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"bd"}));
    EXPECT_EQ(view->Caret(), (TextPosition{0, 0}));
}

TEST_F(TextEditing, DeleteAtTheEndOfALineJoinsTheNext)
{
    auto view = Open<TextView>("ab\ncd\nef");
    view->MoveCaretTo({0, 2});
    Key(view.get(), Qt::Key_Delete);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"abcd", "ef"}));
    EXPECT_EQ(view->Caret(), (TextPosition{0, 2}));
}

TEST_F(TextEditing, TypingReplacesTheSelectionAndTabsMoveToTheirColumn)
{
    auto view = Open<TextView>("hello world");
    view->MoveCaretTo({0, 0});
    for (int i = 0; i < 5; ++i) Key(view.get(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(view->HasSelection());
    QTest::keyClicks(view.get(), "bye");
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"bye world"}));
    EXPECT_FALSE(view->HasSelection());
    EXPECT_EQ(view->Caret(), (TextPosition{0, 3}));
    Key(view.get(), Qt::Key_Tab);
    EXPECT_EQ(view->Caret(), (TextPosition{0, 4}));
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"bye\t world"}));
}

TEST_F(TextEditing, OverwriteModeWritesOverAndAppendsAtTheEnd)
{
    auto view = Open<TextView>("abc");
    Key(view.get(), Qt::Key_Insert);
    ASSERT_TRUE(view->Overwrite());
    QTest::keyClicks(view.get(), "XY");
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"XYc"}));
    QTest::keyClicks(view.get(), "ZW");
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"XYZW"}));
    view->CmUndo();  // the append is an insertion
    view->CmUndo();  // Z over c
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"XYc"}));
}

TEST_F(TextEditing, ShiftInsertAndControlInsertNeverToggleTheMode)
{
    auto view = Open<TextView>("abc\n");
    auto other = Open<TextView>("xyz\n", "other.txt");
    QGuiApplication::clipboard()->setText("Q");
    Key(view.get(), Qt::Key_Insert, Qt::ShiftModifier);  // paste
    EXPECT_FALSE(view->Overwrite());
    EXPECT_EQ(Lines(*view->Doc())[0], "Qabc");
    view->MoveCaretTo({0, 0});
    Key(view.get(), Qt::Key_Right, Qt::ShiftModifier);
    Key(view.get(), Qt::Key_Insert, Qt::ControlModifier);  // copy
    EXPECT_FALSE(view->Overwrite());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Q");
    Key(view.get(), Qt::Key_Insert);
    EXPECT_TRUE(view->Overwrite());
    EXPECT_FALSE(other->Overwrite());  // each window keeps its own mode
}

TEST_F(TextEditing, CopyCutAndPasteGoThroughTheClipboardAsCrLfText)
{
    auto view = Open<TextView>("one\ntwo\nthree\n");
    view->MoveCaretTo({0, 1});
    Key(view.get(), Qt::Key_Down, Qt::ShiftModifier);
    Key(view.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "ne\r\nt");

    Key(view.get(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"owo", "three"}));
    EXPECT_EQ(view->Caret(), (TextPosition{0, 1}));
    Key(view.get(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"one", "two", "three"}));
    EXPECT_EQ(view->Caret(), (TextPosition{1, 1}));

    for (const char* text : {"A\nB", "A\rB"}) {
        QGuiApplication::clipboard()->setText(text);
        view->MoveCaretTo({2, 5});
        view->CmPaste();
        EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"one", "two", "threeA", "B"}));
        EXPECT_EQ(view->Caret(), (TextPosition{3, 1}));
        view->CmUndo();
        EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"one", "two", "three"}));
    }
}

TEST_F(TextEditing, WholeLinesCopiedEndWithALineBreak)
{
    auto view = Open<TextView>("one\ntwo\n");
    view->CmSelectAll();
    view->CmCopy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "one\r\ntwo\r\n");
}

TEST_F(TextEditing, PastedTextIsStoredAsUtf8)
{
    auto view = Open<TextView>("");
    QGuiApplication::clipboard()->setText(QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC"));
    view->CmPaste();
    EXPECT_EQ(Lines(*view->Doc())[0], "caf\xC3\xA9 \xE2\x82\xAC");
}

} // namespace

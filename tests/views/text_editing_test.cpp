// Keys and the clipboard reach the text window's editor: one case each for
// typing, Enter, Backspace, Delete, Insert and the clipboard keys. What the
// edits do to the text is told by the editing tables (tests/edit).
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

TEST_F(TextEditing, BackspaceAndDeleteReachTheEditor)
{
    auto view = Open<TextView>("ab\ncd\n");
    view->MoveCaretTo({1, 0});
    Key(view.get(), Qt::Key_Backspace);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"abcd"}));
    EXPECT_EQ(view->Caret(), (TextPosition{0, 2}));
    Key(view.get(), Qt::Key_Delete);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"abd"}));
    EXPECT_EQ(view->Undo()->Count(), 2);
    EXPECT_TRUE(view->Doc()->Modified());
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
    view->MoveCaretTo({0, 1});
    QTest::keyClicks(view.get(), "Z");
    EXPECT_EQ(Lines(*view->Doc())[0], "QZbc");
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

    view->CmSelectAll();
    Key(view.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "one\r\ntwo\r\nthree\r\n");
}

TEST_F(TextEditing, PastedTextIsStoredAsUtf8)
{
    auto view = Open<TextView>("");
    QGuiApplication::clipboard()->setText(QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC"));
    view->CmPaste();
    EXPECT_EQ(Lines(*view->Doc())[0], "caf\xC3\xA9 \xE2\x82\xAC");
}

} // namespace

// A text window on text that is not plain ASCII: what a user sees, selects,
// finds, replaces, copies and types there, checked against the saved bytes.
#include "replace_all_dialog.h"
#include "view_fixture.h"

#include "docs/text_doc.h"
#include "views/text_view.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTest>

namespace {

class Utf8Window : public ViewTest {};

// 中文 (four columns) then "naïve", a Latin-1 line, and broken bytes.
const std::string kText = "\xE4\xB8\xAD\xE6\x96\x87 na\xC3\xAFve caf\xC3\xA9\n"
                          "Latin-1 caf\xE9\n"
                          "broken \xC0\xAF\xE2\x82|\n";

TEST_F(Utf8Window, AGrepHitIsSelectedAtItsDisplayColumns)
{
    auto view = Open<TextView>(kText);
    ASSERT_TRUE(view->ShowHit("caf\xC3\xA9", "", 0));
    EXPECT_EQ(view->Anchor(), (TextPosition{0, 11}));
    EXPECT_EQ(view->SelectionEnd(), (TextPosition{0, 15}));
}

TEST_F(Utf8Window, ReplaceAllOfWholeWordsKeepsEveryOtherByte)
{
    auto view = Open<TextView>(kText + "na\xC3\xAFvet\xC3\xA9 na\xC3\xAFve\n");
    ReplaceAllFromTheTop(*view, {.find = "na\xC3\xAFve", .replace = "\xCE\xB1", .whole_words = true});
    view->CmSave();
    EXPECT_EQ(tree.Read("file.txt"), "\xE4\xB8\xAD\xE6\x96\x87 \xCE\xB1 caf\xC3\xA9\n"
                                     "Latin-1 caf\xE9\n"
                                     "broken \xC0\xAF\xE2\x82|\n"
                                     "na\xC3\xAFvet\xC3\xA9 \xCE\xB1\n");
}

TEST_F(Utf8Window, CopyAndPasteGiveBackTheBytesAndOtherProgramsReadUtf8)
{
    auto view = Open<TextView>(kText);
    view->MoveCaretTo({1, 0});
    QTest::keyClick(view.get(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(view.get(), Qt::Key_End, Qt::ShiftModifier);
    view->CmCopy();
    // Another program reads the Latin-1 byte and the broken ones as shown.
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QString("Latin-1 caf") + QChar(0xE9) + "\r\nbroken " + QChar(0xC0) + QChar(0xAF) + QChar(0xE2) +
                  QChar(0x82) + "|\r\n");
    view->MoveCaretTo({0, 0});
    view->CmPaste();
    view->CmSave();
    EXPECT_EQ(tree.Read("file.txt"), "Latin-1 caf\xE9\nbroken \xC0\xAF\xE2\x82|\n" + kText);
}

TEST_F(Utf8Window, TypedCharactersAreStoredAsUtf8)
{
    auto view = Open<TextView>("x\n");
    view->MoveCaretTo({0, 1});
    // As an input method hands them over: one key event per character.
    for (const QString& typed : {QString(" caf"), QString::fromUtf8("\xC3\xA9"), QString(" "),
                                 QString::fromUtf8("\xE4\xB8\xAD")}) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
        QCoreApplication::sendEvent(view.get(), &key);
    }
    EXPECT_EQ(view->Caret(), (TextPosition{0, 9}));
    view->CmSave();
    EXPECT_EQ(tree.Read("file.txt"), "x caf\xC3\xA9 \xE4\xB8\xAD\n");
}

TEST_F(Utf8Window, ADoubleClickSelectsAWordOfAnyScript)
{
    auto view = Open<TextView>(kText);
    const int w = view->CharWidth(), h = view->LineHeight();
    // Column 7 is the ï of "naïve" (columns 5 to 9).
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(7 * w + w / 2, h / 2));
    EXPECT_EQ(view->Anchor(), (TextPosition{0, 5}));
    EXPECT_EQ(view->SelectionEnd(), (TextPosition{0, 10}));
}

} // namespace

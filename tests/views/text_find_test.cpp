// Find, Next, Replace and Replace All in a text window: the find dialog's
// buttons, F3 and Escape reach the find and replace run, and the
// operations the Grep window uses to show a hit. Where each search lands and what each
// replacement does is told by the editing tables (tests/edit).
#include "replace_all_dialog.h"
#include "view_fixture.h"

#include "docs/text_doc.h"
#include "framework/find_replace_dialog.h"
#include "resources/command_ids.h"
#include "views/text_view.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QKeyEvent>
#include <QTest>

#include <algorithm>

namespace {

class TextFind : public ViewTest {};

TEST_F(TextFind, ReplaceAllLeavesNoOccurrenceBehind)
{
    auto view = Open<TextView>("aaaa\nxaay\naa\n");
    ReplaceAllFromTheTop(*view, {.find = "a", .replace = "b", .match_case = true});
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"bbbb", "xbby", "bb"}));
    view->CmSave();
    EXPECT_EQ(tree.Read("file.txt"), "bbbb\nxbby\nbb\n");  // saved with the file's own line ends
    EXPECT_FALSE(view->Doc()->Modified());
}

TEST_F(TextFind, FindDownTakesAnOccurrenceAtTheCaretAndNextMovesOn)
{
    auto view = Open<TextView>("abab\nab\n");
    view->PrepareFind("ab", "");
    view->MoveCaretTo({0, 0});
    view->CmNext();
    EXPECT_EQ(view->Anchor(), (TextPosition{0, 0}));
    EXPECT_EQ(view->SelectionEnd(), (TextPosition{0, 2}));
    EXPECT_TRUE(view->CanNext());
    QTest::keyClick(view.get(), Qt::Key_F3);
    EXPECT_EQ(view->Anchor(), (TextPosition{0, 2}));
    QTest::keyClick(view.get(), Qt::Key_F3);
    EXPECT_EQ(view->Anchor(), (TextPosition{1, 0}));
    messages.clear();
    QTest::keyClick(view.get(), Qt::Key_F3);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_FALSE(view->CanNext());
}

TEST_F(TextFind, FindUpTakesAnOccurrenceEndingAtTheCaretAndMovesOnToAdjacentOnes)
{
    auto view = Open<TextView>("abab\n");
    view->PrepareFind("ab", "");
    view->MoveCaretTo({0, 4});
    view->Dialog()->upButton()->setChecked(true);
    view->CmNext();
    EXPECT_EQ(view->Caret(), (TextPosition{0, 2}));
    view->CmNext();
    EXPECT_EQ(view->Caret(), (TextPosition{0, 0}));
}

TEST_F(TextFind, TheReplaceDialogRunsOneOperationPerPress)
{
    auto view = Open<TextView>("red red red\n");
    view->MoveCaretTo({0, 0});
    view->ExecuteCommand(cmd::kSearchReplace);
    FindReplaceDialog* dialog = view->Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(view->OpenDialogKind(), cmd::kSearchReplace);
    dialog->findField()->setText("red");
    dialog->replaceField()->setText("blue");
    QTest::mouseClick(dialog->replaceButton(), Qt::LeftButton);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"blue red red"}));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(view->OpenDialogKind(), cmd::kNone);
    EXPECT_EQ(view->Doc()->Options().search_patt, "red");
    EXPECT_EQ(view->Doc()->Options().replace_patt, "blue");

    view->ExecuteCommand(cmd::kSearchReplace);
    dialog = view->Dialog();
    dialog->findField()->setText("red");
    dialog->replaceField()->setText("blue");
    QTest::mouseClick(dialog->replaceAllButton(), Qt::LeftButton);
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{"blue blue blue"}));
}

TEST_F(TextFind, TheFindDialogStartsWithASelectionOnOneLine)
{
    auto view = Open<TextView>("find me here\n");
    view->MoveCaretTo({0, 5});
    QTest::keyClick(view.get(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(view.get(), Qt::Key_Right, Qt::ShiftModifier);
    view->CmFind();
    ASSERT_NE(view->Dialog(), nullptr);
    EXPECT_EQ(view->Dialog()->findField()->text(), "me");
    EXPECT_EQ(view->OpenDialogKind(), cmd::kSearchFind);
}

TEST_F(TextFind, FindWithASelectionHoldingATabFindsThatText)
{
    auto view = Open<TextView>("key\tvalue\nother\nkey\tvalue\n");
    view->MoveCaretTo({0, 0});
    for (int i = 0; i < 5; ++i) QTest::keyClick(view.get(), Qt::Key_Right, Qt::ShiftModifier);
    view->CmFind();
    ASSERT_NE(view->Dialog(), nullptr);
    EXPECT_EQ(view->Dialog()->findField()->text(), "key\tv");
    QTest::mouseClick(view->Dialog()->findNextButton(), Qt::LeftButton);
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_EQ(view->Anchor(), (TextPosition{2, 0}));
    EXPECT_EQ(view->SelectionEnd(), (TextPosition{2, 5}));  // the tab spans columns 3 and 4
}

TEST_F(TextFind, EscapeStopsAReplaceAllWhereItIs)
{
    constexpr int kLines = 200000;
    std::string bytes;
    for (int i = 0; i < kLines; ++i) bytes += "a\n";
    auto view = Open<TextView>(bytes);
    view->ExecuteCommand(cmd::kSearchReplace);
    FindReplaceDialog* dialog = view->Dialog();
    ASSERT_NE(dialog, nullptr);
    dialog->findField()->setText("a");
    dialog->replaceField()->setText("b");
    // Waiting until the run lets events in between two replacements.
    QCoreApplication::postEvent(view.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    QTest::mouseClick(dialog->replaceAllButton(), Qt::LeftButton);
    const Lines_t lines = Lines(*view->Doc());
    const auto firstLeft = std::find(lines.begin(), lines.end(), "a");
    const long replaced = firstLeft - lines.begin();
    EXPECT_GT(replaced, 0);
    EXPECT_LT(replaced, kLines);
    EXPECT_EQ(std::count(firstLeft, lines.end(), "a"), kLines - replaced);  // the rest untouched
    EXPECT_TRUE(messages.empty());
    // The window takes keys again.
    QTest::keyClick(view.get(), Qt::Key_Delete);
    EXPECT_TRUE(view->CanUndo());
}

TEST_F(TextFind, AHitRightOfTheWindowIsShownWhole)
{
    auto view = Open<TextView>("short\n" + std::string(300, '.') + "needle in the haystack\n");
    ASSERT_LT(view->ColumnsPerPage(), 300);
    ASSERT_TRUE(view->ShowHit("needle in the haystack", "", 1));
    const int left = view->LeftColumn(), right = left + view->ColumnsPerPage();
    EXPECT_LE(left, 300);
    EXPECT_LE(view->SelectionEnd().column, right);
    EXPECT_EQ(view->Caret(), (TextPosition{1, 300}));

    // A hit wider than the window shows its start.
    auto narrow = Open<TextView>(std::string(200, 'x') + "\n", "narrow.txt");
    narrow->resize(160, 200);
    ASSERT_TRUE(narrow->ShowHit(std::string(150, 'x'), "", 0));
    EXPECT_EQ(narrow->LeftColumn(), 0);
}

TEST_F(TextFind, ShowHitSelectsTheFirstOccurrenceOnTheLineInAnyCase)
{
    auto view = Open<TextView>("nothing\nthe Needle and needle\n");
    EXPECT_TRUE(view->ShowHit("needle", "pin", 1));
    EXPECT_EQ(view->Anchor(), (TextPosition{1, 4}));
    EXPECT_EQ(view->SelectionEnd(), (TextPosition{1, 10}));
    EXPECT_EQ(view->Caret(), (TextPosition{1, 4}));
    EXPECT_TRUE(view->CanNext());
    EXPECT_EQ(view->Doc()->Options().search_patt, "needle");
    EXPECT_EQ(view->Doc()->Options().replace_patt, "pin");
    ASSERT_NE(view->Dialog(), nullptr);
    EXPECT_FALSE(view->Dialog()->isVisible());
    EXPECT_FALSE(view->ShowHit("needle", "", 0));
    EXPECT_FALSE(view->ShowHit("needle", "", 5));
}

} // namespace

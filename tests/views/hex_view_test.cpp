// The hex-dump window: movement keys, no typing, Go to offset and its
// rules, load failures.
#include "view_fixture.h"

#include "docs/hex_doc.h"
#include "framework/input_dialog.h"
#include "resources/command_ids.h"
#include "views/hex_view.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <cstdio>
#include <unistd.h>

namespace {

class HexViewTest : public ViewTest {
protected:
    std::unique_ptr<HexView> Hundred() { return Open<HexView>(std::string(100, 'A'), "data.bin"); }

    // Answers the Go to Offset dialog with `text`; returns the prompt shown.
    QString GoTo(HexView& view, const QString& text)
    {
        QString prompt;
        WhenModal([&prompt, text](QWidget* w) {
            auto* dialog = qobject_cast<InputDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "Go to Offset");
            prompt = dialog->findChild<QLabel*>()->text();
            dialog->field()->setText(text);
            dialog->accept();
        });
        view.ExecuteCommand(cmd::kSearchGoTo);
        return prompt;
    }
};

TEST_F(HexViewTest, OffsetsUpToTheFileSizeAreAcceptedAndOthersRefused)
{
    auto view = Hundred();
    ASSERT_EQ(view->Doc()->LineCount(), 7);
    EXPECT_EQ(GoTo(*view, "64"), "Enter byte offset (hex 00000000 - 00000064):");
    EXPECT_EQ(view->Caret().line, 6);
    GoTo(*view, "1F");
    EXPECT_EQ(view->Caret().line, 1);
    GoTo(*view, "0");
    EXPECT_EQ(view->Caret().line, 0);
    EXPECT_TRUE(messages.empty());
    GoTo(*view, "65");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Offset #101 is not a valid byte offset.");
    EXPECT_EQ(view->Caret().line, 0);
    EXPECT_EQ(view->RowOfOffset("0x40"), std::optional<int>(0));  // a typed prefix reads as 0
    EXPECT_EQ(view->RowOfOffset("20zz"), std::optional<int>(2));
}

TEST_F(HexViewTest, EnsureLoadedReadsTheFileOnceAndTellsTheFrame)
{
    const std::string path = tree.Write("data.bin", std::string(40, 'B'));
    HexView view(path);
    QSignalSpy changed(&view, &EditView::commandStateChanged);
    EXPECT_FALSE(view.Loaded());
    view.EnsureLoaded();
    ASSERT_TRUE(view.Loaded());
    EXPECT_EQ(view.Doc()->LineCount(), 3);
    EXPECT_GE(changed.count(), 1);

    // The load the first show would post finds it done: it would put the
    // caret back at the start.
    view.MoveCaretTo({2, 0});
    view.resize(400, 300);
    view.show();
    for (int i = 0; i < 5; ++i) PumpWaitingMessages();
    EXPECT_EQ(view.Doc()->LineCount(), 3);
    EXPECT_EQ(view.Caret().line, 2);
    EXPECT_TRUE(messages.empty());
}

TEST_F(HexViewTest, AnEmptyFileHasNoRowAndNoValidOffset)
{
    auto view = Open<HexView>("", "empty.bin");
    EXPECT_EQ(view->Doc()->LineCount(), 0);
    EXPECT_FALSE(view->RowOfOffset("0").has_value());
    view->repaint();
    QTest::keyClick(view.get(), Qt::Key_End);
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(view->Caret(), (TextPosition{0, 0}));
}

TEST_F(HexViewTest, MovementKeysAndNoTyping)
{
    auto view = Hundred();
    const std::string before(view->Doc()->GetLine(0)->View());
    QTest::keyClicks(view.get(), "zz");
    EXPECT_EQ(std::string(view->Doc()->GetLine(0)->View()), before);
    EXPECT_FALSE(view->Doc()->Modified());

    QTest::keyClick(view.get(), Qt::Key_End);
    EXPECT_EQ(view->Caret(), (TextPosition{0, 80}));
    QTest::keyClick(view.get(), Qt::Key_Right);
    EXPECT_EQ(view->Caret(), (TextPosition{1, 0}));
    QTest::keyClick(view.get(), Qt::Key_Left);
    EXPECT_EQ(view->Caret(), (TextPosition{0, 80}));
    QTest::keyClick(view.get(), Qt::Key_Home);
    EXPECT_EQ(view->Caret(), (TextPosition{0, 0}));
    QTest::keyClick(view.get(), Qt::Key_Right);
    EXPECT_EQ(view->Caret(), (TextPosition{0, 1}));
    QTest::keyClick(view.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view->Caret(), (TextPosition{6, 80}));
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(view->Caret().line, 6);
    QTest::keyClick(view.get(), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(view->Caret().line, 5);
    QTest::keyClick(view.get(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(view->Caret(), (TextPosition{0, 0}));
    QTest::keyClick(view.get(), Qt::Key_Insert);
    EXPECT_TRUE(view->Overwrite());
}

TEST_F(HexViewTest, AFileThatCannotBeReadIsReportedAndTheWindowCloses)
{
    auto view = std::make_unique<HexView>(tree.Path("missing.bin"));
    QPointer<HexView> watch(view.get());
    view->show();
    for (int i = 0; i < 10 && view->isVisible(); ++i) PumpWaitingMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error [1] : Opening file " + tree.Path("missing.bin") + ".");
    EXPECT_FALSE(view->isVisible());
    EXPECT_EQ(view->objectName(), "Hex_View 1.0");
}

TEST_F(HexViewTest, SaveAsNeverWritesTheDumpOverTheFileItShows)
{
    const std::string bytes("\x7f" "ELF\0\1\2binary", 14);
    auto view = Open<HexView>(bytes, "prog.bin");
    const std::string path = tree.Path("prog.bin");
    ASSERT_EQ(::symlink(path.c_str(), tree.Path("link.bin").c_str()), 0);
    ASSERT_EQ(::link(path.c_str(), tree.Path("other-name.bin").c_str()), 0);
    for (const std::string& name : {path, tree.Path("link.bin"), tree.Path("other-name.bin")}) {
        messages.clear();
        view->SaveAs(name);
        ASSERT_EQ(messages.size(), 1u) << name;
        EXPECT_EQ(messages[0], name + " is the file this window shows.\r  Its dump cannot be saved over it: nothing was written.");
        EXPECT_EQ(tree.Read("prog.bin"), bytes);
    }
    EXPECT_EQ(view->Doc()->FileName(), path);

    // Another name takes the dump as text.
    messages.clear();
    view->SaveAs(tree.Path("dump.txt"));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(tree.Read("dump.txt").substr(0, 9), "00000000\t");
    EXPECT_EQ(tree.Read("prog.bin"), bytes);
}

TEST_F(HexViewTest, ADeviceOrADirectoryIsReportedLikeAFileThatCannotBeOpened)
{
    for (const std::string& path : {std::string("/dev/zero"), tree.MakeDir("folder")}) {
        messages.clear();
        auto view = std::make_unique<HexView>(path);
        view->show();
        for (int i = 0; i < 10 && view->isVisible(); ++i) PumpWaitingMessages();
        ASSERT_EQ(messages.size(), 1u) << path;
        EXPECT_EQ(messages[0], "Error [1] : Opening file " + path + ".");
        EXPECT_FALSE(view->isVisible());
    }
}

TEST_F(HexViewTest, HugeFilesPageAndGoToTheirEnd)
{
    const std::string path = tree.Write("huge.bin", "");
    // 10 GB, then past what an int counts in rows: the view's row
    // arithmetic must hold at the last row the document gives.
    for (const long long size : {10LL << 30, 40LL << 30}) {
        ASSERT_EQ(::truncate(path.c_str(), size), 0);
        auto view = OpenPath<HexView>(path);
        ASSERT_TRUE(view->Loaded());
        const int last = view->Doc()->LineCount() - 1;
        EXPECT_EQ(last, size == (10LL << 30) ? (10 << 26) - 1 : HexDoc::kMaxRows - 1);
        QTest::keyClick(view.get(), Qt::Key_End, Qt::ControlModifier);
        EXPECT_EQ(view->Caret().line, last);
        view->viewport()->repaint();
        QTest::keyClick(view.get(), Qt::Key_PageDown);
        QTest::keyClick(view.get(), Qt::Key_Down);
        EXPECT_EQ(view->Caret().line, last);
        QTest::keyClick(view.get(), Qt::Key_Home, Qt::ControlModifier);
        EXPECT_EQ(view->Caret().line, 0);
        char end[32];
        std::snprintf(end, sizeof end, "%llX", static_cast<unsigned long long>(view->Doc()->FileSize()));
        GoTo(*view, end);
        EXPECT_EQ(view->Caret().line, last);
        view->viewport()->repaint();
        EXPECT_TRUE(messages.empty());
    }
}

TEST_F(HexViewTest, AFileCutShortOrRemovedWhileShownLeavesTheWindowWorking)
{
    auto view = Open<HexView>(std::string(5000, 'A'), "data.bin");
    ASSERT_EQ(view->Doc()->LineCount(), 313);
    view->viewport()->repaint();
    ASSERT_EQ(::truncate(tree.Path("data.bin").c_str(), 20), 0);
    view->viewport()->repaint();
    EXPECT_EQ(view->Doc()->GetLine(1)->View().substr(59, 5), "AAAA ");
    QTest::keyClick(view.get(), Qt::Key_End, Qt::ControlModifier);
    view->viewport()->repaint();
    EXPECT_EQ(view->Caret().line, 312);
    EXPECT_EQ(view->Doc()->GetLine(312)->View().substr(9, 3), "   ");
    ASSERT_EQ(::unlink(tree.Path("data.bin").c_str()), 0);
    QTest::keyClick(view.get(), Qt::Key_PageUp);
    view->viewport()->repaint();
    EXPECT_EQ(view->Doc()->GetLine(0)->View().substr(59), std::string(16, 'A'));
    EXPECT_TRUE(messages.empty());
}

class HexTabs : public ViewTest {
protected:
    HexTabs() : ViewTest("[Display]\ntab_stops=17\n") {}
};

TEST_F(HexTabs, AnInvalidTabWidthLaysRowsOutWithFour)
{
    auto view = Open<HexView>(std::string(20, 'x'), "d.bin");
    EXPECT_EQ(view->Doc()->TabSize(), 4);
    EXPECT_EQ(view->Doc()->LineWidth(view->Doc()->GetLine(1)), 80);
}

} // namespace

// The text window's life: loading, titles, Save and Save As, Go to line and
// the question on closing.
#include "view_fixture.h"

#include "docs/text_doc.h"
#include "framework/input_dialog.h"
#include "resources/command_ids.h"
#include "support/recording_frame.h"
#include "settings/profile.h"
#include "views/text_view.h"
#include "views/window_caption.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <vector>


namespace {

class TextWindow : public ViewTest {};

TEST_F(TextWindow, LoadsAfterItIsShownAndTakesItsTitleFromTheFileName)
{
    const std::string path = tree.Write("notes.txt", "one\ntwo\n");
    TextView view(path);
    EXPECT_FALSE(view.Loaded());
    EXPECT_EQ(view.windowTitle(), "NOTES.TXT");
    EXPECT_EQ(view.objectName(), "Edit_View 1.0");
    view.resize(400, 300);
    view.show();
    for (int i = 0; i < 10 && !view.Loaded(); ++i) PumpWaitingMessages();
    ASSERT_TRUE(view.Loaded());
    EXPECT_EQ(Lines(*view.Doc()), (Lines_t{"one", "two"}));
    EXPECT_EQ(view.Caret(), (TextPosition{0, 0}));
    EXPECT_TRUE(messages.empty());
}

// A file larger than one read step shows its first lines while the rest is
// read between events; a key pressed meanwhile reads the rest first.
TEST_F(TextWindow, ALargeFileLoadsInStepsAndAKeyMeanwhileWaitsForTheWholeText)
{
    const int total = 2 * int(TextDoc::kLoadStepBytes / 32) + 100;
    std::string bytes;
    for (int i = 0; i < total; ++i) bytes += "line of thirty-two bytes: " + std::to_string(100000 + i) + "\n";
    const std::string path = tree.Write("big.txt", bytes);

    for (const bool typeWhileLoading : {false, true}) {
        SCOPED_TRACE(typeWhileLoading);
        TextView view(path);
        view.resize(400, 300);
        view.show();
        for (int i = 0; i < 50 && view.Doc()->LineCount() == 0; ++i) PumpWaitingMessages();
        ASSERT_FALSE(view.Loaded());
        ASSERT_TRUE(view.Doc()->Loading());
        EXPECT_GT(view.Doc()->LineCount(), 0);
        EXPECT_LT(view.Doc()->LineCount(), total);
        EXPECT_EQ(view.Caret(), (TextPosition{0, 0}));

        if (typeWhileLoading) {
            QTest::keyClicks(&view, "x");
            EXPECT_TRUE(view.Loaded());
            EXPECT_EQ(view.Doc()->LineCount(), total);
            EXPECT_EQ(view.Doc()->GetLine(0)->View(), "xline of thirty-two bytes: 100000");
            EXPECT_TRUE(view.Doc()->Modified());
        } else {
            for (int i = 0; i < 50 && !view.Loaded(); ++i) PumpWaitingMessages();
            ASSERT_TRUE(view.Loaded());
            EXPECT_EQ(view.Doc()->LineCount(), total);
            EXPECT_FALSE(view.Doc()->Modified());
            ASSERT_TRUE(view.Doc()->Save());
            EXPECT_EQ(tree.Read("big.txt"), bytes);
        }
        EXPECT_TRUE(messages.empty());
    }
}

// The focused window's load gauge climbs with each step and goes once the
// whole file is in; a window without the focus leaves the gauge alone.
TEST_F(TextWindow, TheLoadGaugeFollowsTheFocusedWindowsRead)
{
    std::string bytes;
    while (bytes.size() < 5 * TextDoc::kLoadStepBytes + 100) bytes += "a line of text to fill the file\n";
    const std::string path = tree.Write("gauge.txt", bytes);

    for (const bool focused : {true, false}) {
        SCOPED_TRACE(focused);
        RecordingFrame frame;
        QWidget holder;
        auto* layout = new QVBoxLayout(&holder);
        auto* other = new QLineEdit;
        layout->addWidget(other);
        auto* view = new TextView(path);
        layout->addWidget(view);
        holder.resize(400, 300);
        holder.show();
        holder.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&holder));
        (focused ? static_cast<QWidget*>(view) : other)->setFocus();
        for (int i = 0; i < 50 && !view->Loaded(); ++i) PumpWaitingMessages();
        ASSERT_TRUE(view->Loaded());
        if (!focused) {
            EXPECT_TRUE(std::ranges::none_of(frame.progress, [](int p) { return p >= 0; }));
            continue;
        }
        std::vector<int> shown;
        for (int p : frame.progress)
            if (p >= 0 && (shown.empty() || shown.back() != p)) shown.push_back(p);
        EXPECT_GE(shown.size(), 3u);
        EXPECT_TRUE(std::ranges::is_sorted(shown));
        EXPECT_LT(shown.back(), 100);
        ASSERT_FALSE(frame.progress.empty());
        EXPECT_LT(frame.progress.back(), 0);
    }
}

TEST_F(TextWindow, WhatIsTypedBeforeTheLoadRunsIsKept)
{
    TextView view(tree.Write("early.txt", "abc\n"));
    QTest::keyClicks(&view, "xy");
    EXPECT_TRUE(view.Loaded());
    view.resize(400, 300);
    view.show();
    for (int i = 0; i < 10; ++i) PumpWaitingMessages();
    EXPECT_EQ(Lines(*view.Doc()), (Lines_t{"xyabc"}));
    EXPECT_TRUE(view.Doc()->Modified());
}

TEST_F(TextWindow, AFileThatVanishedKeepsItsWindowWithOneEmptyLineAndSaysSo)
{
    auto view = OpenPath<TextView>(tree.Path("gone.txt"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "File Error (1):\r  Unable to open file.");
    EXPECT_EQ(Lines(*view->Doc()), (Lines_t{""}));
    EXPECT_EQ(view->Doc()->Error(), 0);
}

TEST_F(TextWindow, UntitledWindowsCountUpAndSaveAsksForAName)
{
    const int first = NextUntitledNumber();
    TextView a("");
    TextView b("");
    EXPECT_EQ(a.windowTitle(), QString("untitled%1").arg(first));
    EXPECT_EQ(b.windowTitle(), QString("untitled%1").arg(first + 1));
    EXPECT_FALSE(a.CanSave());

    QTest::keyClicks(&a, "hello");
    EXPECT_FALSE(a.CanSave());  // no name yet: the menu item stays disabled
    // ...but Save itself (the close query's Yes) works as Save As.
    const std::string target = tree.Path("saved.txt");
    WhenModal([target](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(QString::fromStdString(target));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    a.CmSave();
    EXPECT_EQ(tree.Read("saved.txt"), "hello\r\n");
    EXPECT_EQ(a.windowTitle(), "SAVED.TXT");
    EXPECT_FALSE(a.Doc()->Modified());
}

TEST_F(TextWindow, SaveAsStartsInTheFolderOfTheLastFileOpen)
{
    // A fresh run: the program was started elsewhere, the settings name
    // the folder File Open last went to.
    const std::string last = tree.MakeDir("last folder");
    const std::string started = tree.MakeDir("started here");
    profile::WriteString("Extensions", "Path", last, settings_.path());
    const QString old = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(started));
    QString shown;
    WhenModal([&shown](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        shown = dialog->directory().canonicalPath();
        dialog->reject();
    });
    TextView view("");
    view.CmSaveAs();
    QDir::setCurrent(old);
    EXPECT_EQ(shown, QDir(QString::fromStdString(last)).canonicalPath());
}

TEST_F(TextWindow, ASaveThatFailsKeepsTheFileAndTheModifiedMark)
{
    auto view = Open<TextView>("keep\n", "dir/file.txt");
    QTest::keyClicks(view.get(), "x");
    // The folder goes away and a plain file takes its name: nothing can be
    // written there, whatever the rights the tests run with.
    std::filesystem::rename(tree.Path("dir"), tree.Path("moved"));
    tree.Write("dir", "not a folder");
    view->CmSave();
    EXPECT_EQ(messages.back(), "File Error (1):\r  Unable to open file.");
    EXPECT_TRUE(view->Doc()->Modified());
    EXPECT_TRUE(view->CanSave());
    EXPECT_EQ(tree.Read("moved/file.txt"), "keep\n");
    EXPECT_EQ(tree.Read("dir"), "not a folder");
}

TEST_F(TextWindow, TheCloseQueryAnswersCancelNoAndYes)
{
    auto view = Open<TextView>("text\n");
    QTest::keyClicks(view.get(), "x");

    answers = {fw::kIdCancel};
    EXPECT_FALSE(view->CanClose());
    EXPECT_EQ(messages.back(), "FILE.TXT has been changed.  Save changes before closing?");
    EXPECT_EQ(profile::ReadString("SchOpts", "down", "", 10), "");  // nothing written

    view->Doc()->Options().search_patt = "remembered";
    answers = {fw::kIdNo};
    EXPECT_TRUE(view->CanClose());
    EXPECT_EQ(tree.Read("file.txt"), "text\n");
    EXPECT_EQ(profile::ReadString("SchOpts", "search_patt", "", 127), "remembered");

    answers = {fw::kIdYes};
    EXPECT_TRUE(view->CanClose());
    EXPECT_EQ(tree.Read("file.txt"), "xtext\n");
}

TEST_F(TextWindow, GoToLineMovesTheCaretOrRefusesTheNumber)
{
    auto view = Open<TextView>("a\nbb\nccc\n");
    view->MoveCaretTo({0, 1});
    WhenModal([](QWidget* w) {
        auto* dialog = qobject_cast<InputDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Go to line");
        EXPECT_EQ(dialog->findChild<QLabel*>()->text(), "Enter line number (1 - 3):");
        EXPECT_EQ(dialog->field()->text(), "1");
        dialog->field()->setText("3");
        dialog->accept();
    });
    view->ExecuteCommand(cmd::kSearchGoTo);
    EXPECT_EQ(view->Caret(), (TextPosition{2, 1}));

    for (const char* bad : {"0", "-2", "4", "abc"}) {
        messages.clear();
        WhenModal([bad](QWidget* w) {
            auto* dialog = qobject_cast<InputDialog*>(w);
            dialog->field()->setText(bad);
            dialog->accept();
        });
        view->CmGoTo();
        ASSERT_EQ(messages.size(), 1u) << bad;
        EXPECT_NE(messages[0].find("is not a valid line number."), std::string::npos);
        EXPECT_EQ(view->Caret(), (TextPosition{2, 1}));
    }
}

TEST_F(TextWindow, BinaryBytesAndAVeryLongLineLoadAndScrollToTheEnd)
{
    std::string bytes("\0\x01\xFF", 3);
    bytes += std::string(50000, 'w') + "\n";
    auto view = Open<TextView>(bytes);
    ASSERT_EQ(view->Doc()->LineCount(), 1);
    EXPECT_EQ(view->Doc()->GetLine(0)->Length(), 50003);
    QTest::keyClick(view.get(), Qt::Key_End);
    EXPECT_EQ(view->Caret(), (TextPosition{0, 50003}));
    EXPECT_GT(view->LeftColumn(), 50003 - view->ColumnsPerPage() - 1);
    view->repaint();  // paints the columns in view only
    EXPECT_TRUE(view->Doc()->Save());
    EXPECT_EQ(tree.Read("file.txt"), bytes);
}

} // namespace

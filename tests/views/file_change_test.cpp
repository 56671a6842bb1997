// A text or hex window whose file another program changes: reloaded at
// once when the window has no changes of its own, asked about once when it
// has, shown as deleted when it is gone; Save asks before it writes over a
// changed file and never writes over a file the window could not read.
#include "docs/alloc_gate.h"
#include "docs/hex_doc.h"
#include "docs/text_doc.h"
#include "resources/strings.h"
#include "view_fixture.h"
#include "views/file_watch.h"
#include "views/hex_view.h"
#include "views/text_view.h"

#include <QTest>
#include <QThread>

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace {

constexpr std::string_view kOriginal = "one\ntwo\nthree\n";
const std::string kChanged = "FILE.TXT has changed on disk. Reload it and lose your changes?";
const std::string kSaveOver = "FILE.TXT has changed on disk since it was loaded. Save over it?";

enum class Outside { kRenameOver, kAppend, kTruncate, kDelete };

// Changes the file as another program would; returns what it holds then.
std::string ChangeOutside(const TempTree& tree, const std::string& path, Outside how)
{
    switch (how) {
        case Outside::kRenameOver: {
            const std::string fresh = tree.Write("fresh.txt", "their\nnew\nfile\n");
            EXPECT_EQ(std::rename(fresh.c_str(), path.c_str()), 0);
            return "their\nnew\nfile\n";
        }
        case Outside::kAppend:
            std::ofstream(path, std::ios::app) << "appended\n";
            return std::string(kOriginal) + "appended\n";
        case Outside::kTruncate:
            EXPECT_EQ(::truncate(path.c_str(), 4), 0);
            return "one\n";
        case Outside::kDelete:
            EXPECT_EQ(::unlink(path.c_str()), 0);
            return {};
    }
    return {};
}

Lines_t LinesOfText(std::string_view text)
{
    Lines_t lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        lines.emplace_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

class FileChange : public ViewTest {
protected:
    // Pumps events until `done` holds, for what only the file watcher tells.
    template <class F>
    bool Eventually(F done)
    {
        for (int i = 0; i < 500 && !done(); ++i) {
            PumpWaitingMessages();
            QThread::msleep(10);
        }
        return done();
    }
};

struct OutsideCase {
    const char* what;
    Outside how;
};
const OutsideCase kOutsideCases[] = {
    {"renamed over", Outside::kRenameOver},
    {"appended to", Outside::kAppend},
    {"truncated", Outside::kTruncate},
    {"deleted", Outside::kDelete},
};

TEST_F(FileChange, AWindowWithoutChangesFollowsTheFileAndSavesWhatItShows)
{
    for (const OutsideCase& c : kOutsideCases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        auto view = Open<TextView>(kOriginal);
        ASSERT_TRUE(view->Loaded());
        const std::string path = view->Doc()->FileName();
        const std::string now = ChangeOutside(tree, path, c.how);
        view->LookAtDisk();
        EXPECT_TRUE(messages.empty());
        EXPECT_FALSE(view->Doc()->Modified());
        if (c.how == Outside::kDelete) {
            // The text stays, the caption says the file is gone, and Save
            // writes it again.
            EXPECT_EQ(Lines(*view->Doc()), LinesOfText(kOriginal));
            EXPECT_EQ(view->windowTitle(), "FILE.TXT (deleted)");
            EXPECT_TRUE(view->CanSave());
            view->CmSave();
            EXPECT_EQ(tree.Read("file.txt"), kOriginal);
            EXPECT_EQ(view->windowTitle(), "FILE.TXT");
        } else {
            EXPECT_EQ(Lines(*view->Doc()), LinesOfText(now));
            EXPECT_EQ(view->windowTitle(), "FILE.TXT");
            QTest::keyClicks(view.get(), "X");
            view->CmSave();
            EXPECT_EQ(tree.Read("file.txt"), "X" + now);
        }
        EXPECT_TRUE(messages.empty()) << messages.front();
    }
}

TEST_F(FileChange, AWindowWithChangesAsksOnceAndSaveAsksBeforeItWritesOverTheFile)
{
    for (const OutsideCase& c : kOutsideCases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        auto view = Open<TextView>(kOriginal);
        QTest::keyClicks(view.get(), "X");
        const std::string mine = "X" + std::string(kOriginal);
        const std::string now = ChangeOutside(tree, view->Doc()->FileName(), c.how);
        answers = {fw::kIdNo};  // Keep Mine
        view->LookAtDisk();
        view->LookAtDisk();
        EXPECT_EQ(Lines(*view->Doc()), LinesOfText(mine));
        EXPECT_TRUE(view->Doc()->Modified());
        if (c.how == Outside::kDelete) {
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(view->windowTitle(), "FILE.TXT (deleted)");
            answers.clear();
            view->CmSave();
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(tree.Read("file.txt"), mine);
            continue;
        }
        EXPECT_EQ(messages, (std::vector<std::string>{kChanged}));
        // Save asks; No writes nothing, Yes writes the window's text.
        messages.clear();
        answers = {fw::kIdNo};
        view->CmSave();
        EXPECT_EQ(messages, (std::vector<std::string>{kSaveOver}));
        EXPECT_EQ(tree.Read("file.txt"), now);
        EXPECT_TRUE(view->Doc()->Modified());
        answers = {fw::kIdYes};
        view->CmSave();
        EXPECT_EQ(tree.Read("file.txt"), mine);
        EXPECT_FALSE(view->Doc()->Modified());
        // Saved: the next look finds the program's own file.
        messages.clear();
        view->LookAtDisk();
        EXPECT_TRUE(messages.empty());
    }
}

TEST_F(FileChange, TheQuestionOffersReloadAndKeepMineAndReloadTakesTheFile)
{
    fw::MessageRequest asked;
    const fw::MessageHook previous = fw::SetMessageHook([&](const fw::MessageRequest& request) {
        asked = request;
        return int(fw::kIdYes);
    });
    auto view = Open<TextView>(kOriginal);
    QTest::keyClicks(view.get(), "X");
    const std::string now = ChangeOutside(tree, view->Doc()->FileName(), Outside::kAppend);
    view->LookAtDisk();
    fw::SetMessageHook(previous);
    EXPECT_EQ(asked.text.toStdString(), kChanged);
    EXPECT_EQ(asked.yes_text, "Reload");
    EXPECT_EQ(asked.no_text, "Keep Mine");
    EXPECT_EQ(Lines(*view->Doc()), LinesOfText(now));
    EXPECT_FALSE(view->Doc()->Modified());
    EXPECT_FALSE(view->CanUndo());  // the records were of the text replaced
}

TEST_F(FileChange, TheProgramsOwnSaveIsNoChange)
{
    auto view = Open<TextView>(kOriginal);
    QTest::keyClicks(view.get(), "X");
    view->CmSave();
    view->LookAtDisk();
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(view->CanUndo());  // no reload cleared them
    EXPECT_EQ(view->Doc()->GetLine(0)->View(), "Xone");
}

TEST_F(FileChange, AReloadKeepsTheCaretLineAndTheTopLine)
{
    std::string text;
    for (int i = 0; i < 300; ++i) text += "line " + std::to_string(i) + "\n";
    auto view = Open<TextView>(text);
    view->MoveCaretTo({250, 3});
    const int top = view->TopLine();
    ASSERT_GT(top, 100);
    view->MoveCaretTo({top + 2, 3});
    ASSERT_EQ(view->TopLine(), top);
    ChangeOutside(tree, view->Doc()->FileName(), Outside::kAppend);
    view->LookAtDisk();
    EXPECT_EQ(view->Doc()->LineCount(), 301);
    EXPECT_EQ(view->TopLine(), top);
    EXPECT_EQ(view->Caret(), (TextPosition{top + 2, 3}));
    // A file cut short puts the caret on its last line.
    ASSERT_EQ(::truncate(view->Doc()->FileName().c_str(), 4 * 7), 0);  // "line 0\n".."line 3\n"
    view->LookAtDisk();
    EXPECT_EQ(view->Doc()->LineCount(), 4);
    EXPECT_EQ(view->Caret().line, 3);
    EXPECT_TRUE(messages.empty());
}

TEST_F(FileChange, AReloadThatFailsKeepsTheTextAndSaysSoOnce)
{
    auto view = Open<TextView>(kOriginal);
    const std::string path = view->Doc()->FileName();
    // The name now holds a directory: nothing of it can be read as text.
    ASSERT_EQ(::unlink(path.c_str()), 0);
    tree.MakeDir("file.txt");
    view->LookAtDisk();
    view->LookAtDisk();
    EXPECT_EQ(messages,
              (std::vector<std::string>{"FILE.TXT could not be read again.\r  The window keeps the text it had."}));
    EXPECT_EQ(Lines(*view->Doc()), LinesOfText(kOriginal));
    EXPECT_EQ(view->windowTitle(), "FILE.TXT");
}

TEST_F(FileChange, FileReloadAsksFirstWhenTheWindowHasChanges)
{
    auto view = Open<TextView>(kOriginal);
    EXPECT_TRUE(view->CanReload());
    QTest::keyClicks(view.get(), "X");
    answers = {fw::kIdNo};
    view->CmReload();
    EXPECT_EQ(messages, (std::vector<std::string>{"FILE.TXT has been changed. Reload it and lose your changes?"}));
    EXPECT_EQ(view->Doc()->GetLine(0)->View(), "Xone");
    answers = {fw::kIdYes};
    view->CmReload();
    EXPECT_EQ(Lines(*view->Doc()), LinesOfText(kOriginal));
    EXPECT_FALSE(view->Doc()->Modified());
    // Without changes it reads the file at once.
    messages.clear();
    const std::string now = ChangeOutside(tree, view->Doc()->FileName(), Outside::kRenameOver);
    view->CmReload();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Lines(*view->Doc()), LinesOfText(now));
}

TEST_F(FileChange, ALargeFileReloadsInStepsBehindTheTextShown)
{
    std::string bytes;
    while (bytes.size() < 2 * TextDoc::kLoadStepBytes) bytes += "a line of the large file\n";
    const int lines = int(bytes.size() / 25);
    auto view = Open<TextView>(bytes);
    for (int i = 0; i < 50 && !view->Loaded(); ++i) PumpWaitingMessages();
    ASSERT_EQ(view->Doc()->LineCount(), lines);
    ChangeOutside(tree, view->Doc()->FileName(), Outside::kAppend);
    view->LookAtDisk();
    ASSERT_TRUE(view->Reloading());
    EXPECT_EQ(view->Doc()->LineCount(), lines);
    for (int i = 0; i < 50 && view->Reloading(); ++i) PumpWaitingMessages();
    EXPECT_FALSE(view->Reloading());
    EXPECT_EQ(view->Doc()->LineCount(), lines + 1);
    EXPECT_EQ(view->Doc()->GetLine(lines)->View(), "appended");
    EXPECT_TRUE(messages.empty());
}

TEST_F(FileChange, AHexWindowRereadsItsRowsAndShowsADeletedFile)
{
    auto view = Open<HexView>(std::string(16, 'a'), "file.bin");
    ASSERT_EQ(view->Doc()->LineCount(), 1);
    std::ofstream(view->Doc()->FileName(), std::ios::app) << std::string(20, 'b');
    view->LookAtDisk();
    EXPECT_EQ(view->Doc()->LineCount(), 3);
    ASSERT_EQ(::unlink(view->Doc()->FileName().c_str()), 0);
    view->LookAtDisk();
    EXPECT_EQ(view->windowTitle(), "FILE.BIN (deleted)");
    EXPECT_EQ(view->Doc()->LineCount(), 3);
    EXPECT_FALSE(view->CanSave());  // a dump never goes over the file's name
    EXPECT_TRUE(messages.empty());
}

// The file watcher alone: a rename over the file, then a write into the
// new file (which the first watch no longer sees), then a removal.
TEST_F(FileChange, TheWatcherTellsOfEachChange)
{
    auto view = Open<TextView>(kOriginal);
    const std::string path = view->Doc()->FileName();
    ASSERT_TRUE(Eventually([&] { return FileWatch::Shared().WatchedPaths().contains(QString::fromStdString(path)); }));
    // Someone holds the old file open: its inode lives on, and so would a
    // watch left on it.
    const int held = ::open(path.c_str(), O_RDONLY);
    const std::string renamed = ChangeOutside(tree, path, Outside::kRenameOver);
    EXPECT_TRUE(Eventually([&] { return Lines(*view->Doc()) == LinesOfText(renamed); }));
    std::ofstream(path, std::ios::app) << "more\n";
    EXPECT_TRUE(Eventually([&] { return view->Doc()->LineCount() == 4; }));
    ::close(held);
    ChangeOutside(tree, path, Outside::kDelete);
    EXPECT_TRUE(Eventually([&] { return view->windowTitle() == "FILE.TXT (deleted)"; }));
    EXPECT_TRUE(messages.empty());
    view.reset();
    EXPECT_FALSE(FileWatch::Shared().WatchedPaths().contains(QString::fromStdString(tree.root())));
}

// A load stopped by a failure leaves a window that holds none of the file:
// what is typed is not taken, and Save refuses to write over the file.
TEST_F(FileChange, AWindowWhoseLoadFailedNeverSavesOverTheFile)
{
    std::string bytes;
    while (bytes.size() < 2 * TextDoc::kLoadStepBytes) bytes += "a line of the large file\n";
    const std::string path = tree.Write("file.txt", bytes);
    TextView view(path);
    view.resize(400, 300);
    view.show();
    for (int i = 0; i < 50 && view.Doc()->LineCount() == 0; ++i) PumpWaitingMessages();
    ASSERT_FALSE(view.Loaded());
    {
        docs::ScopedAllocationFailure failure(docs::AllocSite::kLineText);
        QTest::keyClicks(&view, "x");
    }
    EXPECT_TRUE(view.LoadFailed());
    EXPECT_TRUE(view.Doc()->Unread());
    EXPECT_EQ(view.Doc()->LineCount(), 0);
    ASSERT_EQ(messages.size(), 1u);
    messages.clear();
    view.CmSave();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].substr(0, 51), "FILE.TXT could not be read when it was opened, so t");
    EXPECT_EQ(tree.Read("file.txt"), bytes);
}

}  // namespace

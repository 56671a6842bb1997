#include "docs/text_doc.h"

#include "base/save_faults.h"
#include "doc_test_util.h"
#include "docs/doc_errors.h"
#include "find_util.h"
#include "support/temp_tree.h"
#include "support/unprivileged.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using Lines = std::vector<std::string>;

TEST(TextDocLoad, EmptyAndUnopenableFilesGiveOneEmptyLine)
{
    TempTree tree;
    TextDoc empty(tree.Write("empty.txt", ""));
    EXPECT_TRUE(empty.Load());
    EXPECT_EQ(LinesOf(empty), (Lines{""}));
    EXPECT_FALSE(empty.Modified());
    EXPECT_EQ(empty.Error(), 0);

    const std::string missing = tree.Path("missing.txt");
    TextDoc gone(missing);
    EXPECT_TRUE(gone.Load());
    EXPECT_EQ(LinesOf(gone), (Lines{""}));
    EXPECT_EQ(gone.Error(), doc_error::kOpen);
    EXPECT_EQ(gone.FileName(), missing);
    EXPECT_FALSE(gone.Modified());

    TextDoc dir(tree.MakeDir("sub"));
    EXPECT_TRUE(dir.Load());
    EXPECT_EQ(dir.Error(), doc_error::kOpen);
}

TEST(TextDocLoad, PipesNeverBlockAndEndlessDevicesAreRefused)
{
    TempTree tree;
    const std::string fifo = tree.Path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    TextDoc pipe(fifo);
    EXPECT_TRUE(pipe.Load());
    EXPECT_EQ(LinesOf(pipe), (Lines{""}));
    EXPECT_EQ(pipe.Error(), 0);

    struct stat st {};
    if (::stat("/dev/zero", &st) == 0 && S_ISCHR(st.st_mode)) {
        TextDoc zeros("/dev/zero");
        EXPECT_TRUE(zeros.Load());
        EXPECT_EQ(zeros.Error(), doc_error::kOpen);
        EXPECT_EQ(zeros.LineCount(), 1);
    }
}

TEST(TextDocLoad, LinesEndAtLineFeedsWhateverTheirLength)
{
    TempTree tree;
    const std::string longLine(5000, 'x');
    const std::string exact(1022, 'y');
    const std::string bytes = "a\r\nb\rc\n" + longLine + "\n" + exact + "\n" + std::string("n\0l\x1A" "z", 5) +
                              "\r\n\r\nlast";
    TextDoc doc(tree.Write("f.txt", bytes));
    EXPECT_TRUE(doc.Load());
    EXPECT_EQ(LinesOf(doc), (Lines{"a", "b\rc", longLine, exact, std::string("n\0l\x1Az", 5), "", "last"}));
    EXPECT_EQ(doc.GetLine(4)->Length(), 5);
    EXPECT_EQ(doc.MaxWidth(), 5000);
    EXPECT_FALSE(doc.Modified());
}

TEST(TextDocLoad, WidestLineCountsTabsAtAnyTabSize)
{
    TempTree tree;
    const std::string path = tree.Write("tabs.txt", "a\tb\r\n" + std::string(14, 'x') + "\t\tend\r\n\t\tx");
    TextDoc four(path);
    EXPECT_TRUE(four.Load());
    EXPECT_EQ(four.MaxWidth(), 23);
    EXPECT_EQ(four.GetLine(1)->Length(), 19);
    TextDoc three(path);
    three.SetTabSize(3);
    EXPECT_TRUE(three.Load());
    EXPECT_EQ(three.MaxWidth(), 21);
    EXPECT_EQ(three.LineWidth(three.GetLine(2)), 7);
}

TEST(TextDocLoad, RepaintHookRunsOnceAfterItsLine)
{
    TempTree tree;
    TextDoc doc(tree.Write("f.txt", "0\n1\n2\n3\n4\n"));
    int calls = 0;
    int seen = -1;
    EXPECT_TRUE(doc.Load([&] { ++calls; seen = doc.LineCount(); }, 2));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seen, 3);
    EXPECT_EQ(doc.LineCount(), 5);
}

TEST(TextDocLoad, LinesLongerThanAReadChunkStayWhole)
{
    TempTree tree;
    const std::string huge(20u << 20, 'h');  // longer than one read chunk
    std::string bytes = "short\n" + huge + "\r\nafter\n";
    for (int i = 0; i < 200000; ++i) bytes += "line " + std::to_string(i) + "\n";
    TextDoc doc(tree.Write("big.txt", bytes));
    EXPECT_TRUE(doc.Load());
    ASSERT_EQ(doc.LineCount(), 3 + 200000);
    EXPECT_EQ(doc.GetLine(1)->View(), huge);
    EXPECT_EQ(doc.GetLine(2)->View(), "after");
    EXPECT_EQ(doc.GetLine(doc.LineCount() - 1)->View(), "line 199999");
}

TEST(TextDocSave, RoundTripsKeepEveryByte)
{
    TempTree tree;
    const std::string crlf = "first\r\n" + std::string(3000, 'L') + "\r\n" + std::string("nul\0byte\x1A" "eof\r\n", 14) +
                             "\r\nlone\rcr\r\n";
    const std::string path = tree.Write("crlf.txt", crlf);
    TextDoc doc(path);
    ASSERT_TRUE(doc.Load());
    ASSERT_TRUE(doc.Save());
    EXPECT_EQ(tree.Read("crlf.txt"), crlf);

    // A file without any line end is written with CR LF, the stored format.
    const std::string bare = tree.Write("bare.txt", "no line end");
    TextDoc single(bare);
    ASSERT_TRUE(single.Load());
    ASSERT_TRUE(single.Save());
    EXPECT_EQ(tree.Read("bare.txt"), "no line end\r\n");

    // An empty file loads as one empty line, which is saved with its line end.
    TextDoc blank(tree.Write("blank.txt", ""));
    ASSERT_TRUE(blank.Load());
    ASSERT_TRUE(blank.Save());
    EXPECT_EQ(tree.Read("blank.txt"), "\r\n");
}

TEST(TextDocSave, NamesPermissionsAndEmptyNames)
{
    TempTree tree;
    TextDoc untitled;
    Fill(untitled, {"x"});
    untitled.SetModified(true);
    EXPECT_FALSE(untitled.Save());
    EXPECT_EQ(untitled.Error(), 0);
    EXPECT_TRUE(untitled.Modified());

    const std::string path = tree.Write("keep.sh", "old\n");
    ::chmod(path.c_str(), 0750);
    TextDoc doc(path);
    ASSERT_TRUE(doc.Load());
    doc.InsertChars(0, "new ", 0);
    ASSERT_TRUE(doc.Save());
    EXPECT_FALSE(doc.Modified());
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0750u);

    const std::string other = tree.Path("other.txt");
    ASSERT_TRUE(doc.Save(other));
    EXPECT_EQ(doc.FileName(), other);
    EXPECT_EQ(tree.Read("other.txt"), "new old\n");  // the file's own line end
}

TEST(TextDocSave, EachFileKeepsTheLineEndOfItsFirstLine)
{
    TempTree tree;
    // One character changed in a shell script changes one byte on disk.
    const std::string script = std::string("#!/bin/sh\necho 'a\rb'\n\0nul\n\tindented\n\n", 38) + "last";
    const std::string lf = tree.Write("script.sh", script);
    TextDoc unix(lf);
    ASSERT_TRUE(unix.Load());
    ASSERT_TRUE(unix.OverwriteChars(1, "E", 0));
    ASSERT_TRUE(unix.Save());
    std::string expected = script + "\n";  // the last line gains its line end
    expected[10] = 'E';
    EXPECT_EQ(tree.Read("script.sh"), expected);

    // A CR LF file stays CR LF, lone CRs included.
    const std::string dos = "one\r\ntwo\rstill two\r\n\r\n";
    const std::string crlf = tree.Write("dos.txt", dos);
    TextDoc windows(crlf);
    ASSERT_TRUE(windows.Load());
    ASSERT_TRUE(windows.InsertChars(0, "+", -1));
    ASSERT_TRUE(windows.Save());
    EXPECT_EQ(tree.Read("dos.txt"), "one+\r\ntwo\rstill two\r\n\r\n");

    // The first line end decides; a file whose first line is long still
    // finds it.
    const std::string long_first = std::string(9 << 20, 'x') + "\nsecond\r\n";
    TextDoc big(tree.Write("big.txt", long_first));
    ASSERT_TRUE(big.Load());
    EXPECT_EQ(big.GetLineEnd(), LinesDoc::LineEnd::kLf);

    // A new document is written with CR LF, and Save As keeps the style of
    // the file that was loaded.
    TextDoc untitled;
    Fill(untitled, {"a", "b"});
    ASSERT_TRUE(untitled.Save(tree.Path("new.txt")));
    EXPECT_EQ(tree.Read("new.txt"), "a\r\nb\r\n");
    ASSERT_TRUE(unix.Save(tree.Path("copy.sh")));
    EXPECT_EQ(tree.Read("copy.sh"), expected);

    // Loading another file takes that file's line end.
    TextDoc reused(lf);
    ASSERT_TRUE(reused.Load());
    EXPECT_EQ(reused.GetLineEnd(), LinesDoc::LineEnd::kLf);
    tree.Write("script.sh", "now\r\ndos\n");
    ASSERT_TRUE(reused.Load());
    EXPECT_EQ(reused.GetLineEnd(), LinesDoc::LineEnd::kCrLf);
}

TEST(TextDocSave, AFileTheUserMayNotWriteIsNotReplaced)
{
    TempTree tree;
    const std::string frozen = tree.Write("frozen.txt", "frozen\n");
    ::chmod(frozen.c_str(), 0444);
    const std::string roots = tree.Write("roots.txt", "root's\n");
    ::chmod(roots.c_str(), 0644);
    GiveToUnprivilegedUser(tree.root());
    GiveToUnprivilegedUser(frozen);  // the user's own read-only file
    OpenTreeToOthers(tree.root());
    const int result = RunUnprivileged([&] {
        int failures = 0;
        for (const std::string& path : {frozen, roots}) {
            TextDoc doc(path);
            if (!doc.Load()) return 100;
            doc.InsertChars(0, "changed ", 0);
            const bool refused = !doc.Save() && doc.Error() == doc_error::kOpen && doc.Modified();
            failures += refused ? 0 : 1;
        }
        return failures;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(tree.Read("frozen.txt"), "frozen\n");
    EXPECT_EQ(tree.Read("roots.txt"), "root's\n");
}

TEST(TextDocSave, LinkedFilesAndFilesInClosedDirectoriesAreSavedInPlace)
{
    TempTree tree;
    const std::string linked = tree.Write("open/a.txt", "shared\ntext\n");
    ASSERT_EQ(::link(linked.c_str(), tree.Path("open/b.txt").c_str()), 0);
    const std::string closed = tree.Write("closed/notes.txt", "old\r\nnotes\r\n");
    for (const std::string& p : {tree.Path("open"), linked, tree.Path("closed"), closed}) GiveToUnprivilegedUser(p);
    ::chmod(tree.Path("closed").c_str(), 0555);
    OpenTreeToOthers(tree.root());
    const int result = RunUnprivileged([&] {
        int failures = 0;
        for (const std::string& path : {linked, closed}) {
            TextDoc doc(path);
            if (!doc.Load() || !doc.InsertChars(1, "more ", 0) || !doc.Save() || doc.Modified()) ++failures;
        }
        return failures;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(tree.Read("open/b.txt"), "shared\nmore text\n");
    EXPECT_EQ(tree.Read("closed/notes.txt"), "old\r\nmore notes\r\n");
    struct stat st {};
    ::stat(linked.c_str(), &st);
    EXPECT_EQ(st.st_nlink, 2u);
}

TEST(TextDocSave, AFailedSaveLeavesTheFileAndTheDocument)
{
    TempTree tree;
    const std::string path = tree.Write("f.txt", "original\n");
    TextDoc doc(path);
    ASSERT_TRUE(doc.Load());
    doc.InsertChars(0, "changed ", 0);

    // A directory that does not exist: nothing can be created there.
    EXPECT_FALSE(doc.Save(tree.Path("no/such/dir/f.txt")));
    EXPECT_EQ(doc.Error(), doc_error::kOpen);
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.FileName(), path);
    doc.SetError(0);

    // A target that is a directory: the new file cannot take its place.
    const std::string dir = tree.MakeDir("taken");
    EXPECT_FALSE(doc.Save(dir));
    EXPECT_EQ(doc.Error(), doc_error::kOpen);
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(tree.Read("f.txt"), "original\n");
    struct stat st {};
    EXPECT_EQ(::stat(dir.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST(TextDocFind, DirectionsAndStartPositions)
{
    TextDoc doc;
    Fill(doc, {"abc abc", "xx abc", "none"});
    const FindRules down{true, true, false};
    const FindRules up{false, true, false};
    // Down finds an occurrence that starts at the position itself.
    EXPECT_EQ(FindIn(doc, "abc", {0, 4}, down), (TextPosition{0, 4}));
    EXPECT_EQ(FindIn(doc, "abc", {0, 5}, down), (TextPosition{1, 3}));
    EXPECT_FALSE(FindIn(doc, "abc", {1, 4}, down));
    // Up finds an occurrence that ends at the position itself.
    EXPECT_EQ(FindIn(doc, "abc", {1, 6}, up), (TextPosition{1, 3}));
    EXPECT_EQ(FindIn(doc, "abc", {1, 5}, up), (TextPosition{0, 4}));
    EXPECT_EQ(FindIn(doc, "abc", {0, 3}, up), (TextPosition{0, 0}));
    EXPECT_FALSE(FindIn(doc, "abc", {0, 2}, up));
    EXPECT_FALSE(FindIn(doc, "", {0, 0}, down));
    EXPECT_FALSE(FindIn(doc, "abc", {-1, 0}, down));

    // Adjacent occurrences searched upwards from the end: each one found.
    TextDoc runs;
    Fill(runs, {"aaaa"});
    EXPECT_EQ(FindIn(runs, "aa", {0, 4}, up), (TextPosition{0, 2}));
    EXPECT_EQ(FindIn(runs, "aa", {0, 2}, up), (TextPosition{0, 0}));
}

TEST(TextDocFind, RepeatSearchStepsPastTheStart)
{
    TextDoc doc;
    Fill(doc, {"abc abc", "abc"});
    doc.Options().case_sensitive = 1;
    doc.Options().down = 1;
    int line = 0, column = 0;
    ASSERT_TRUE(doc.FindText(LiteralFor("abc", {}), line, column));
    EXPECT_EQ(std::pair(line, column), std::pair(0, 4));
    ASSERT_TRUE(doc.FindText(LiteralFor("abc", {}), line, column));
    EXPECT_EQ(std::pair(line, column), std::pair(1, 0));
    EXPECT_FALSE(doc.FindText(LiteralFor("abc", {}), line, column));

    doc.Options().down = 0;
    line = 1, column = 0;
    ASSERT_TRUE(doc.FindText(LiteralFor("abc", {}), line, column));
    EXPECT_EQ(std::pair(line, column), std::pair(0, 4));
}

TEST(TextDocFind, CaseTabsAndWholeWords)
{
    TextDoc doc;
    Fill(doc, {"xabc ABC", "a\tb", "abcd", "Abc_abc"});
    FindRules rules{true, false, false};
    EXPECT_EQ(FindIn(doc, "aBc", {0, 0}, rules), (TextPosition{0, 1}));
    // The search runs on the bytes: spaces never find the tab they show as.
    EXPECT_FALSE(FindIn(doc, "a   b", {0, 0}, rules));
    EXPECT_FALSE(FindIn(doc, "a b", {0, 0}, rules));
    EXPECT_EQ(FindIn(doc, "a\tb", {0, 0}, rules), (TextPosition{1, 0}));

    // A whole word later on the line is found after an embedded one.
    rules.whole_words = true;
    EXPECT_EQ(FindIn(doc, "abc", {0, 0}, rules), (TextPosition{0, 5}));
    rules.down = false;
    EXPECT_EQ(FindIn(doc, "abc", {3, 7}, rules), (TextPosition{3, 4}));  // '_' ends a word
    EXPECT_EQ(FindIn(doc, "abc", {2, 4}, rules), (TextPosition{0, 5}));
    rules.case_sensitive = true;
    rules.down = true;
    EXPECT_FALSE(FindIn(doc, "ABC", {0, 6}, rules));
}

TEST(TextDocFind, APatternHoldingATabFindsThatTextAtItsDisplayColumns)
{
    TextDoc doc;
    doc.SetTabSize(4);
    Fill(doc, {"x\ty a\tb", "  A\tB", "a   b"});
    FindRules rules{true, false, false};
    // The tab after "a" on the first line starts at column 6 and ends at 8.
    EXPECT_EQ(FindIn(doc, "a\tb", {0, 0}, rules), (TextPosition{0, 6}));
    EXPECT_EQ(MatchEndIn(doc, "a\tb", {0, 6}), 9);
    EXPECT_EQ(FindIn(doc, "a\tb", {0, 7}, rules), (TextPosition{1, 2}));
    EXPECT_EQ(MatchEndIn(doc, "a\tb", {1, 2}), 5);
    EXPECT_EQ(FindIn(doc, "\ty", {0, 0}, rules), (TextPosition{0, 1}));
    // Spaces are no tab.
    EXPECT_FALSE(FindIn(doc, "a\tb", {2, 0}, rules));
    rules.case_sensitive = true;
    EXPECT_EQ(FindIn(doc, "A\tB", {0, 0}, rules), (TextPosition{1, 2}));
    // Up: the last one ending at or before the column.
    rules.case_sensitive = false;
    rules.down = false;
    EXPECT_EQ(FindIn(doc, "a\tb", {1, 4}, rules), (TextPosition{0, 6}));
    EXPECT_EQ(FindIn(doc, "a\tb", {1, 5}, rules), (TextPosition{1, 2}));
    // An end after a tab is its display column.
    EXPECT_EQ(MatchEndIn(doc, "y a", {0, 4}), 7);
    EXPECT_EQ(MatchEndIn(doc, "x\t", {0, 0}), 4);
}

TEST(TextDoc, LeadingWhiteSpace)
{
    TextDoc doc;
    Fill(doc, {" \t x", "none", "", "   "});
    EXPECT_EQ(doc.LeadingWhiteSpace(0), " \t ");
    EXPECT_EQ(doc.LeadingWhiteSpace(1), "");
    EXPECT_EQ(doc.LeadingWhiteSpace(2), "");
    EXPECT_EQ(doc.LeadingWhiteSpace(3), "   ");
    EXPECT_EQ(doc.LeadingWhiteSpace(9), "");
}

TEST(TextDocSave, ALineEndingInItsOwnCarriageReturnKeepsItOverEverySave)
{
    // The last line of each file ends in a CR without an LF after it; the
    // line keeps that CR however often the file is loaded and saved.
    TempTree tree;
    const struct {
        const char* what;
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"LF file", "x\ny\r", {"x", "y\r"}},
        {"CR LF file", "x\r\ny\r", {"x", "y\r"}},
        {"LF file, two CRs", "x\ny\r\r", {"x", "y\r\r"}},
        {"LF file, lone CRs inside", "a\rb\nend\r", {"a\rb", "end\r"}},
    };
    for (const auto& c : cases) {
        const std::string path = tree.Write("f.txt", c.bytes);
        std::string first_save;
        for (int round = 0; round < 3; ++round) {
            TextDoc doc(path);
            ASSERT_TRUE(doc.Load());
            EXPECT_EQ(LinesOf(doc), c.lines) << c.what << ", load " << round + 1;
            ASSERT_TRUE(doc.Save());
            if (round == 0) first_save = tree.Read("f.txt");
            EXPECT_EQ(tree.Read("f.txt"), first_save) << c.what << ", save " << round + 1;
        }
    }
}

namespace {

bool FailClose(const char* call)
{
    return std::string_view(call) == "close";
}

} // namespace

TEST(TextDocSave, ASaveWhoseCloseFailsAfterTheFileWasReplacedIsSavedWithAWarning)
{
    TempTree tree;
    const std::string single = tree.Write("single.txt", "old\n");
    const std::string linked = tree.Write("linked.txt", "old\n");
    ASSERT_EQ(::link(linked.c_str(), tree.Path("twin.txt").c_str()), 0);
    for (const std::string& path : {single, linked}) {
        TextDoc doc(path);
        ASSERT_TRUE(doc.Load());
        ASSERT_TRUE(doc.InsertChars(0, "new ", 0));
        save_faults::SetHook(FailClose);
        const bool saved = doc.Save();
        save_faults::SetHook(nullptr);
        EXPECT_TRUE(saved) << path;
        EXPECT_FALSE(doc.Modified()) << path;
        EXPECT_EQ(doc.Error(), doc_error::kSavedWithWarning) << path;
        EXPECT_STRNE(strings::Text(doc_error::MessageId(doc.Error())), "");
    }
    EXPECT_EQ(tree.Read("single.txt"), "new old\n");
    EXPECT_EQ(tree.Read("twin.txt"), "new old\n");
}

// A matcher whose matches are as long as they are, whatever the pattern:
// every run of 'x'.
class RunsOfX : public Matcher {
public:
    std::optional<ByteSpan> Find(std::string_view line, std::size_t from) const override
    {
        const std::size_t start = line.find('x', from);
        if (start == std::string_view::npos) return std::nullopt;
        return ByteSpan{start, std::min(line.find_first_not_of('x', start), line.size())};
    }
};

TEST(TextDocFind, AMatchEndsWhereItsMatcherSays)
{
    TextDoc doc;
    doc.SetTabSize(4);
    Fill(doc, {"a\txxx b xx", "xxxxxx"});
    const RunsOfX runs;
    EXPECT_EQ(doc.Find(runs, {0, 0}, true), (TextDoc::Match{{0, 4}, {0, 7}}));
    EXPECT_EQ(doc.Find(runs, {0, 8}, true), (TextDoc::Match{{0, 10}, {0, 12}}));
    EXPECT_EQ(doc.Find(runs, {1, 0}, true), (TextDoc::Match{{1, 0}, {1, 6}}));
    // Up: the last match that ends at or before the position.
    EXPECT_EQ(doc.Find(runs, {0, 11}, false), (TextDoc::Match{{0, 4}, {0, 7}}));
    EXPECT_EQ(doc.Find(runs, {1, 5}, false), (TextDoc::Match{{0, 10}, {0, 12}}));
}

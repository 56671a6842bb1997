// Loading a text document in steps, as a window does between its events:
// the lines grow step by step into exactly what a load at once gives, and
// nothing can change or save a half-read document.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doc_test_util.h"
#include "docs/alloc_gate.h"
#include "docs/doc_errors.h"
#include "docs/text_doc.h"
#include "support/temp_tree.h"

using Lines = std::vector<std::string>;

namespace {

// Lines of every length up to a few read steps, some with CR LF, some with
// tabs and lone CRs, and a last line without a line end.
std::string MixedText()
{
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += std::string(static_cast<std::size_t>(i * 37 % 400), static_cast<char>('a' + i % 26));
        if (i % 7 == 0) text += "\tx\ry";
        text += i % 3 == 0 ? "\r\n" : "\n";
    }
    text += std::string(700000, 'L');  // longer than one read step
    text += "\nend without line end";
    return text;
}

} // namespace

TEST(TextLoadSteps, StepByStepGivesWhatALoadAtOnceGives)
{
    TempTree tree;
    const std::string path = tree.Write("mixed.txt", MixedText());
    TextDoc whole(path);
    ASSERT_TRUE(whole.Load());

    TextDoc doc(path);
    doc.BeginLoad();
    EXPECT_TRUE(doc.Loading());
    EXPECT_EQ(doc.FileBytes(), MixedText().size());
    int steps = 0;
    int lastCount = 0;
    std::size_t lastBytes = 0;
    TextDoc::LoadState state = TextDoc::LoadState::kMore;
    while (state == TextDoc::LoadState::kMore) {
        state = doc.LoadStep(100000);
        ++steps;
        // What is there may be shown at once: whole lines only, growing.
        EXPECT_GE(doc.LineCount(), lastCount);
        if (doc.Loading()) {
            EXPECT_GT(doc.LoadedBytes(), lastBytes);
            lastBytes = doc.LoadedBytes();
        }
        for (int i = lastCount; i < doc.LineCount(); ++i)
            ASSERT_EQ(doc.GetLine(i)->View(), whole.GetLine(i)->View()) << i;
        lastCount = doc.LineCount();
    }
    EXPECT_EQ(state, TextDoc::LoadState::kDone);
    EXPECT_GT(steps, 3);
    EXPECT_FALSE(doc.Loading());
    EXPECT_EQ(LinesOf(doc), LinesOf(whole));
    EXPECT_EQ(doc.MaxWidth(), whole.MaxWidth());
    EXPECT_EQ(doc.GetLineEnd(), LinesDoc::LineEnd::kCrLf);
    EXPECT_EQ(doc.GetLine(doc.LineCount() - 1)->View(), "end without line end");
    EXPECT_FALSE(doc.Modified());
    // The widths counted during the load are the lines' own.
    doc.UpdateMaxWidth(-1);
    EXPECT_EQ(doc.MaxWidth(), whole.MaxWidth());
}

TEST(TextLoadSteps, EditsAndSavesReadTheRestFirst)
{
    TempTree tree;
    const std::string text = MixedText();
    const std::string path = tree.Write("mixed.txt", text);
    TextDoc whole(path);
    ASSERT_TRUE(whole.Load());

    TextDoc doc(path);
    doc.BeginLoad();
    ASSERT_EQ(doc.LoadStep(50000), TextDoc::LoadState::kMore);
    ASSERT_LT(doc.LineCount(), whole.LineCount());
    EXPECT_TRUE(doc.InsertChars(0, "new ", 0));
    EXPECT_FALSE(doc.Loading());
    EXPECT_EQ(doc.LineCount(), whole.LineCount());
    EXPECT_EQ(doc.GetLine(doc.LineCount() - 1)->View(), "end without line end");
    EXPECT_EQ(doc.LoadStep(), TextDoc::LoadState::kDone);

    // A save never writes a half-read file.
    TextDoc saving(path);
    saving.BeginLoad();
    ASSERT_EQ(saving.LoadStep(50000), TextDoc::LoadState::kMore);
    ASSERT_TRUE(saving.Save(tree.Path("copy.txt")));
    TextDoc copy(tree.Path("copy.txt"));
    ASSERT_TRUE(copy.Load());
    EXPECT_EQ(LinesOf(copy), LinesOf(whole));

    // Clearing drops the rest; a new load starts afresh.
    TextDoc cleared(path);
    cleared.BeginLoad();
    ASSERT_EQ(cleared.LoadStep(50000), TextDoc::LoadState::kMore);
    cleared.Clear();
    EXPECT_FALSE(cleared.Loading());
    EXPECT_EQ(cleared.LineCount(), 0);
    EXPECT_TRUE(cleared.Load());
    EXPECT_EQ(cleared.LineCount(), whole.LineCount());
}

TEST(TextLoadSteps, FailuresAndFilesWithoutLines)
{
    TempTree tree;
    TextDoc missing(tree.Path("missing.txt"));
    missing.BeginLoad();
    EXPECT_FALSE(missing.Loading());
    EXPECT_EQ(missing.LoadStep(), TextDoc::LoadState::kDone);
    EXPECT_EQ(missing.Error(), doc_error::kOpen);
    EXPECT_EQ(LinesOf(missing), (Lines{""}));

    TextDoc empty(tree.Write("empty.txt", ""));
    empty.BeginLoad();
    EXPECT_EQ(empty.LoadStep(), TextDoc::LoadState::kDone);
    EXPECT_EQ(LinesOf(empty), (Lines{""}));
    EXPECT_EQ(empty.GetLineEnd(), LinesDoc::LineEnd::kCrLf);

    TextDoc unix(tree.Write("lf.txt", "a\r\rb\nc\r\n"));
    EXPECT_TRUE(unix.Load());
    EXPECT_EQ(LinesOf(unix), (Lines{"a\r\rb", "c"}));
    EXPECT_EQ(unix.GetLineEnd(), LinesDoc::LineEnd::kLf);

    // A line that cannot be stored half way through leaves an empty
    // document with the code of what failed.
    TextDoc doc(tree.Write("mixed.txt", MixedText()));
    doc.BeginLoad();
    ASSERT_EQ(doc.LoadStep(50000), TextDoc::LoadState::kMore);
    {
        docs::ScopedAllocationFailure failure(docs::AllocSite::kLineObject);
        EXPECT_EQ(doc.LoadStep(50000), TextDoc::LoadState::kFailed);
    }
    EXPECT_EQ(doc.Error(), doc_error::kLineObject);
    EXPECT_EQ(doc.LineCount(), 0);
    EXPECT_EQ(doc.ChunkBytes(), 0u);
    EXPECT_FALSE(doc.Loading());
}

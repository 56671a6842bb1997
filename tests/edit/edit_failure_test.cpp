// An edit step whose memory runs out says so and loses no byte: the text
// is as it was or as the step makes it, and undoing everything afterwards
// gives back the loaded text.
#include "edit_table.h"

#include "docs/alloc_gate.h"

// A row names the fields it sets; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace edit_table {
namespace {

struct FailureRow {
    const char* name = "";
    std::string_view file{};
    TextPosition caret{};
    std::optional<TextPosition> select_to{};
    std::vector<Step> before{};  // played with memory to spare
    Step step{};                 // played while allocations fail
};

std::ostream& operator<<(std::ostream& out, const FailureRow& row)
{
    return out << row.name;
}

class EditFailure : public ::testing::TestWithParam<FailureRow> {};

TEST_P(EditFailure, LosesNoByteAtAnyAllocation)
{
    const FailureRow& row = GetParam();
    const auto start = [&](Session& session) {
        session.caret.MoveTo(row.caret);
        if (row.select_to) session.Play(ShiftClick(*row.select_to));
        for (const Step& step : row.before) session.Play(step);
    };
    Session done(row.file, TextEditor::kDefaultUndoLimit, true);
    start(done);
    done.Play(row.step);
    const Lines after = done.TextLines();
    const Lines loaded = Session(row.file, TextEditor::kDefaultUndoLimit, true).TextLines();

    // The document's own allocations, and the copies the undo records keep.
    for (const docs::AllocSite site : {docs::AllocSite::kEdit, docs::AllocSite::kUndoText}) {
        for (int skip = 0; skip < 6; ++skip) {
            SCOPED_TRACE("site " + std::to_string(int(site)) + ", allocations that succeed first: " +
                         std::to_string(skip));
            Session session(row.file, TextEditor::kDefaultUndoLimit, true);
            start(session);
            const Lines before = session.TextLines();
            const int records = session.editor.Undos().Count();
            {
                docs::ScopedAllocationFailure failure(site, skip);
                session.Play(row.step);
            }
            if (session.TextLines() != after) {
                EXPECT_NE(session.doc.Error(), 0) << "a failure that was not reported";
            }
            if (session.TextLines() == before && after != before) {
                EXPECT_EQ(session.editor.Undos().Count(), records) << "a failed step changed the undo list";
            }
            session.doc.SetError(0);
            session.UndoEverything();
            EXPECT_EQ(session.TextLines(), loaded) << "after undoing everything";
        }
    }
}

const FailureRow kSteps[] = {
    {.name = "Typing", .file = "abc\ndef\n", .caret = {0, 1}, .step = Type("X")},
    {.name = "Overwriting", .file = "abc\ndef\n", .caret = {0, 1}, .before = {Overwrite}, .step = Type("X")},
    {.name = "Enter", .file = "  abc\ndef\n", .caret = {0, 3}, .step = Enter},
    {.name = "EnterAtTheEnd", .file = "  abc\ndef\n", .caret = {0, 5}, .step = Enter},
    {.name = "Backspace", .file = "abc\ndef\n", .caret = {0, 1}, .step = Backspace},
    {.name = "BackspaceJoining", .file = "abc\ndef\n", .caret = {1, 0}, .step = Backspace},
    {.name = "Delete", .file = "abc\ndef\n", .caret = {0, 1}, .step = Delete},
    {.name = "DeleteJoining", .file = "abc\ndef\n", .caret = {0, 3}, .step = Delete},
    {.name = "DeleteOfASelection", .file = "abc\ndef\nghi\n", .caret = {0, 1}, .select_to = TextPosition{2, 1},
     .step = Delete},
    {.name = "TypingOverASelection", .file = "abc\ndef\n", .caret = {0, 1}, .select_to = TextPosition{1, 1},
     .step = Type("X")},
    {.name = "Cut", .file = "abc\ndef\n", .caret = {0, 1}, .select_to = TextPosition{1, 1}, .step = Cut},
    {.name = "Paste", .file = "abc\ndef\n", .caret = {0, 1}, .step = Paste("X\r\nY\nZ")},
    {.name = "ClearAll", .file = "abc\ndef\n", .step = ClearAll},
    {.name = "UndoOfADeletedSelection", .file = "abc\ndef\nghi\n", .caret = {0, 1},
     .select_to = TextPosition{2, 1}, .before = {Delete}, .step = Undo},
    {.name = "UndoOfAJoin", .file = "abc\ndef\n", .caret = {1, 0}, .before = {Backspace}, .step = Undo},
    {.name = "UndoOfAPaste", .file = "abc\ndef\n", .caret = {0, 1}, .before = {Paste("X\nY")}, .step = Undo},
    {.name = "OverwritingAWideCharacter", .file = "\xe4\xb8\xad\n", .before = {Overwrite}, .step = Type("ab")},
    {.name = "UndoOfAnOverwrite", .file = "abc\n", .before = {Overwrite, Type("\xc3\xa9")}, .step = Undo},
};

std::string FailureName(const ::testing::TestParamInfo<FailureRow>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Steps, EditFailure, ::testing::ValuesIn(kSteps), FailureName);

// A replacement (and its undo) puts the new text over the match in one call
// of the document: a failure leaves the match, and no record points at a
// replacement that is not there.
const FailureRow kReplacements[] = {
    {.name = "ReplaceAll", .file = "abc\nabc\n",
     .step = Search({.find = "b", .replace = "XY", .match_case = true, .replacing = true, .all = true})},
    {.name = "UndoOfAReplacement", .file = "abc\n",
     .before = {Search({.find = "b", .replace = "XY", .match_case = true, .replacing = true})}, .step = Undo},
};
INSTANTIATE_TEST_SUITE_P(Replacements, EditFailure, ::testing::ValuesIn(kReplacements), FailureName);

} // namespace
} // namespace edit_table

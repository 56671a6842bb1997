// Every kind of step leaves a record that applies both ways: backward it
// gives back the text and the caret Undo gives, forward the text and the
// caret the step itself left, and backward again the first ones.
#include "edit_table.h"

#include <memory>

// A row names the fields it sets; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace edit_table {
namespace {

struct BothWaysRow {
    const char* name = "";
    std::string_view file{};
    TextPosition caret{};
    std::optional<TextPosition> select_to{};
    std::vector<Step> before{};  // played first, not applied
    Step step{};                 // its records are applied both ways
    bool auto_indent = true;
};

std::ostream& operator<<(std::ostream& out, const BothWaysRow& row)
{
    return out << row.name;
}

struct State {
    Lines lines;
    TextPosition caret;
    bool operator==(const State&) const = default;
};

State StateOf(const Session& session)
{
    return {session.TextLines(), session.caret.Caret()};
}

class BothWays : public ::testing::TestWithParam<BothWaysRow> {
protected:
    // A session with the row's caret, selection and first steps played.
    std::unique_ptr<Session> Started() const
    {
        const BothWaysRow& row = GetParam();
        auto session = std::make_unique<Session>(row.file, TextEditor::kDefaultUndoLimit, row.auto_indent);
        session->caret.MoveTo(row.caret);
        if (row.select_to) session->Play(ShiftClick(*row.select_to));
        for (const Step& step : row.before) session->Play(step);
        return session;
    }
};

void ApplyBackward(Session& session, int records)
{
    CUndoList& undos = session.editor.Undos();
    for (int i = 0; i < records; ++i) {
        ASSERT_NE(undos.Newest(), nullptr);
        ASSERT_TRUE(session.editor.Apply(*undos.Newest(), ApplyDirection::kBackward));
        undos.Pop();
    }
}

void ApplyForward(Session& session, int records)
{
    CUndoList& undos = session.editor.Undos();
    for (int i = 0; i < records; ++i) {
        ASSERT_NE(undos.NextUndone(), nullptr);
        ASSERT_TRUE(undos.NextUndone()->Reappliable());
        ASSERT_TRUE(session.editor.Apply(*undos.NextUndone(), ApplyDirection::kForward));
        undos.StepForward();
    }
}

TEST_P(BothWays, BackwardForwardAndBackwardAgain)
{
    const BothWaysRow& row = GetParam();
    // The step's own outcome, and what Undo makes of it.
    std::unique_ptr<Session> undone = Started();
    const State first = StateOf(*undone);
    const int recordsBefore = undone->editor.Undos().Count();
    undone->Play(row.step);
    const State made = StateOf(*undone);
    const int records = undone->editor.Undos().Count() - recordsBefore;
    ASSERT_GT(records, 0) << "the step recorded nothing";
    for (int i = 0; i < records; ++i) undone->editor.Undo();
    const State afterUndo = StateOf(*undone);
    ASSERT_EQ(afterUndo.lines, first.lines);

    std::unique_ptr<Session> session = Started();
    session->Play(row.step);
    ApplyBackward(*session, records);
    EXPECT_EQ(StateOf(*session), afterUndo) << "backward";
    ApplyForward(*session, records);
    EXPECT_EQ(StateOf(*session), made) << "forward";
    EXPECT_EQ(session->editor.Undos().UndoneCount(), 0);
    ApplyBackward(*session, records);
    EXPECT_EQ(StateOf(*session), afterUndo) << "backward again";
    // The records stay after the position, each to be applied once more.
    EXPECT_EQ(session->editor.Undos().UndoneCount(), records);
    EXPECT_EQ(session->doc.Error(), 0);
}

FindRequest Replacing(std::string find, std::string replace, bool all = false, bool down = true)
{
    return {.find = std::move(find), .replace = std::move(replace), .down = down, .replacing = true, .all = all};
}

const BothWaysRow kRows[] = {
    {.name = "Typing", .file = "abc\ndef\n", .caret = {0, 1}, .step = Type("XY")},
    {.name = "TypingATab", .file = "a\tb\n", .caret = {0, 1}, .step = Type("\t")},
    {.name = "TypingInvalidBytes", .file = "ab\n", .caret = {0, 1}, .step = Type("\xc3\xa9\xe4\xb8")},
    {.name = "TypingOverASelection", .file = "abc\ndef\n", .caret = {0, 1}, .select_to = TextPosition{1, 1},
     .step = Type("X")},
    {.name = "Overwriting", .file = "abc\n", .caret = {0, 1}, .before = {Overwrite}, .step = Type("XY")},
    {.name = "OverwritingAWideCharacter", .file = "\xe4\xb8\xad" "b\n", .before = {Overwrite},
     .step = Type("a")},
    {.name = "OverwritingACombinedCharacter", .file = "e\xcc\x81x\n", .before = {Overwrite},
     .step = Type("\xc3\xa9")},
    {.name = "OverwritingPastTheEnd", .file = "ab\n", .caret = {0, 1}, .before = {Overwrite},
     .step = Type("XYZ")},
    {.name = "EnterWithAutoIndent", .file = "  \tabc\n", .caret = {0, 5}, .step = Enter},
    {.name = "EnterAtTheEndWithAutoIndent", .file = "  abc\nx\n", .caret = {0, 5}, .step = Enter},
    {.name = "EnterAtTheStartCarriesNoIndent", .file = "  abc\n", .caret = {0, 0}, .step = Enter},
    {.name = "EnterOnABlankLine", .file = "   \n", .caret = {0, 3}, .step = Enter},
    {.name = "EnterWithoutAutoIndent", .file = "  abc\n", .caret = {0, 3}, .step = Enter, .auto_indent = false},
    {.name = "EnterOverASelection", .file = "  abc\ndef\n", .caret = {0, 3}, .select_to = TextPosition{1, 1},
     .step = Enter},
    {.name = "Backspace", .file = "a\xc3\xa9" "b\n", .caret = {0, 2}, .step = Backspace},
    {.name = "BackspaceJoining", .file = "abc\ndef\n", .caret = {1, 0}, .step = Backspace},
    {.name = "Delete", .file = "a\xe4\xb8\xad" "b\n", .caret = {0, 1}, .step = Delete},
    {.name = "DeleteJoining", .file = "abc\ndef\n", .caret = {0, 3}, .step = Delete},
    {.name = "DeleteOfASelection", .file = "abc\ndef\nghi\n", .caret = {0, 1}, .select_to = TextPosition{2, 1},
     .step = Delete},
    {.name = "DeleteOfASelectionToALineEnd", .file = "abc\ndef\nghi\n", .caret = {0, 1},
     .select_to = TextPosition{1, 3}, .step = Delete},
    {.name = "DeleteOfLinesWithLoneCRs", .file = "a\rb\nc\rd\n", .caret = {0, 1}, .select_to = TextPosition{1, 2},
     .before = {TabWidth(3)}, .step = Delete},
    {.name = "Cut", .file = "abc\ndef\n", .caret = {0, 1}, .select_to = TextPosition{1, 1}, .step = Cut},
    {.name = "Paste", .file = "abc\ndef\n", .caret = {0, 1}, .step = Paste("X\r\nY\nZ\rW\n\rV")},
    {.name = "PasteOfOneLine", .file = "abc\n", .caret = {0, 3}, .step = Paste("\txy")},
    {.name = "PasteEndingInABreak", .file = "abc\n", .caret = {0, 1}, .step = Paste("xy\n")},
    {.name = "PasteOverASelection", .file = "abc\ndef\n", .caret = {0, 1}, .select_to = TextPosition{1, 2},
     .step = Paste("1\n2")},
    {.name = "ClearAll", .file = "abc\n\tdef\n\xc3\xa9\n", .caret = {1, 2}, .step = ClearAll},
    {.name = "Replace", .file = "a\tbc bc\n", .caret = {0, 0},
     .step = Search(Replacing("BC", "xyz"))},
    {.name = "ReplaceUp", .file = "bc bc\n", .caret = {0, 5}, .step = Search(Replacing("bc", "", false, false))},
    {.name = "ReplaceAll", .file = "bc\tbc\nbcbc\n", .step = Search(Replacing("bc", "\xc3\xa9-", true))},
    {.name = "ReplaceAllUp", .file = "bc\tbc\nbcbc\n", .caret = {1, 4},
     .step = Search(Replacing("bc", "b", true, false))},
    {.name = "ReplaceAllAfterATabWidthChange", .file = "\tab\tab\n", .before = {TabWidth(2)},
     .step = Search(Replacing("ab", "\t", true))},
};

std::string BothWaysName(const ::testing::TestParamInfo<BothWaysRow>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Steps, BothWays, ::testing::ValuesIn(kRows), BothWaysName);

} // namespace
} // namespace edit_table

#include "edit_table.h"

namespace edit_table {

std::ostream& operator<<(std::ostream& out, const Row& row)
{
    return out << row.name;
}

std::string RowName(const ::testing::TestParamInfo<Row>& info)
{
    return info.param.name;
}

Session::Session(std::string_view bytes, int undoLimit, bool autoIndent)
    : path(tree.Write("file.txt", bytes)), doc(path), caret(&doc), editor(doc, caret, undoLimit),
      auto_indent(autoIndent)
{
    doc.Load();
}

void Session::Play(const Step& step)
{
    switch (step.op) {
    case Op::kType: editor.Type(step.text); break;
    case Op::kEnter: editor.SplitLine(auto_indent); break;
    case Op::kBackspace: editor.Backspace(); break;
    case Op::kDelete: editor.DeleteForward(); break;
    case Op::kMove:
        // As the window does on a movement key: the caret moves and snaps
        // to a character, then the selection follows or collapses.
        if (caret.Move(step.move)) {
            caret.SnapCaret();
            caret.FollowCaret(step.shift);
        }
        break;
    case Op::kOverwrite: caret.ToggleOverwrite(); break;
    case Op::kPaste: editor.Paste(step.text); break;
    case Op::kCopy: copied = editor.SelectedText(); break;
    case Op::kCut:
        copied = editor.SelectedText();
        editor.Cut();
        break;
    case Op::kClearAll: editor.ClearAll(); break;
    case Op::kUndo:
        if (step.count < 0) UndoEverything();
        for (int i = 0; i < step.count; ++i) editor.Undo();
        break;
    case Op::kSelectAll: caret.SelectAll(); break;
    case Op::kSelectWord: caret.SelectWordAt(step.at); break;
    case Op::kMoveTo: caret.MoveTo(step.at); break;
    case Op::kClick:
        caret.PlaceCaret(step.at);
        caret.SnapCaret();
        caret.FollowCaret(step.shift);
        break;
    case Op::kSave:
        ASSERT_TRUE(doc.Save());
        editor.Undos().MarkSaved();
        saved_once = true;
        break;
    case Op::kTabWidth: doc.SetTabSize(step.count); break;
    case Op::kSearch: {
        int replaced = 0;
        FindReplaceRun run(editor, step.find);
        found = run.Run([&] {
            if (++replaced != step.stop_after) return RunVerdict::kGoOn;
            return step.abandon ? RunVerdict::kAbandoned : RunVerdict::kStop;
        });
        EXPECT_EQ(run.Abandoned(), step.abandon);
        break;
    }
    }
}

void Session::UndoEverything()
{
    for (int i = 0; editor.CanUndo(); ++i) {
        ASSERT_LT(i, 2 * CUndoList::kMaxLimit) << "an undo record that never goes";
        editor.Undo();
    }
}

Lines Session::TextLines() const
{
    Lines lines;
    for (int i = 0; i < doc.LineCount(); ++i) lines.emplace_back(doc.GetLine(i)->View());
    return lines;
}

std::string Session::SavedBytes()
{
    EXPECT_TRUE(doc.Save());
    return tree.Read("file.txt");
}

namespace {

// The caret and the selection before the steps, then the steps.
void PlayRow(Session& session, const Row& row)
{
    session.caret.MoveTo(row.caret);
    if (row.select_to) session.Play(ShiftClick(*row.select_to));
    for (const Step& step : row.steps) session.Play(step);
}

} // namespace

TEST_P(EditTable, Row)
{
    const Row& row = GetParam();
    Session session(row.file, row.undo_limit, row.auto_indent);
    PlayRow(session, row);

    EXPECT_EQ(session.TextLines(), row.lines);
    EXPECT_EQ(session.caret.Caret(), row.after) << "the caret";
    if (row.selected) {
        EXPECT_EQ(session.caret.Anchor(), row.selected->anchor) << "the selection's anchor";
        EXPECT_EQ(session.caret.SelectionEnd(), row.selected->end) << "the selection's end";
    } else {
        EXPECT_FALSE(session.caret.HasSelection()) << "selected " << session.caret.Anchor() << " to "
                                                   << session.caret.SelectionEnd();
    }
    if (row.undos) {
        EXPECT_EQ(session.editor.Undos().Count(), *row.undos) << "undo records";
    }
    if (row.modified) {
        EXPECT_EQ(session.doc.Modified(), *row.modified) << "the modified flag";
    }
    if (row.found) {
        EXPECT_EQ(session.found, *row.found) << "occurrences found";
    }
    if (row.copied) {
        EXPECT_EQ(session.copied, row.copied) << "the copied text";
    }
    if (row.saved) {
        EXPECT_EQ(session.SavedBytes(), *row.saved) << "the saved file";
    }
    EXPECT_EQ(session.doc.Error(), 0);

    // Played again, every step undone gives back what was loaded. Records
    // dropped at the limit (the change counter then runs ahead of the
    // count) make that impossible, as does a row that says so.
    if (!row.replayable) return;
    Session replay(row.file, row.undo_limit, row.auto_indent);
    PlayRow(replay, row);
    const CUndoList& undos = replay.editor.Undos();
    if (undos.ChangeCounter() != undos.Count()) return;
    replay.UndoEverything();
    Session loaded(row.file, row.undo_limit, row.auto_indent);
    EXPECT_EQ(replay.TextLines(), loaded.TextLines()) << "after undoing everything";
    if (!replay.saved_once) {
        EXPECT_FALSE(replay.doc.Modified()) << "after undoing everything";
    }
}

} // namespace edit_table

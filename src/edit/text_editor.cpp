#include "edit/text_editor.h"

#include "docs/text_doc.h"
#include "edit/caret_model.h"

TextEditor::TextEditor(TextDoc& doc, CaretModel& caret, int undoLimit) : doc_(doc), caret_(caret), undo_(undoLimit) {}

EditOutcome TextEditor::Changed()
{
    caret_.SnapCaret();
    caret_.FollowCaret(false);
    doc_.SetModified(true);
    return EditOutcome::kChanged;
}

// --- deleting ---

std::optional<std::string> TextEditor::RemovedText(TextPosition start, TextPosition end) const
{
    std::optional<std::string> copy = doc_.CopyText(start, end);
    if (!copy) return std::nullopt;
    std::string& text = *copy;
    // The clipboard form ends a range over several lines that stops at the
    // end of its last line with a line break; putting the text back must
    // not add that break as a line of its own.
    if (start.line != end.line && end.column >= doc_.LineWidth(doc_.GetLine(end.line)) && text.size() >= 2 &&
        text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.resize(text.size() - 2);
    return copy;
}

bool TextEditor::RemoveSelectedText()
{
    TextPosition start, end;
    if (!caret_.OrderedSelection(start, end)) return false;
    const TextLine* first = doc_.GetLine(start.line);
    const TextLine* last = doc_.GetLine(end.line);
    if (!first || !last) return false;
    const int from = doc_.ColumnToIndex(first, start.column);
    const int to = doc_.ColumnToIndex(last, end.column);
    bool ok;
    if (start.line == end.line) {
        ok = doc_.DeleteChars(start.line, from, to - from);
    } else if (end.line == start.line + 1 && from == first->Length()) {
        // A line break and the start of the next line (undoing Enter): the
        // two lines join where the longer one lies, then the start goes,
        // which cannot fail in a joined line's own block.
        ok = doc_.JoinLines(start.line) && (to == 0 || doc_.DeleteChars(start.line, from, to));
    } else {
        // The joined line is made whole before the old lines go (removing
        // lines never fails), so a failure leaves the text as it was.
        std::string joined(first->View().substr(0, std::size_t(from)));
        joined += last->View().substr(std::size_t(to));
        ok = doc_.InsertLine(end.line + 1, joined) && doc_.DeleteLines(start.line, end.line - start.line + 1);
    }
    caret_.Select(start, start);
    return ok;
}

EditOutcome TextEditor::DeleteSelection()
{
    TextPosition start, end;
    if (!caret_.OrderedSelection(start, end)) return EditOutcome::kNothing;
    // Nothing goes that the undo list could not give back.
    std::optional<std::string> removed = RemovedText(start, end);
    if (!removed || !RemoveSelectedText()) return Failed();
    undo_.PushBlock(std::move(*removed), UndoKind::kDeleted, start, start, end);
    return Changed();
}

EditOutcome TextEditor::Backspace()
{
    if (caret_.HasSelection()) return DeleteSelection();
    const TextPosition old = caret_.Caret();
    const TextLine* line = doc_.GetLine(old.line);
    if (!line) return EditOutcome::kNothing;
    const int index = doc_.ColumnToIndex(line, old.column);
    if (old.column > 0 && index > 0) {
        const int from = doc_.PrevCharIndex(line, index);
        const TextPosition now{old.line, doc_.PrefixWidth(line, from)};
        const std::string removed(line->View().substr(std::size_t(from), std::size_t(index - from)));
        if (!doc_.DeleteChars(old.line, from, index - from)) return Failed();
        undo_.Push(removed, UndoKind::kDeleted, now, now, old);
        caret_.PlaceCaret(now);
    } else if (old.line > 0) {
        const TextLine* above = doc_.GetLine(old.line - 1);
        const TextPosition joint{old.line - 1, doc_.LineWidth(above)};
        const int breakIndex = above->Length();
        if (!doc_.JoinLines(joint.line)) return Failed();
        undo_.PushLineBreak(UndoKind::kDeleted, old, joint, {old.line, 0}, breakIndex);
        caret_.PlaceCaret(joint);
    } else {
        return EditOutcome::kNothing;
    }
    return Changed();
}

EditOutcome TextEditor::DeleteForward()
{
    if (caret_.HasSelection()) return DeleteSelection();
    const TextPosition at = caret_.Caret();
    const TextLine* line = doc_.GetLine(at.line);
    if (!line) return EditOutcome::kNothing;
    if (at.column < doc_.LineWidth(line)) {
        const int index = doc_.ColumnToIndex(line, at.column);
        const int next = doc_.NextCharIndex(line, index);
        const std::string removed(line->View().substr(std::size_t(index), std::size_t(next - index)));
        const TextPosition right{at.line, doc_.PrefixWidth(line, next)};
        if (!doc_.DeleteChars(at.line, index, next - index)) return Failed();
        undo_.Push(removed, UndoKind::kDeleted, at, at, right);
    } else if (at.line + 1 < doc_.LineCount()) {
        const int breakIndex = line->Length();
        if (!doc_.JoinLines(at.line)) return Failed();
        undo_.PushLineBreak(UndoKind::kDeleted, at, at, {at.line + 1, 0}, breakIndex);
    } else {
        return EditOutcome::kNothing;
    }
    return Changed();
}

// --- putting text in ---

EditOutcome TextEditor::SplitLine(bool autoIndent)
{
    if (caret_.HasSelection()) DeleteSelection();
    return InsertLineBreak(autoIndent, true);
}

EditOutcome TextEditor::InsertLineBreak(bool autoIndent, bool record, int breakIndex)
{
    const TextPosition old = caret_.Caret();
    const TextLine* line = doc_.GetLine(old.line);
    if (!line) return EditOutcome::kNothing;
    const int index = breakIndex >= 0 ? std::min(breakIndex, line->Length()) : doc_.ColumnToIndex(line, old.column);
    const std::string indent = autoIndent ? doc_.LeadingWhiteSpace(old.line) : std::string();
    if (index < line->Length()) {
        // At the line's start the line moves down whole, unindented.
        const std::string carried = old.column > 0 ? indent : std::string();
        if (!doc_.SplitLine(old.line, index, carried)) return Failed();
        caret_.PlaceCaret({old.line + 1, doc_.PrefixWidth(doc_.GetLine(old.line + 1), int(carried.size()))});
    } else {
        if (!doc_.InsertLine(old.line + 1, indent)) return Failed();
        caret_.PlaceCaret({old.line + 1, doc_.LineWidth(doc_.GetLine(old.line + 1))});
    }
    if (record) undo_.PushLineBreak(UndoKind::kInserted, old, old, caret_.Caret());
    return Changed();
}

EditOutcome TextEditor::Type(std::string_view bytes)
{
    if (bytes.empty()) return EditOutcome::kNothing;
    if (caret_.HasSelection()) DeleteSelection();
    const TextPosition at = caret_.Caret();
    const TextLine* line = doc_.GetLine(at.line);
    if (!line) return EditOutcome::kNothing;
    const int index = doc_.ColumnToIndex(line, at.column);
    const bool over = caret_.Overwrite() && index < line->Length();
    if (over) {
        const std::string before(line->View().substr(std::size_t(index), bytes.size()));
        if (!doc_.OverwriteChars(at.line, bytes, index)) return Failed();
        // The record ends after what was typed, which may run past the
        // characters it went over: undoing takes that part away too.
        const TextPosition right{at.line, doc_.PrefixWidth(line, index + int(bytes.size()))};
        undo_.Push(before, UndoKind::kOverwritten, at, at, right);
    } else if (!doc_.InsertChars(at.line, bytes, index)) {
        return Failed();
    }
    const TextPosition after{at.line, doc_.PrefixWidth(doc_.GetLine(at.line), index + int(bytes.size()))};
    if (!over) undo_.Push(bytes, UndoKind::kInserted, at, at, after);
    caret_.PlaceCaret(after);
    return Changed();
}

// --- the clipboard's steps ---

std::optional<std::string> TextEditor::SelectedText() const
{
    TextPosition start, end;
    if (!caret_.OrderedSelection(start, end)) return std::nullopt;
    return doc_.CopyText(start, end);
}

EditOutcome TextEditor::Cut()
{
    if (!caret_.HasSelection()) return EditOutcome::kNothing;
    const EditOutcome outcome = DeleteSelection();
    if (doc_.LineCount() == 0) {
        doc_.InsertLine(0, "");
        caret_.MoveTo({0, 0});
    }
    return outcome;
}

EditOutcome TextEditor::Paste(std::string_view text)
{
    if (caret_.HasSelection()) DeleteSelection();
    const TextPosition at = caret_.Caret();
    const TextPosition end = doc_.InsertText(text, at);
    if (end != at || !text.empty()) undo_.PushPaste(at, end);
    caret_.PlaceCaret(end);
    return doc_.Error() != 0 ? Failed() : Changed();
}

EditOutcome TextEditor::ClearAll()
{
    if (!caret_.SelectAll()) return EditOutcome::kNothing;
    const EditOutcome outcome = DeleteSelection();
    if (doc_.LineCount() == 0) doc_.InsertLine(0, "");
    caret_.MoveTo({0, 0});
    return outcome;
}

// --- undo ---

EditOutcome TextEditor::Undo()
{
    const CUndo* newest = undo_.Newest();
    if (!newest || !newest->text) return EditOutcome::kNothing;
    const CUndo record = *newest;
    const std::string& text = *record.text;
    switch (record.kind) {
    case UndoKind::kDeleted:
        if (record.IsLineBreak()) {
            caret_.Select(record.Start(), record.Start());
            InsertLineBreak(false, false, record.break_index);
        } else {
            // The text is in the form CopyText made: lines joined by CR LF,
            // each of which may hold lone CR bytes that must stay in it.
            doc_.InsertText(text, record.Caret(), LineBreakRule::kLineFeed);
            caret_.Select(record.Start(), record.End());
        }
        break;
    case UndoKind::kInserted:
        caret_.Select(record.Start(), record.End());
        RemoveSelectedText();
        caret_.PlaceCaret(record.Caret());
        break;
    case UndoKind::kOverwritten: {
        const TextLine* line = doc_.GetLine(record.caret_line);
        const int index = doc_.ColumnToIndex(line, record.caret_column);
        const int typed = doc_.ColumnToIndex(line, record.end_column) - index;
        doc_.OverwriteChars(record.caret_line, text, index);
        if (typed > int(text.size())) doc_.DeleteChars(record.caret_line, index + int(text.size()), typed - int(text.size()));
        caret_.Select(record.Caret(), record.Caret());
        break;
    }
    case UndoKind::kReplaced:
    case UndoKind::kReplacedAll:
        UndoReplacement(record);
        break;
    case UndoKind::kNone:
        break;
    }
    // A replay that failed left the text as it was: its record stays for
    // another try.
    if (doc_.Error() != 0) return Failed();
    undo_.Pop();
    caret_.SnapCaret();
    doc_.SetModified(!undo_.AtSavedState());
    return EditOutcome::kChanged;
}

void TextEditor::UndoReplacement(const CUndo& record)
{
    // The replacement made sits at the record's caret; the bytes it
    // replaced go back in its place.
    const std::optional<ReplacementTexts> texts = ParseReplacementRecord(*record.text);
    if (!texts) return;
    const TextLine* line = doc_.GetLine(record.caret_line);
    if (!line) return;
    const std::string_view bytes = line->View();
    const std::string& made = texts->replacement;
    std::size_t index = std::size_t(doc_.ColumnToIndex(line, record.caret_column));
    if (bytes.substr(index, made.size()) != made) {
        // The text moved (the tab width changed since): the replacement,
        // exactly as it was put in, nearest the record's place on its own
        // line; another line never holds it.
        const std::size_t after = bytes.find(made, index);
        const std::size_t before = index == 0 ? std::string_view::npos : bytes.rfind(made, index - 1);
        if (after == std::string_view::npos && before == std::string_view::npos) return;
        index = before == std::string_view::npos || (after != std::string_view::npos && after - index < index - before)
                    ? after
                    : before;
    }
    if (!doc_.ReplaceChars(record.caret_line, int(index), int(made.size()), texts->replaced)) return;
    const TextPosition at{record.caret_line, doc_.PrefixWidth(doc_.GetLine(record.caret_line), int(index))};
    caret_.Select(at, at);
}

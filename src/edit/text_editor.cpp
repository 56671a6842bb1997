#include "edit/text_editor.h"

#include "base/characters.h"
#include "base/display_columns.h"
#include "docs/alloc_gate.h"
#include "docs/doc_errors.h"
#include "docs/text_doc.h"
#include "edit/caret_model.h"

#include <algorithm>

TextEditor::TextEditor(TextDoc& doc, CaretModel& caret, int undoLimit) : doc_(doc), caret_(caret), undo_(undoLimit) {}

EditOutcome TextEditor::Changed()
{
    caret_.SnapCaret();
    caret_.FollowCaret(false);
    doc_.SetModified(true);
    return EditOutcome::kChanged;
}

std::optional<std::string> TextEditor::RecordCopy(std::string_view bytes) const
{
    std::optional<std::string> copy = CopyForUndo(bytes);
    if (!copy) doc_.SetError(doc_error::kMemory);
    return copy;
}

std::optional<std::string> TextEditor::ReplacementRecord(std::string_view replaced,
                                                        std::string_view replacement) const
{
    try {
        if (docs::AllocationAllowed(docs::AllocSite::kUndoText)) return ReplacementRecordText(replaced, replacement);
    } catch (const std::exception&) {
    }
    doc_.SetError(doc_error::kMemory);
    return std::nullopt;
}

// --- deleting ---

std::optional<std::string> TextEditor::RemovedText(TextPlace start, TextPlace end) const
{
    std::optional<std::string> copy = doc_.CopyBytes(start, end);
    if (!copy) return std::nullopt;
    std::string& text = *copy;
    // The clipboard form ends a range over several lines that stops at the
    // end of its last line with a line break; putting the text back must
    // not add that break as a line of its own.
    if (start.line != end.line && end.index >= doc_.GetLine(end.line)->Length() && text.size() >= 2 &&
        text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.resize(text.size() - 2);
    return copy;
}

bool TextEditor::RemoveBytes(TextPlace start, TextPlace end)
{
    const TextLine* first = doc_.GetLine(start.line);
    const TextLine* last = doc_.GetLine(end.line);
    if (!first || !last || end < start) return false;
    const int from = std::clamp(start.index, 0, first->Length());
    const int to = std::clamp(end.index, 0, last->Length());
    if (start.line == end.line) return to == from || doc_.DeleteChars(start.line, from, to - from);
    if (end.line == start.line + 1 && from == first->Length()) {
        // A line break and the start of the next line (undoing Enter): the
        // two lines join where the longer one lies, then the start goes,
        // which cannot fail in a joined line's own block.
        return doc_.JoinLines(start.line) && (to == 0 || doc_.DeleteChars(start.line, from, to));
    }
    // The joined line is made whole before the old lines go (removing
    // lines never fails), so a failure leaves the text as it was.
    try {
        if (!docs::AllocationAllowed(docs::AllocSite::kEdit)) throw std::bad_alloc();
        std::string joined(first->View().substr(0, std::size_t(from)));
        joined += last->View().substr(std::size_t(to));
        return doc_.InsertLine(end.line + 1, joined) && doc_.DeleteLines(start.line, end.line - start.line + 1);
    } catch (const std::exception&) {
        doc_.SetError(doc_error::kMemory);
        return false;
    }
}

EditOutcome TextEditor::DeleteSelection()
{
    TextPosition startColumn, endColumn;
    if (!caret_.OrderedSelection(startColumn, endColumn)) return EditOutcome::kNothing;
    const TextPlace start = doc_.PlaceAt(startColumn);
    const TextPlace end = doc_.PlaceAt(endColumn);
    // Nothing goes that the undo list could not give back.
    std::optional<std::string> removed = RemovedText(start, end);
    if (!removed || !RemoveBytes(start, end)) return Failed();
    caret_.Select(startColumn, startColumn);
    undo_.PushBlock(std::move(*removed), UndoKind::kDeleted, start, start, end);
    return Changed();
}

EditOutcome TextEditor::Backspace()
{
    if (caret_.HasSelection()) return DeleteSelection();
    const TextPlace at = doc_.PlaceAt(caret_.Caret());
    const TextLine* line = doc_.GetLine(at.line);
    if (!line) return EditOutcome::kNothing;
    if (at.index > 0) {
        const TextPlace from{at.line, doc_.PrevCharIndex(line, at.index)};
        std::optional<std::string> removed =
            RecordCopy(line->View().substr(std::size_t(from.index), std::size_t(at.index - from.index)));
        if (!removed || !doc_.DeleteChars(at.line, from.index, at.index - from.index)) return Failed();
        undo_.PushBlock(std::move(*removed), UndoKind::kDeleted, from, from, at);
        caret_.PlaceCaret(doc_.PositionAt(from));
    } else if (at.line > 0) {
        const TextPlace joint{at.line - 1, doc_.GetLine(at.line - 1)->Length()};
        if (!doc_.JoinLines(joint.line)) return Failed();
        undo_.PushLineBreak(UndoKind::kDeleted, at, joint, {at.line, 0});
        caret_.PlaceCaret(doc_.PositionAt(joint));
    } else {
        return EditOutcome::kNothing;
    }
    return Changed();
}

EditOutcome TextEditor::DeleteForward()
{
    if (caret_.HasSelection()) return DeleteSelection();
    const TextPlace at = doc_.PlaceAt(caret_.Caret());
    const TextLine* line = doc_.GetLine(at.line);
    if (!line) return EditOutcome::kNothing;
    if (at.index < line->Length()) {
        const TextPlace next{at.line, doc_.NextCharIndex(line, at.index)};
        std::optional<std::string> removed =
            RecordCopy(line->View().substr(std::size_t(at.index), std::size_t(next.index - at.index)));
        if (!removed || !doc_.DeleteChars(at.line, at.index, next.index - at.index)) return Failed();
        undo_.PushBlock(std::move(*removed), UndoKind::kDeleted, at, at, next);
    } else if (at.line + 1 < doc_.LineCount()) {
        if (!doc_.JoinLines(at.line)) return Failed();
        undo_.PushLineBreak(UndoKind::kDeleted, at, at, {at.line + 1, 0});
    } else {
        return EditOutcome::kNothing;
    }
    return Changed();
}

// --- putting text in ---

EditOutcome TextEditor::SplitLine(bool autoIndent)
{
    if (caret_.HasSelection() && DeleteSelection() == EditOutcome::kFailed) return Failed();
    return InsertLineBreak(autoIndent);
}

std::optional<TextPlace> TextEditor::PutLineBreak(TextPlace at, std::string_view carried)
{
    const TextLine* line = doc_.GetLine(at.line);
    if (!line) return std::nullopt;
    const int index = std::clamp(at.index, 0, line->Length());
    if (index < line->Length()) {
        if (!doc_.SplitLine(at.line, index, carried)) return std::nullopt;
    } else if (!doc_.InsertLine(at.line + 1, carried)) {
        return std::nullopt;
    }
    return TextPlace{at.line + 1, int(carried.size())};
}

EditOutcome TextEditor::InsertLineBreak(bool autoIndent)
{
    const TextPlace old = doc_.PlaceAt(caret_.Caret());
    const TextLine* line = doc_.GetLine(old.line);
    if (!line) return EditOutcome::kNothing;
    const TextPlace at{old.line, std::clamp(old.index, 0, line->Length())};
    std::string indent;
    try {
        if (autoIndent) indent = doc_.LeadingWhiteSpace(old.line);
    } catch (const std::exception&) {
        doc_.SetError(doc_error::kMemory);
        return Failed();
    }
    // At the line's start the line moves down whole, unindented.
    if (at.index == 0 && at.index < line->Length()) indent.clear();
    const std::optional<TextPlace> after = PutLineBreak(at, indent);
    if (!after) return Failed();
    caret_.PlaceCaret(doc_.PositionAt(*after));
    undo_.PushLineBreak(UndoKind::kInserted, at, at, *after, std::move(indent));
    return Changed();
}

int TextEditor::OverwrittenEnd(const TextLine* line, int index, std::string_view typed) const
{
    // Marks typed first join the character before the caret.
    std::size_t i = 0;
    while (i < typed.size() && static_cast<unsigned char>(typed[i]) >= 0x80 &&
           text::CellWidth(text::CharAt(typed, i)) == 0)
        i += std::size_t(text::CharAt(typed, i).length);
    int end = index;
    for (; i < typed.size() && end < line->Length(); i = text::NextCharIndex(typed, long(i)))
        end = doc_.NextCharIndex(line, end);
    return end;
}

EditOutcome TextEditor::Type(std::string_view bytes)
{
    if (bytes.empty()) return EditOutcome::kNothing;
    if (caret_.HasSelection() && DeleteSelection() == EditOutcome::kFailed) return Failed();
    const TextPlace at = doc_.PlaceAt(caret_.Caret());
    const TextLine* line = doc_.GetLine(at.line);
    if (!line) return EditOutcome::kNothing;
    const TextPlace after{at.line, at.index + int(bytes.size())};
    const int overEnd = caret_.Overwrite() ? OverwrittenEnd(line, at.index, bytes) : at.index;
    if (overEnd > at.index) {
        std::optional<std::string> before =
            RecordCopy(line->View().substr(std::size_t(at.index), std::size_t(overEnd - at.index)));
        // The typed characters are kept when memory allows; undoing needs
        // only what they went over.
        std::optional<std::string> typed = before ? CopyForUndo(bytes) : std::nullopt;
        if (!before || !doc_.ReplaceChars(at.line, at.index, overEnd - at.index, bytes)) return Failed();
        undo_.PushOverwrite(std::move(*before), std::move(typed), int(bytes.size()), at);
    } else {
        std::optional<std::string> typed = RecordCopy(bytes);
        if (!typed || !doc_.InsertChars(at.line, bytes, at.index)) return Failed();
        undo_.PushBlock(std::move(*typed), UndoKind::kInserted, at, at, after);
    }
    caret_.PlaceCaret(doc_.PositionAt(after));
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
    if (caret_.HasSelection() && DeleteSelection() == EditOutcome::kFailed) return Failed();
    if (text.empty()) return EditOutcome::kNothing;
    const TextPlace at = doc_.PlaceAt(caret_.Caret());
    // The record keeps the text when memory allows; undoing needs only
    // the range.
    std::optional<std::string> kept = CopyForUndo(text);
    const TextPlace end = doc_.InsertTextAt(text, at);
    if (doc_.Error() != 0 || end == at) return Failed();
    undo_.PushPaste(std::move(kept), at, end);
    caret_.PlaceCaret(doc_.PositionAt(end));
    return Changed();
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
    if (!newest || !newest->Replayable()) return EditOutcome::kNothing;
    // A record that failed left the text as it was: it stays done, for
    // another try.
    if (!Apply(*newest, ApplyDirection::kBackward)) {
        if (doc_.Error() == 0) doc_.SetError(doc_error::kMemory);
        return Failed();
    }
    undo_.Pop();
    caret_.SnapCaret();
    doc_.SetModified(!undo_.AtSavedState());
    return EditOutcome::kChanged;
}

bool TextEditor::Apply(const CUndo& record, ApplyDirection direction)
{
    const bool backward = direction == ApplyDirection::kBackward;
    if (!(backward ? record.Replayable() : record.Reappliable())) return false;
    TextPlace caret = record.Start();
    switch (record.kind) {
    case UndoKind::kOverwritten:
    case UndoKind::kReplaced:
    case UndoKind::kReplacedAll:
        if (!SwapInLine(record, direction)) return false;
        // Typing leaves the caret after what it typed; a replacement at
        // the start of the replaced occurrence.
        if (!backward && record.kind == UndoKind::kOverwritten) caret = record.End();
        break;
    case UndoKind::kDeleted:
    case UndoKind::kInserted:
        // Undoing a deletion and making an insertion again put the
        // record's text in; the other two take its range out.
        if (backward == (record.kind == UndoKind::kDeleted)) {
            const std::optional<TextPlace> end = PutRecordText(record);
            if (!end) return false;
            if (backward && !record.IsLineBreak()) {
                // Text put back stands selected.
                caret_.Select(doc_.PositionAt(record.Start()), doc_.PositionAt(*end));
                return true;
            }
            caret = *end;
        } else {
            if (!RemoveBytes(record.Start(), record.End())) return false;
            if (backward) caret = record.Caret();
        }
        break;
    case UndoKind::kNone: return true;
    }
    const TextPosition at = doc_.PositionAt(caret);
    caret_.Select(at, at);
    return true;
}

std::optional<TextPlace> TextEditor::PutRecordText(const CUndo& record)
{
    const TextPlace at = record.Start();
    if (record.IsLineBreak()) {
        // Only Enter carried blanks along; a join took out the bare break.
        const bool carries = record.kind == UndoKind::kInserted && record.forward;
        return PutLineBreak(at, carries ? std::string_view(*record.forward) : std::string_view());
    }
    const std::string& text = *record.text;
    if (record.kind == UndoKind::kInserted && !record.pasted) {
        // Typed bytes go into their line as they are, breaks or not.
        if (!doc_.InsertChars(at.line, text, at.index)) return std::nullopt;
        return TextPlace{at.line, at.index + int(text.size())};
    }
    // Deleted text is in the form CopyText made: lines joined by CR LF,
    // each of which may hold lone CR bytes that must stay in it. Pasted
    // text splits at any line break form, as it did.
    const LineBreakRule rule = record.kind == UndoKind::kDeleted ? LineBreakRule::kLineFeed : LineBreakRule::kAnyForm;
    const TextPlace end = doc_.InsertTextAt(text, at, rule);
    if (doc_.Error() != 0) return std::nullopt;
    return end;
}

bool TextEditor::SwapInLine(const CUndo& record, ApplyDirection direction)
{
    std::string_view removed = *record.text;
    std::string_view inserted = record.forward ? std::string_view(*record.forward) : std::string_view();
    if (record.kind != UndoKind::kOverwritten) {
        const std::optional<ReplacementViews> texts = SplitReplacementRecord(*record.text);
        if (!texts) return false;
        removed = texts->replaced;
        inserted = texts->replacement;
    }
    const TextPlace at = record.Start();
    if (direction == ApplyDirection::kBackward)
        return doc_.ReplaceChars(at.line, at.index, record.End().index - at.index, removed);
    return doc_.ReplaceChars(at.line, at.index, int(removed.size()), inserted);
}

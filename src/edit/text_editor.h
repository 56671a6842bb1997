#pragma once
// Every change a user makes to the text of a window: typing, overwriting,
// Enter with its indent, Backspace and Delete, deleting, cutting and
// pasting a selection, clearing all, and Undo. Each step changes the
// document only through its line primitives, records what reverses it in
// the undo list, and leaves the caret and the selection in the caret model
// where the user expects them. Plain C++: the window turns keys into these
// calls, then scrolls, paints and reports a document error.
//
// A step returns what became of it: nothing to do (no change, nothing
// recorded), a change (the document is marked modified), or a failure (the
// document's error code says why; the text is as it was or whole).

#include "docs/undo_list.h"

#include <optional>
#include <string>
#include <string_view>

class CaretModel;
class TextDoc;
class TextLine;

enum class EditOutcome { kNothing, kChanged, kFailed };

// Which way an undo record is applied: backward takes out what its step put
// in and puts back what it took out; forward makes the step again.
enum class ApplyDirection { kBackward, kForward };

class TextEditor {
public:
    static constexpr int kDefaultUndoLimit = 16;

    TextEditor(TextDoc& doc, CaretModel& caret, int undoLimit = kDefaultUndoLimit);

    CUndoList& Undos() { return undo_; }
    const CUndoList& Undos() const { return undo_; }

    // Typed text at the caret (over the selection): inserted, or in
    // overwrite mode put over as many characters from the caret on as it
    // holds (whatever their byte lengths; a character takes its combining
    // marks along).
    EditOutcome Type(std::string_view bytes);
    // Enter: splits the line at the caret; with auto indent the new line
    // starts with the old line's leading blanks (not when the caret was at
    // its start).
    EditOutcome SplitLine(bool autoIndent);
    // Backspace: the selection, else the character before the caret, else
    // the line break before the line.
    EditOutcome Backspace();
    // Delete: the selection, else the character at the caret, else the
    // line break after the line.
    EditOutcome DeleteForward();
    // Removes the selection and records it; the caret goes to its start.
    EditOutcome DeleteSelection();
    // The selected text in the clipboard's form (lines joined by CR LF);
    // none when nothing is selected or it cannot be copied.
    std::optional<std::string> SelectedText() const;
    // Deletes the selection; a document left without a line gets an empty one.
    EditOutcome Cut();
    // Puts text in at the caret (over the selection); any of the four line
    // break forms splits it into lines.
    EditOutcome Paste(std::string_view text);
    // Removes every line but an empty one, undoably.
    EditOutcome ClearAll();

    bool CanUndo() const { return !undo_.Empty(); }
    // Applies the newest done record backward and moves the list's position
    // back over it (the record stays). The document is modified
    // exactly when its text differs from what was last loaded or saved.
    EditOutcome Undo();

    // Applies one record at its byte place, without touching the undo list
    // or the modified flag. Backward the caret goes where Undo puts it;
    // forward where the step left it. False when the document refused
    // (error set) or the record lacks the text that direction needs.
    bool Apply(const CUndo& record, ApplyDirection direction);

private:
    friend class FindReplaceRun;

    // The text a deletion of [start, end) removes, as the undo list keeps it.
    // None (error 5) when it cannot be copied.
    std::optional<std::string> RemovedText(TextPlace start, TextPlace end) const;
    // A copy of bytes for an undo record; none (error 5) when memory runs out.
    std::optional<std::string> RecordCopy(std::string_view bytes) const;
    // The record text of one replacement; none (error 5) when memory runs out.
    std::optional<std::string> ReplacementRecord(std::string_view replaced, std::string_view replacement) const;
    // Removes the bytes [start, end) without recording; true when the
    // document took it (an empty range takes nothing).
    bool RemoveBytes(TextPlace start, TextPlace end);
    // Splits the caret's line at the caret and records it.
    EditOutcome InsertLineBreak(bool autoIndent);
    // The end of the characters that typing `typed` in overwrite mode at
    // byte `index` of `line` goes over: one character of the line (with
    // the combining marks that follow it) for each character typed; marks
    // typed first go with the character before the caret and overwrite
    // nothing.
    int OverwrittenEnd(const TextLine* line, int index, std::string_view typed) const;
    // Puts a line break in at `at`, the new line starting with `carried`;
    // where the new line's own bytes begin, or none when the document refused.
    std::optional<TextPlace> PutLineBreak(TextPlace at, std::string_view carried);
    // Puts the text an insertion or a deletion record holds back in at its
    // start, in the form the record keeps it; the end of what went in, or
    // none when the document refused.
    std::optional<TextPlace> PutRecordText(const CUndo& record);
    // Swaps the bytes of a one-line record (an overwrite, a replacement):
    // what it put in for what it took out, or the other way.
    bool SwapInLine(const CUndo& record, ApplyDirection direction);
    // The end of a step that changed the text: the caret snaps to a
    // character and the selection collapses onto it.
    EditOutcome Changed();
    EditOutcome Failed() const { return EditOutcome::kFailed; }

    TextDoc& doc_;
    CaretModel& caret_;
    CUndoList undo_;
};

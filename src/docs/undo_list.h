#pragma once
// The bounded list of undo records of a text window. Every edit pushes one
// record saying what it took out and what it put in at its place, so that
// the record can be applied backward (undo) and forward again. Records name
// bytes (line and byte index), never display columns, so a change of the
// tab width between an edit and its undo cannot move what is taken out or
// put back.
//
// The list has a current position: the records before it are done, the
// ones after it were undone and could be applied forward again. Undo moves
// the position back over the newest done record; a new edit drops every
// record after the position.
//
// The change counter goes up with every push or step forward and down with
// every step back (never when an old record is dropped). Whether the text
// is again the one last loaded or saved is told by identity, not by a
// count: every record gets a serial number of its own, and the text now
// shown is the one the newest done record left (or, with none, the one the
// last dropped record left). A count could come back to the saved value
// after an edit below the saved point, or after a record was dropped.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "docs/text_position.h"

// What a record reverses, and the text it keeps for that.
enum class UndoKind {
    kNone = 0,
    kDeleted = 1,      // the deleted text (CopyText form), or a removed line break
    kInserted = 2,     // inserted text, a line break (Enter) or a paste: the range says what
    kOverwritten = 3,  // the characters that were overwritten
    kReplaced = 4,     // ReplacementRecordText of the replaced bytes and the replacement
    kReplacedAll = 5,  // one replacement of a replace-all, as kReplaced
};

// The two texts of a replacement record: the bytes the match covered (in
// the document, whatever the letter case or tabs of the find text) and the
// text put in their place.
struct ReplacementTexts {
    std::string replaced;
    std::string replacement;
};
// The record text of a replacement: the byte length of `replaced` in
// decimal, a CR, then both texts. The length keeps the two apart whatever
// bytes (CR included) either holds.
std::string ReplacementRecordText(std::string_view replaced, std::string_view replacement);
// Reads a text ReplacementRecordText made; none for any other text.
std::optional<ReplacementTexts> ParseReplacementRecord(std::string_view text);
// The same two texts as views into `text`, without a copy.
struct ReplacementViews {
    std::string_view replaced;
    std::string_view replacement;
};
std::optional<ReplacementViews> SplitReplacementRecord(std::string_view text);

// A copy of text for a record, had under the memory gate; none when
// memory runs out.
std::optional<std::string> CopyForUndo(std::string_view text);

struct CUndo {
    TextPlace caret;  // where the change happened; where the caret goes on undo
    // The affected bytes: what was put in (kInserted, kOverwritten,
    // kReplaced), or where deleted text goes back (start; end is where it
    // ended before it went). A removed line break stood at start.
    TextPlace start;
    TextPlace end;
    // The text the kind names: what a deletion or an overwrite took out,
    // what an insertion put in, both texts of a replacement. None when it
    // could not be stored: Undo then passes the record by (an insertion
    // needs no text to be undone).
    std::optional<std::string> text;
    // The other side of a change that has two: an overwrite's typed
    // characters, the blanks Enter carried to the new line.
    std::optional<std::string> forward;
    UndoKind kind = UndoKind::kNone;
    bool line_break = false;   // a line break put in (Enter) or taken out (lines joined)
    bool pasted = false;       // inserted text any line break form splits (a paste), not typed bytes
    unsigned long serial = 0;  // given by the list, unique within it

    TextPlace Caret() const { return caret; }
    TextPlace Start() const { return start; }
    TextPlace End() const { return end; }
    bool IsLineBreak() const { return line_break; }
    // Whether Undo can replay it: an insertion needs only its range.
    bool Replayable() const { return text.has_value() || kind == UndoKind::kInserted || line_break; }
    // Whether it can be applied forward again: a deletion needs only its
    // range, the rest the text they put in.
    bool Reappliable() const;

    static constexpr std::string_view kLineBreakText = "\n";
};

class CUndoList {
public:
    static constexpr int kMinLimit = 1;
    static constexpr int kMaxLimit = 512;

    explicit CUndoList(int limit);  // clamped to kMinLimit .. kMaxLimit

    // Copies text into a new record (at the limit the oldest is dropped).
    // A text that cannot be copied leaves the record without one.
    void Push(std::string_view text, UndoKind kind, TextPlace caret, TextPlace start, TextPlace end);
    // Takes a ready block, e.g. the text of a deleted selection.
    void PushBlock(std::string block, UndoKind kind, TextPlace caret, TextPlace start, TextPlace end);
    // The named forms of the records the editing steps push.
    // A line break put in at `start` (Enter; `end` is where the new line's
    // own bytes begin after its indent) or taken out there (lines joined).
    // `carried` is what Enter put at the new line's start (its indent).
    void PushLineBreak(UndoKind kind, TextPlace caret, TextPlace start, TextPlace end, std::string carried = {})
    {
        Push(CUndo::kLineBreakText, kind, caret, start, end);
        records_[done_ - 1].line_break = true;
        records_[done_ - 1].forward = std::move(carried);
    }
    // Text pasted as [start, end): undoing it removes that range. The copy
    // of the text, had before the paste, is none when memory ran out: the
    // record can then be undone but not applied forward again.
    void PushPaste(std::optional<std::string> text, TextPlace start, TextPlace end);
    // Typing in overwrite mode put `typed` (typedLength bytes; its copy,
    // had before the edit, none when memory ran out) in at `at` over the
    // bytes `overwritten`.
    void PushOverwrite(std::string overwritten, std::optional<std::string> typed, int typedLength, TextPlace at);
    // One replacement made at `at`, replacementSize bytes long; the text
    // is the ReplacementRecordText of the bytes the match covered and the
    // replacement.
    void PushReplacement(std::string recordText, std::size_t replacementSize, bool all, TextPlace at)
    {
        PushBlock(std::move(recordText), all ? UndoKind::kReplacedAll : UndoKind::kReplaced, at, at,
                  {at.line, at.index + static_cast<int>(replacementSize)});
    }
    // The newest done record (the one Undo applies backward), or null.
    const CUndo* Newest() const;
    // Moves the position back over the newest done record and lowers the
    // change counter; the record stays, to be applied forward again.
    // Nothing when no record is done.
    void Pop();
    // The record after the position (the one to apply forward next), or null.
    const CUndo* NextUndone() const;
    // Moves the position forward over NextUndone and raises the change
    // counter; nothing when there is none.
    void StepForward();
    // Clamps the limit and keeps the newest min(count, limit) done records
    // (undone ones go first when the limit shrinks below all records held).
    void SetLimit(int limit);

    // The text now shown is the one on disk (just loaded or saved).
    void MarkSaved() { saved_state_ = State(); }
    // The text is again what was last loaded or saved. An edit made after
    // undoing past that point, or the dropping of a record that led back to
    // it, makes it unreachable.
    bool AtSavedState() const { return State() == saved_state_; }

    int Limit() const { return limit_; }
    // The done records (those Undo can reach).
    int Count() const { return static_cast<int>(done_); }
    bool Empty() const { return done_ == 0; }
    // The records after the position.
    int UndoneCount() const { return static_cast<int>(records_.size() - done_); }
    int ChangeCounter() const { return change_counter_; }

private:
    CUndo& MakeRoom();
    void DropOldest(std::size_t count);
    // The serial of the record that made the text now shown; 0 for the
    // text as loaded.
    unsigned long State() const { return done_ == 0 ? base_state_ : records_[done_ - 1].serial; }

    int limit_;
    int change_counter_ = 0;
    unsigned long next_serial_ = 1;
    unsigned long base_state_ = 0;   // the text below the oldest record held
    unsigned long saved_state_ = 0;
    std::vector<CUndo> records_;  // oldest first
    std::size_t done_ = 0;        // the position: records_[0, done_) are done
};

#pragma once
// The bounded list of undo records of a text window. Every edit pushes one
// record saying what changed, where, and which text reverses it; Undo
// replays the newest and pops it. Records name bytes (line and byte index),
// never display columns, so a change of the tab width between an edit and
// its undo cannot move what the undo takes out or puts back.
//
// The change counter goes up with every push and down with every pop
// (never when an old record is dropped). Whether the text is again the one
// last loaded or saved is told by identity, not by a count: every record
// gets a serial number of its own, and the text now shown is the one the
// newest record left (or, with no record, the one the last dropped record
// left). A count could come back to the saved value after an edit below
// the saved point, or after a record was dropped.

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

struct CUndo {
    TextPlace caret;  // where the change happened; where the caret goes on undo
    // The affected bytes: what was put in (kInserted, kOverwritten,
    // kReplaced), or where deleted text goes back (start; end is where it
    // ended before it went). A removed line break stood at start.
    TextPlace start;
    TextPlace end;
    // What reverses the change; none when it could not be stored: Undo
    // then passes the record by (an insertion needs no text to be undone).
    std::optional<std::string> text;
    // The text the change put in, where it costs nothing more to keep: an
    // overwrite's new characters (a paste and typing keep theirs as text).
    std::optional<std::string> forward;
    UndoKind kind = UndoKind::kNone;
    bool line_break = false;   // a line break put in (Enter) or taken out (lines joined)
    unsigned long serial = 0;  // given by the list, unique within it

    TextPlace Caret() const { return caret; }
    TextPlace Start() const { return start; }
    TextPlace End() const { return end; }
    bool IsLineBreak() const { return line_break; }
    // Whether Undo can replay it: an insertion needs only its range.
    bool Replayable() const { return text.has_value() || kind == UndoKind::kInserted || line_break; }

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
    void PushLineBreak(UndoKind kind, TextPlace caret, TextPlace start, TextPlace end)
    {
        Push(CUndo::kLineBreakText, kind, caret, start, end);
        records_.back().line_break = true;
    }
    // Text pasted as [start, end): undoing it removes that range; the
    // record keeps the text when it can, for redoing it.
    void PushPaste(std::string_view text, TextPlace start, TextPlace end)
    {
        Push(text, UndoKind::kInserted, start, start, end);
    }
    // Typing in overwrite mode put `typed` in at `at` over the bytes
    // `overwritten`.
    // The typed characters are kept when memory allows.
    void PushOverwrite(std::string overwritten, std::string_view typed, TextPlace at);
    // One replacement made at `at`, replacementSize bytes long; the text
    // is the ReplacementRecordText of the bytes the match covered and the
    // replacement.
    void PushReplacement(std::string recordText, std::size_t replacementSize, bool all, TextPlace at)
    {
        PushBlock(std::move(recordText), all ? UndoKind::kReplacedAll : UndoKind::kReplaced, at, at,
                  {at.line, at.index + static_cast<int>(replacementSize)});
    }
    // The newest record, or null when the list is empty.
    const CUndo* Newest() const;
    // Drops the newest record and lowers the change counter; nothing when empty.
    void Pop();
    // Clamps the limit and keeps the newest min(count, limit) records.
    void SetLimit(int limit);

    // The text now shown is the one on disk (just loaded or saved).
    void MarkSaved() { saved_state_ = State(); }
    // The text is again what was last loaded or saved. An edit made after
    // undoing past that point, or the dropping of a record that led back to
    // it, makes it unreachable.
    bool AtSavedState() const { return State() == saved_state_; }

    int Limit() const { return limit_; }
    int Count() const { return static_cast<int>(records_.size()); }
    bool Empty() const { return records_.empty(); }
    int ChangeCounter() const { return change_counter_; }

private:
    CUndo& MakeRoom();
    void DropOldest(std::size_t count);
    // The serial of the record that made the text now shown; 0 for the
    // text as loaded.
    unsigned long State() const { return records_.empty() ? base_state_ : records_.back().serial; }

    int limit_;
    int change_counter_ = 0;
    unsigned long next_serial_ = 1;
    unsigned long base_state_ = 0;   // the text below the oldest record held
    unsigned long saved_state_ = 0;
    std::vector<CUndo> records_;  // oldest first
};

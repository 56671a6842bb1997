#pragma once
// The bounded list of undo records of a text window. Every edit pushes one
// record saying what changed, where, and which text reverses it; Undo
// replays the newest and pops it. The change counter goes up with every
// push and down with every pop (never when an old record is dropped). The
// list also remembers the counter of the text as it was last loaded or
// saved, so that an undo can tell whether the window again shows exactly
// what the file holds.

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
    int caret_line = 0;
    int caret_column = 0;
    int start_line = 0;
    int start_column = 0;
    int end_line = 0;
    int end_column = 0;
    std::optional<std::string> text;  // none when it could not be stored: Undo skips it
    UndoKind kind = UndoKind::kNone;
    // Lines joined: the byte of the joined line where the break stood; -1
    // when not known. A column cannot always tell: bytes of one character
    // may have ended the first line and begun the second.
    int break_index = -1;

    TextPosition Caret() const { return {caret_line, caret_column}; }
    TextPosition Start() const { return {start_line, start_column}; }
    TextPosition End() const { return {end_line, end_column}; }
    // A record of a line break put in (Enter) or taken out (joined lines).
    bool IsLineBreak() const { return text && *text == kLineBreakText; }

    static constexpr std::string_view kLineBreakText = "\n";
};

class CUndoList {
public:
    static constexpr int kMinLimit = 1;
    static constexpr int kMaxLimit = 512;

    explicit CUndoList(int limit);  // clamped to kMinLimit .. kMaxLimit

    // Copies text into a new record (at the limit the oldest is dropped).
    void Push(std::string_view text, UndoKind kind, TextPosition caret, TextPosition start,
              TextPosition end);
    // Takes a ready block, e.g. the text of a deleted selection.
    void PushBlock(std::string block, UndoKind kind, TextPosition caret, TextPosition start,
                   TextPosition end);
    // The named forms of the records the editing steps push.
    // A line break put in at `at` (Enter) or taken out (lines joined, the
    // break having stood at byte breakIndex of the joined line).
    void PushLineBreak(UndoKind kind, TextPosition caret, TextPosition start, TextPosition end,
                       int breakIndex = -1)
    {
        Push(CUndo::kLineBreakText, kind, caret, start, end);
        records_.back().break_index = breakIndex;
    }
    // Text pasted over [start, end): undoing it removes that range, so the
    // record keeps no copy of the text.
    void PushPaste(TextPosition start, TextPosition end) { Push(kPasteText, UndoKind::kInserted, start, start, end); }
    // One replacement made at `at`: the bytes the match covered and the
    // text put in their place; `end` is where the match ended.
    void PushReplacement(std::string_view replaced, std::string_view replacement, bool all,
                         TextPosition at, TextPosition end)
    {
        Push(ReplacementRecordText(replaced, replacement), all ? UndoKind::kReplacedAll : UndoKind::kReplaced,
             at, at, end);
    }
    // The newest record, or null when the list is empty.
    const CUndo* Newest() const;
    // Drops the newest record and lowers the change counter; nothing when empty.
    void Pop();
    // Clamps the limit and keeps the newest min(count, limit) records.
    void SetLimit(int limit);

    // The text now shown is the one on disk (just loaded or saved).
    void MarkSaved();
    // Undo has brought the text back to what was last loaded or saved. An
    // edit made after undoing past that point makes it unreachable: from
    // then on no count of undos returns to it.
    bool AtSavedState() const { return saved_reachable_ && change_counter_ == saved_counter_; }

    int Limit() const { return limit_; }
    static constexpr std::string_view kPasteText = " ";
    int Count() const { return static_cast<int>(records_.size()); }
    bool Empty() const { return records_.empty(); }
    int ChangeCounter() const { return change_counter_; }

private:
    CUndo& MakeRoom();

    int limit_;
    int change_counter_ = 0;
    int saved_counter_ = 0;
    bool saved_reachable_ = true;
    std::vector<CUndo> records_;  // oldest first
};

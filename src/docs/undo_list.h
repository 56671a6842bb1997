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

namespace undo_kind {
enum : int {
    kDeleted = 1,      // text: the deleted text, "\n" for a removed line break
    kInserted = 2,     // text: the inserted text, "\n" for Enter, " " for Paste
    kOverwritten = 3,  // text: the character that was overwritten
    kReplaced = 4,     // text: ReplacementRecordText of the replaced bytes and the replacement
    kReplacedAll = 5,  // one replacement of a replace-all, as kReplaced
};
} // namespace undo_kind

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
    int kind = 0;

    TextPosition Caret() const { return {caret_line, caret_column}; }
    TextPosition Start() const { return {start_line, start_column}; }
    TextPosition End() const { return {end_line, end_column}; }
};

class CUndoList {
public:
    static constexpr int kMinLimit = 1;
    static constexpr int kMaxLimit = 512;

    explicit CUndoList(int limit);  // clamped to kMinLimit .. kMaxLimit

    // Copies text into a new record (at the limit the oldest is dropped).
    void Push(std::string_view text, int kind, TextPosition caret, TextPosition start,
              TextPosition end);
    // Takes a ready block, e.g. the text of a deleted selection.
    void PushBlock(std::string block, int kind, TextPosition caret, TextPosition start,
                   TextPosition end);
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

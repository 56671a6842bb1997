#pragma once
// The bounded list of undo records of a text window. Every edit pushes one
// record saying what changed, where, and which text reverses it; Undo
// replays the newest and pops it. The change counter goes up with every
// push and down with every pop (never when an old record is dropped), so
// an undo that brings it back to 0 has undone every change since loading.

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
    kReplaced = 4,     // text: find-what, CR, replace-with
    kReplacedAll = 5,  // one replacement of a replace-all, as kReplaced
};
} // namespace undo_kind

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

    int Limit() const { return limit_; }
    int Count() const { return static_cast<int>(records_.size()); }
    bool Empty() const { return records_.empty(); }
    int ChangeCounter() const { return change_counter_; }

private:
    CUndo& MakeRoom();

    int limit_;
    int change_counter_ = 0;
    std::vector<CUndo> records_;  // oldest first
};

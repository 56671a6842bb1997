#include "docs/undo_list.h"

#include <algorithm>
#include <iterator>

#include "docs/alloc_gate.h"

namespace {

int ClampLimit(int limit)
{
    return std::clamp(limit, CUndoList::kMinLimit, CUndoList::kMaxLimit);
}

CUndo Record(int kind, TextPosition caret, TextPosition start, TextPosition end)
{
    CUndo record;
    record.caret_line = caret.line;
    record.caret_column = caret.column;
    record.start_line = start.line;
    record.start_column = start.column;
    record.end_line = end.line;
    record.end_column = end.column;
    record.kind = kind;
    return record;
}

} // namespace

CUndoList::CUndoList(int limit) : limit_(ClampLimit(limit))
{
    records_.reserve(static_cast<std::size_t>(limit_));
}

CUndo& CUndoList::MakeRoom()
{
    // At the limit the oldest record goes and the others move down a slot:
    // at most 511 moves of small records.
    if (static_cast<int>(records_.size()) >= limit_) records_.erase(records_.begin());
    records_.emplace_back();
    ++change_counter_;
    return records_.back();
}

void CUndoList::Push(std::string_view text, int kind, TextPosition caret, TextPosition start,
                     TextPosition end)
{
    CUndo& record = MakeRoom();
    record = Record(kind, caret, start, end);
    try {
        if (docs::AllocationAllowed(docs::AllocSite::kUndoText)) record.text.emplace(text);
    } catch (const std::exception&) {
        // A record without text stays in the list; Undo passes it by.
    }
}

void CUndoList::PushBlock(std::string block, int kind, TextPosition caret, TextPosition start,
                          TextPosition end)
{
    CUndo& record = MakeRoom();
    record = Record(kind, caret, start, end);
    record.text = std::move(block);
}

const CUndo* CUndoList::Newest() const
{
    return records_.empty() ? nullptr : &records_.back();
}

void CUndoList::Pop()
{
    if (records_.empty()) return;
    records_.pop_back();
    --change_counter_;
}

void CUndoList::SetLimit(int limit)
{
    if (limit == limit_) return;
    limit_ = ClampLimit(limit);
    if (static_cast<int>(records_.size()) > limit_)
        records_.erase(records_.begin(), records_.end() - limit_);
    records_.shrink_to_fit();
    records_.reserve(static_cast<std::size_t>(limit_));
}

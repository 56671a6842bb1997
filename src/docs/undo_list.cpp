#include "docs/undo_list.h"

#include <algorithm>
#include <charconv>
#include <iterator>

#include "docs/alloc_gate.h"

namespace {

int ClampLimit(int limit)
{
    return std::clamp(limit, CUndoList::kMinLimit, CUndoList::kMaxLimit);
}

CUndo Record(UndoKind kind, TextPosition caret, TextPosition start, TextPosition end)
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

std::string ReplacementRecordText(std::string_view replaced, std::string_view replacement)
{
    std::string text = std::to_string(replaced.size());
    text += '\r';
    text += replaced;
    text += replacement;
    return text;
}

std::optional<ReplacementTexts> ParseReplacementRecord(std::string_view text)
{
    const std::size_t cr = text.find('\r');
    if (cr == std::string_view::npos || cr == 0) return std::nullopt;
    std::size_t length = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + cr, length);
    if (error != std::errc() || end != text.data() + cr || length > text.size() - cr - 1) return std::nullopt;
    const std::string_view rest = text.substr(cr + 1);
    return ReplacementTexts{std::string(rest.substr(0, length)), std::string(rest.substr(length))};
}

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
    // Undone below the saved text and now edited anew: the records that led
    // back to it are gone for good.
    if (change_counter_ < saved_counter_) saved_reachable_ = false;
    ++change_counter_;
    return records_.back();
}

void CUndoList::Push(std::string_view text, UndoKind kind, TextPosition caret, TextPosition start,
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

void CUndoList::PushBlock(std::string block, UndoKind kind, TextPosition caret, TextPosition start,
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

void CUndoList::MarkSaved()
{
    saved_counter_ = change_counter_;
    saved_reachable_ = true;
}

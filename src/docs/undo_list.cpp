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

// A copy of text, or none when it cannot be had.
std::optional<std::string> CopyOf(std::string_view text)
{
    try {
        if (docs::AllocationAllowed(docs::AllocSite::kUndoText)) return std::string(text);
    } catch (const std::exception&) {
    }
    return std::nullopt;
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

void CUndoList::DropOldest(std::size_t count)
{
    count = std::min(count, records_.size());
    if (count == 0) return;
    base_state_ = records_[count - 1].serial;
    records_.erase(records_.begin(), records_.begin() + static_cast<std::ptrdiff_t>(count));
}

CUndo& CUndoList::MakeRoom()
{
    // At the limit the oldest record goes and the others move down a slot:
    // at most 511 moves of small records. The slots were reserved at the
    // limit, so this never allocates.
    if (static_cast<int>(records_.size()) >= limit_) DropOldest(1);
    records_.emplace_back();
    records_.back().serial = next_serial_++;
    ++change_counter_;
    return records_.back();
}

void CUndoList::Push(std::string_view text, UndoKind kind, TextPlace caret, TextPlace start, TextPlace end)
{
    std::optional<std::string> copy = CopyOf(text);
    CUndo& record = MakeRoom();
    record.kind = kind;
    record.caret = caret;
    record.start = start;
    record.end = end;
    record.text = std::move(copy);
}

void CUndoList::PushBlock(std::string block, UndoKind kind, TextPlace caret, TextPlace start, TextPlace end)
{
    CUndo& record = MakeRoom();
    record.kind = kind;
    record.caret = caret;
    record.start = start;
    record.end = end;
    record.text = std::move(block);
}

void CUndoList::PushOverwrite(std::string overwritten, std::string_view typed, TextPlace at)
{
    std::optional<std::string> forward = CopyOf(typed);
    PushBlock(std::move(overwritten), UndoKind::kOverwritten, at, at,
              {at.line, at.index + static_cast<int>(typed.size())});
    records_.back().forward = std::move(forward);
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
    const int clamped = ClampLimit(limit);
    // The new slots are had before anything changes: without them the list
    // keeps its old limit.
    std::vector<CUndo> slots;
    try {
        slots.reserve(static_cast<std::size_t>(clamped));
    } catch (const std::exception&) {
        return;
    }
    limit_ = clamped;
    if (static_cast<int>(records_.size()) > limit_)
        DropOldest(records_.size() - static_cast<std::size_t>(limit_));
    std::move(records_.begin(), records_.end(), std::back_inserter(slots));
    records_ = std::move(slots);
}

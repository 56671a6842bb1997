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

} // namespace

std::optional<std::string> CopyForUndo(std::string_view text)
{
    try {
        if (docs::AllocationAllowed(docs::AllocSite::kUndoText)) return std::string(text);
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

std::string ReplacementRecordText(std::string_view replaced, std::string_view replacement)
{
    std::string text = std::to_string(replaced.size());
    text += '\r';
    text += replaced;
    text += replacement;
    return text;
}

std::optional<ReplacementViews> SplitReplacementRecord(std::string_view text)
{
    const std::size_t cr = text.find('\r');
    if (cr == std::string_view::npos || cr == 0) return std::nullopt;
    std::size_t length = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + cr, length);
    if (error != std::errc() || end != text.data() + cr || length > text.size() - cr - 1) return std::nullopt;
    const std::string_view rest = text.substr(cr + 1);
    return ReplacementViews{rest.substr(0, length), rest.substr(length)};
}

std::optional<ReplacementTexts> ParseReplacementRecord(std::string_view text)
{
    const std::optional<ReplacementViews> views = SplitReplacementRecord(text);
    if (!views) return std::nullopt;
    return ReplacementTexts{std::string(views->replaced), std::string(views->replacement)};
}

bool CUndo::Reappliable() const
{
    switch (kind) {
    case UndoKind::kDeleted: return true;
    case UndoKind::kInserted: return line_break || text.has_value();
    case UndoKind::kOverwritten: return text.has_value() && forward.has_value();
    case UndoKind::kReplaced:
    case UndoKind::kReplacedAll: return text && SplitReplacementRecord(*text).has_value();
    case UndoKind::kNone: break;
    }
    return false;
}

CUndoList::CUndoList(int limit) : limit_(ClampLimit(limit))
{
    records_.reserve(static_cast<std::size_t>(limit_));
}

void CUndoList::DropOldest(std::size_t count)
{
    count = std::min(count, done_);
    if (count == 0) return;
    base_state_ = records_[count - 1].serial;
    records_.erase(records_.begin(), records_.begin() + static_cast<std::ptrdiff_t>(count));
    done_ -= count;
}

CUndo& CUndoList::MakeRoom()
{
    // A new edit makes the undone records unreachable. At the limit the
    // oldest record goes and the others move down a slot: at most 511
    // moves of small records. The slots were reserved at the limit, so
    // this never allocates.
    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(done_), records_.end());
    if (static_cast<int>(records_.size()) >= limit_) DropOldest(1);
    records_.emplace_back();
    records_.back().serial = next_serial_++;
    done_ = records_.size();
    ++change_counter_;
    return records_.back();
}

void CUndoList::Push(std::string_view text, UndoKind kind, TextPlace caret, TextPlace start, TextPlace end)
{
    std::optional<std::string> copy = CopyForUndo(text);
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

void CUndoList::PushPaste(std::optional<std::string> text, TextPlace start, TextPlace end)
{
    CUndo& record = MakeRoom();
    record.kind = UndoKind::kInserted;
    record.caret = record.start = start;
    record.end = end;
    record.text = std::move(text);
    record.pasted = true;
}

void CUndoList::PushOverwrite(std::string overwritten, std::optional<std::string> typed, int typedLength, TextPlace at)
{
    PushBlock(std::move(overwritten), UndoKind::kOverwritten, at, at, {at.line, at.index + typedLength});
    records_.back().forward = std::move(typed);
}

const CUndo* CUndoList::Newest() const
{
    return done_ == 0 ? nullptr : &records_[done_ - 1];
}

void CUndoList::Pop()
{
    if (done_ == 0) return;
    --done_;
    --change_counter_;
}

const CUndo* CUndoList::NextUndone() const
{
    return done_ < records_.size() ? &records_[done_] : nullptr;
}

void CUndoList::StepForward()
{
    if (done_ == records_.size()) return;
    ++done_;
    ++change_counter_;
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
    const auto held = static_cast<std::size_t>(limit_);
    if (records_.size() > held) {
        const std::size_t undone = std::min(records_.size() - held, records_.size() - done_);
        records_.erase(records_.end() - static_cast<std::ptrdiff_t>(undone), records_.end());
    }
    if (records_.size() > held) DropOldest(records_.size() - held);
    std::move(records_.begin(), records_.end(), std::back_inserter(slots));
    records_ = std::move(slots);
}

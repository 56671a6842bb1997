// The one byte edit of a line that the character edits build on: its bytes
// change in its own block where they fit, and its width follows from the
// edit without the line being walked again.
#include "docs/alloc_gate.h"
#include "docs/doc_errors.h"
#include "docs/lines_doc.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

using docs::AllocationAllowed;
using docs::AllocSite;
using line_measure::IsPlain;
using line_measure::StartsInsideCharacter;
using line_measure::TabsIn;

namespace {

bool Overlaps(std::string_view text, const char* block, std::size_t size)
{
    const auto p = reinterpret_cast<std::uintptr_t>(text.data());
    const auto b = reinterpret_cast<std::uintptr_t>(block);
    return !text.empty() && p + text.size() > b && p < b + size;
}

}  // namespace

// Only the columns between the last tab before the edit and the first tab
// after it are measured again: past that tab every column moves by the
// same multiple of the tab size as the tab's own end. Without tabs the
// width changes by what went in less what came out.
struct LinesDoc::EditWidths {
    int old_width = 0;
    bool stays_plain = false;  // plain text into a plain line: no byte is measured
    bool measured = false;     // the new width follows from the old one
    bool settled = false;      // ... by delta alone
    std::size_t from = 0;      // else the bytes [from, to) of the old line are measured again
    std::size_t to = 0;
    int delta = 0;
    bool tabless = false;  // an owned line without tabs
    std::uint32_t text_tabs = 0;
};

LinesDoc::EditWidths LinesDoc::PlanWidths(const TextLine& line, std::size_t at, std::size_t erase,
                                          std::string_view text) const
{
    const std::string_view old = line.View();
    const std::size_t size = old.size() - erase + text.size();
    const bool owned = line.Owned();
    const LineMeasure known = owned ? line.Measure() : LineMeasure{};
    EditWidths plan;
    plan.to = old.size();
    plan.stays_plain = KnownPlain(line) && IsPlain(text);
    plan.measured = !plan.stays_plain && owned && known.WidthAt(tab_size_);
    plan.text_tabs = TabsIn(text);
    plan.tabless = owned && known.tabs == 0;
    if (plan.stays_plain) {
        plan.old_width = static_cast<int>(old.size());
        return plan;
    }
    if (!plan.measured) {
        plan.old_width = WidthOf(old);
        return plan;
    }
    plan.old_width = known.width;
    const std::string_view erased = old.substr(at, erase);
    if (plan.tabless && plan.text_tabs == 0) {
        // Measuring what came out costs more than measuring what stays:
        // the new line is measured whole instead. An edit that cuts into a
        // character changes the width of its neighbours too: the line is
        // measured whole then.
        const bool cutsCharacter = StartsInsideCharacter(old.substr(at)) ||
                                   StartsInsideCharacter(old.substr(at + erase)) || StartsInsideCharacter(text);
        if (erase > size || cutsCharacter)
            plan.measured = false;
        else
            plan.delta = (text.empty() ? 0 : WidthOf(text)) - (erased.empty() ? 0 : WidthOf(erased));
        plan.settled = true;
        return plan;
    }
    const void* before = at > 0 ? ::memrchr(old.data(), '\t', at) : nullptr;
    plan.from = before ? static_cast<std::size_t>(static_cast<const char*>(before) - old.data()) + 1 : 0;
    const std::size_t rest = at + erase;
    const void* after = std::memchr(old.data() + rest, '\t', old.size() - rest);
    plan.to = after ? static_cast<std::size_t>(static_cast<const char*>(after) - old.data()) + 1 : old.size();
    plan.delta = -WidthOf(old.substr(plan.from, plan.to - plan.from));
    return plan;
}

bool LinesDoc::StoreEdit(TextLine& line, std::size_t at, std::size_t erase, std::string_view text)
{
    const std::string_view old = line.View();
    const std::size_t size = old.size() - erase + text.size();
    const bool owned = line.Owned();
    const bool textInLine = owned && Overlaps(text, line.Text(), line.Room() + 1);
    if (owned && size > line.Room() && !textInLine && AllocationAllowed(AllocSite::kEdit)) {
        // A line of its own that outgrows its block is being typed into:
        // half as much room again spares the next keystrokes. A large block
        // grows where it lies or has its pages moved, not copied.
        line.GrowBlock(size + size / 2);
    }
    if (owned && size <= line.Room() && !textInLine) {
        // Room enough in the line's own block: only the bytes after the
        // edit move.
        line.Splice(at, erase, text);
        return true;
    }
    // A line of its own gets room to grow, as above.
    const std::size_t capacity = owned ? size + size / 2 : size;
    char* bytes = AllocationAllowed(AllocSite::kEdit) ? TextLine::AllocateBlock(capacity) : nullptr;
    if (!bytes) {
        error_ = doc_error::kMemory;
        return false;
    }
    // The text may lie inside the line itself: copy before letting go of it.
    std::memcpy(bytes, old.data(), at);
    if (!text.empty()) std::memcpy(bytes + at, text.data(), text.size());
    std::memcpy(bytes + at + text.size(), old.data() + at + erase, old.size() - at - erase);
    AdoptBlock(line, bytes, size);
    return true;
}

bool LinesDoc::ReplaceBytes(TextLine& line, std::size_t at, std::size_t erase, std::string_view text, int& oldWidth,
                            int& newWidth)
{
    const char* const oldData = line.Text();
    const std::size_t size = line.View().size() - erase + text.size();
    if (size > static_cast<std::size_t>(INT32_MAX)) {
        error_ = doc_error::kMemory;
        return false;
    }
    if (line.InChunk()) OwnChunk(line);
    const bool owned = line.Owned();
    const EditWidths plan = PlanWidths(line, at, erase, text);
    oldWidth = plan.old_width;
    if (size == 0) {
        marks_.Forget(oldData);
        chunks_.Release(line);
        newWidth = 0;
        return true;
    }
    const std::uint32_t tabs =
        owned ? line.Measure().tabs - (plan.tabless ? 0 : TabsIn(line.View().substr(at, erase))) + plan.text_tabs : 0;
    if (!StoreEdit(line, at, erase, text)) return false;

    const std::string_view now = line.View();
    LineMeasure measure{owned ? tabs : TabsIn(now), 0, tab_size_, false};
    measure.plain = owned ? plan.stays_plain : measure.tabs == 0 && IsPlain(now);
    if (plan.stays_plain)
        newWidth = static_cast<int>(size);
    else if (!plan.measured)
        newWidth = WidthOf(now);
    else if (plan.settled)
        newWidth = oldWidth + plan.delta;
    else
        newWidth = oldWidth + plan.delta + WidthOf(now.substr(plan.from, plan.to - erase + text.size() - plan.from));
    measure.width = newWidth;
    line.SetMeasure(measure);
    marks_.Edited(oldData, now, tab_size_, at, erase, text.size());
    return true;
}

void LinesDoc::NoteEdit(int oldWidth, int newWidth)
{
    // The widest line may have become narrower: the next DeleteLines
    // recomputes; a character edit itself never lowers MaxWidth.
    if (newWidth < oldWidth && oldWidth >= max_width_) max_width_exact_ = false;
    max_width_ = std::max(max_width_, newWidth);
    widths_.Change(oldWidth, newWidth);
    modified_ = true;
}
bool LinesDoc::EditChars(int line, int index, std::size_t erase, std::string_view text)
{
    if (loading_) FinishLoad();
    TextLine* target = MutableLine(line);
    if (!target) return false;
    const std::size_t length = target->View().size();
    if (index < 0 || static_cast<std::size_t>(index) > length) return false;
    const auto at = static_cast<std::size_t>(index);
    int oldWidth = 0;
    int newWidth = 0;
    if (!ReplaceBytes(*target, at, std::min(length - at, erase), text, oldWidth, newWidth)) return false;
    NoteEdit(oldWidth, newWidth);
    return true;
}

bool LinesDoc::InsertChars(int line, std::string_view text, int index)
{
    if (index == -1) {
        if (loading_) FinishLoad();
        const TextLine* target = MutableLine(line);
        if (!target) return false;
        index = target->Length();
    }
    return EditChars(line, index, 0, text);
}

bool LinesDoc::OverwriteChars(int line, std::string_view text, int index)
{
    return EditChars(line, index, text.size(), text);
}

bool LinesDoc::DeleteChars(int line, int index, int count)
{
    return ReplaceChars(line, index, count, {});
}

bool LinesDoc::ReplaceChars(int line, int index, int count, std::string_view text)
{
    return EditChars(line, index, static_cast<std::size_t>(std::max(count, 0)), text);
}

// Enter and the Backspace or Delete that joins two lines. The longer part
// keeps its bytes where they are (in its own block, or in a chunk it has
// to itself), so a split or join costs the shorter part, not the line.
#include "docs/alloc_gate.h"
#include "docs/doc_errors.h"
#include "docs/lines_doc.h"

#include <algorithm>
#include <cstdint>
#include <utility>

using docs::AllocationAllowed;
using docs::AllocSite;
using line_measure::HasTab;
using line_measure::IsPlain;
using line_measure::StartsInsideCharacter;
using line_measure::TabsIn;

namespace {

// Room to leave in a long line's new block: the line is being edited, and
// the next keystroke or join should not copy it once more. Room never
// written costs address space, not memory.
std::size_t EditRoom(std::size_t size)
{
    return size >= (std::size_t{1} << 16) ? size / 2 : 0;
}

}  // namespace

LinesDoc::CutWidths LinesDoc::MeasureCut(const TextLine& line, std::size_t at) const
{
    const std::string_view text = line.View();
    const std::string_view head = text.substr(0, at);
    const std::string_view tail = text.substr(at);
    if (KnownPlain(line)) return {static_cast<int>(text.size()), static_cast<int>(at), static_cast<int>(tail.size())};
    if (StartsInsideCharacter(tail)) return {StoredWidth(line), WidthOf(head), WidthOf(tail)};
    if (!line.Owned() || !line.Measure().WidthAt(tab_size_)) {
        const int headWidth = WidthOf(head);
        const int tailWidth = WidthOf(tail);
        return {ColumnsAdded(headWidth, tail, HasTab(tail)) + tailWidth, headWidth, tailWidth};
    }
    // Only the shorter part is measured; the other follows from the
    // line's width.
    const LineMeasure known = line.Measure();
    if (head.size() <= tail.size()) {
        const int headWidth = WidthOf(head);
        return {known.width, headWidth, known.width - ColumnsAdded(headWidth, tail, known.tabs > TabsIn(head))};
    }
    const int tailWidth = WidthOf(tail);
    // Tabs in the tail hide how wide the head was: it is measured then.
    const int headWidth = HasTab(tail) ? WidthOf(head) : known.width - tailWidth;
    return {known.width, headWidth, tailWidth};
}

void LinesDoc::NoteWidest(int oldWidest, int newWidest)
{
    if (newWidest >= oldWidest || oldWidest < max_width_) {
        max_width_ = std::max(max_width_, newWidest);
    } else if (widths_.Valid()) {
        SetMaxWidth(widths_.Widest());
    } else {
        max_width_exact_ = false;
    }
}

void LinesDoc::NoteSplit(int whole, int first, int second)
{
    widths_.Change(whole, first);
    widths_.Add(second);
    NoteWidest(whole, std::max(first, second));
    modified_ = true;
}

void LinesDoc::NoteJoin(int first, int second, int joined)
{
    widths_.Change(first, joined);
    widths_.Remove(second);
    NoteWidest(std::max(first, second), joined);
    modified_ = true;
}

bool LinesDoc::SplitLine(int line, int index, std::string_view indent)
{
    marks_.Clear();  // lines move or change: their bytes lie elsewhere
    if (loading_) FinishLoad();
    TextLine* target = MutableLine(line);
    if (!target || index < 0 || index > target->Length()) return false;
    const auto at = static_cast<std::size_t>(index);
    if (indent.size() > static_cast<std::size_t>(INT32_MAX) - (target->View().size() - at)) {
        error_ = doc_error::kMemory;
        return false;
    }
    const CutWidths cut = MeasureCut(*target, at);
    const auto row = static_cast<std::size_t>(line);
    if (indent.empty() && target->InChunk() && SplitInChunk(row, at, cut, KnownPlain(*target))) return true;
    return SplitByCopy(row, at, indent, cut);
}

bool LinesDoc::SplitInChunk(std::size_t line, std::size_t at, const CutWidths& cut, bool plain)
{
    const std::size_t size = lines_[line].View().size();
    if (!chunks_.CanSplitInPlace(lines_[line])) return false;
    if (!MakeGap(line + 1, 0, 1)) return false;
    lines_[line + 1] = chunks_.SplitInPlace(lines_[line], at);
    // The longer part, the one an edit may take its chunk over for, keeps
    // what is known of it.
    const bool headLonger = at >= size - at;
    chunks_.Note(lines_[line + (headLonger ? 0 : 1)], headLonger ? cut.head : cut.tail, tab_size_, plain);
    NoteSplit(cut.whole, cut.head, cut.tail);
    return true;
}

bool LinesDoc::SplitByCopy(std::size_t line, std::size_t at, std::string_view indent, const CutWidths& cut)
{
    const TextLine& target = lines_[line];
    const std::string_view text = target.View();
    const std::string_view head = text.substr(0, at);
    const std::string_view tail = text.substr(at);
    const bool owned = target.Owned();
    const bool inPlace = owned || target.InChunk() || text.empty();
    // The longer part stays where it is. The tail can stay only where the
    // line can shed its start in place: in its own block (the indent goes
    // into the room in front), or in a chunk when nothing goes before it.
    const bool tailStays = at < indent.size() + tail.size() &&
                           (owned ? indent.size() <= target.FrontRoom() + at : target.InChunk() && indent.empty());
    const bool plain = KnownPlain(target);
    const bool plainIndent = IsPlain(indent);

    // The moving part is copied first and the table opened after, so a
    // failure leaves the document as it was.
    TextLine moved;
    TextLine kept;  // the head's copy, for a line whose bytes are not its own
    int movedWidth = 0;
    int keptWidth = cut.head;
    bool made = tailStays ? MakeOwnedLine(moved, head, {}, movedWidth, EditRoom(head.size()), cut.head, plain)
                          : MakeOwnedLine(moved, indent, tail, movedWidth, EditRoom(indent.size() + tail.size()),
                                          indent.empty() ? cut.tail : -1, plain && plainIndent);
    if (made && !inPlace) made = MakeOwnedLine(kept, head, {}, keptWidth, 0, cut.head, plain);
    if (!made || !MakeGap(line + 1, 0, 1)) {
        chunks_.Release(moved);
        chunks_.Release(kept);
        return false;
    }
    TextLine& first = lines_[line];
    TextLine& second = lines_[line + 1];
    if (tailStays) {
        // The head's copy becomes the first line, the old line the second.
        keptWidth = movedWidth;
        movedWidth = ShedHead(first, at, indent, cut, plain && plainIndent);
        second = std::move(first);
        first = std::move(moved);
    } else if (inPlace) {
        if (owned) {
            LineMeasure measure = first.Measure();
            if (measure.tabs > 0) measure.tabs -= TabsIn(tail);
            measure.width = cut.head;
            measure.tab_size = tab_size_;
            first.SetMeasure(measure);
        }
        first.Splice(at, tail.size(), {});
        second = std::move(moved);
    } else {
        chunks_.Release(first);
        first = std::move(kept);
        second = std::move(moved);
    }
    NoteSplit(cut.whole, keptWidth, movedWidth);
    return true;
}

int LinesDoc::ShedHead(TextLine& line, std::size_t at, std::string_view indent, const CutWidths& cut, bool plain)
{
    if (!line.Owned()) {
        line.DropFront(at);
        return cut.tail;
    }
    const std::uint32_t oldTabs = line.Measure().tabs;
    const std::uint32_t tabs = (oldTabs > 0 ? oldTabs - TabsIn(line.View().substr(0, at)) : 0) + TabsIn(indent);
    line.DropFront(at);
    line.TakeFront(indent);  // fits: the caller checked
    const std::string_view rest = line.View().substr(indent.size());
    const int width = plain            ? line.Length()
                      : indent.empty() ? cut.tail
                      : StartsInsideCharacter(rest)
                          ? WidthOf(line.View())
                          : ColumnsAdded(WidthOf(indent), rest, tabs > TabsIn(indent)) + cut.tail;
    line.SetMeasure({tabs, width, tab_size_, plain});
    return width;
}

bool LinesDoc::JoinLines(int line)
{
    marks_.Clear();  // lines move or change: their bytes lie elsewhere
    if (loading_) FinishLoad();
    if (line < 0 || static_cast<std::size_t>(line) + 1 >= lines_.Size()) return false;
    TextLine& first = lines_[static_cast<std::size_t>(line)];
    TextLine& second = lines_[static_cast<std::size_t>(line) + 1];
    const std::string_view a = first.View();
    const std::string_view b = second.View();
    if (a.size() + b.size() > static_cast<std::size_t>(INT32_MAX)) {
        error_ = doc_error::kMemory;
        return false;
    }
    const int firstWidth = StoredWidth(first);
    const int secondWidth = StoredWidth(second);
    const std::uint32_t firstTabs = first.Owned() ? first.Measure().tabs : TabsIn(a);
    const std::uint32_t secondTabs = second.Owned() ? second.Measure().tabs : TabsIn(b);
    const bool plain = (KnownPlain(first) || (!first.Owned() && IsPlain(a))) &&
                       (KnownPlain(second) || (!second.Owned() && IsPlain(b)));
    // Bytes of one character split over the two lines are measured whole.
    const bool seam = !a.empty() && StartsInsideCharacter(b);
    int width = seam ? -1 : ColumnsAdded(firstWidth, b, secondTabs > 0) + secondWidth;
    TextLine* keeper = nullptr;
    if (!JoinBytes(first, second, width, plain, keeper)) return false;
    if (keeper) {
        if (width < 0) width = WidthOf(keeper->View());
        keeper->SetMeasure({firstTabs + secondTabs, width, tab_size_, plain});
    }
    MakeGap(static_cast<std::size_t>(line) + 1, 1, 0);  // removing a line never fails
    NoteJoin(firstWidth, secondWidth, width);
    return true;
}

bool LinesDoc::JoinBytes(TextLine& first, TextLine& second, int& width, bool plain, TextLine*& keeper)
{
    const std::string_view a = first.View();
    const std::string_view b = second.View();
    const std::size_t size = a.size() + b.size();
    const auto grow = [this, size](TextLine& line) {
        if (line.Room() >= size) return true;
        if (AllocationAllowed(AllocSite::kEdit) && line.GrowBlock(size + EditRoom(size))) return true;
        error_ = doc_error::kMemory;
        return false;
    };
    if (chunks_.JoinInPlace(first, second)) {
        if (width < 0) width = WidthOf(first.View());
        chunks_.Note(first, width, tab_size_, plain);
        return true;
    }
    if (a.empty() || b.empty()) {
        // An empty line simply goes: the other keeps its bytes, wherever they lie.
        if (a.empty()) {
            chunks_.Release(first);
            first = std::move(second);
        }
        return true;
    }
    // The longer line keeps its block and takes the shorter one in: at its
    // end, or in the room in front of the second line's text.
    if (first.Owned() && (a.size() >= b.size() || !second.Owned())) {
        if (!grow(first)) return false;
        first.Splice(a.size(), 0, b);
        keeper = &first;
        return true;
    }
    if (second.Owned()) {
        if (!second.TakeFront(a)) {
            if (!grow(second)) return false;
            second.Splice(0, 0, a);
        }
        chunks_.Release(first);
        first = std::move(second);
        keeper = &first;
        return true;
    }
    TextLine joined;
    if (!MakeOwnedLine(joined, a, b, width, EditRoom(size), width)) return false;
    chunks_.Release(first);
    first = std::move(joined);
    return true;
}

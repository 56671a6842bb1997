#include "docs/lines_doc.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>
#include <utility>

#include "base/atomic_file.h"
#include "base/characters.h"
#include "base/display_columns.h"
#include "base/text_rules.h"
#include "docs/alloc_gate.h"
#include "docs/doc_errors.h"
#include "docs/line_breaks.h"

using docs::AllocationAllowed;
using docs::AllocSite;

LinesDoc::LinesDoc(std::string fileName) : file_name_(std::move(fileName))
{
    widths_.Reset(tab_size_);
}

LinesDoc::~LinesDoc()
{
    LinesDoc::Clear();
}

bool LinesDoc::Load(const RepaintHook&, int)
{
    return true;
}

LinesDoc::LoadState LinesDoc::BeginReload()
{
    return Load() ? LoadState::kDone : LoadState::kFailed;
}

void LinesDoc::TakeTextOf(LinesDoc& other) noexcept
{
    lines_.Swap(other.lines_);
    chunks_.Swap(other.chunks_);
    widths_.Swap(other.widths_);
    std::swap(max_width_, other.max_width_);
    std::swap(max_width_exact_, other.max_width_exact_);
    std::swap(line_end_, other.line_end_);
    std::swap(disk_identity_, other.disk_identity_);
    std::swap(unread_, other.unread_);
    modified_ = false;
}

bool LinesDoc::NamesOwnFile(const std::string& path) const
{
    if (path == file_name_) return true;
    const FileIdentity there = IdentityOfPath(path);
    return there.Present() && disk_identity_.Present() && there.device == disk_identity_.device &&
           there.inode == disk_identity_.inode;
}

// --- state ---

const TextLine* LinesDoc::GetLine(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= lines_.Size()) return nullptr;
    return &lines_[static_cast<std::size_t>(index)];
}

TextLine* LinesDoc::MutableLine(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= lines_.Size()) return nullptr;
    return &lines_[static_cast<std::size_t>(index)];
}

void LinesDoc::SetTabSize(int size)
{
    if (loading_) FinishLoad();
    size = size < 1 ? 1 : size;
    if (size == tab_size_) return;
    tab_size_ = size;
    // Every width counted so far was for the old size.
    if (lines_.Size() == 0) widths_.Reset(size);
    else widths_.Invalidate();
}

std::string LinesDoc::GetTitle() const
{
    const auto slash = file_name_.rfind('/');
    return text::UpperAscii(slash == std::string::npos ? std::string_view(file_name_)
                                                       : std::string_view(file_name_).substr(slash + 1));
}

// --- width and column arithmetic ---

int LinesDoc::WidthOf(std::string_view text) const
{
    return text::DisplayWidth(text, tab_size_);
}

int LinesDoc::LineWidth(const TextLine* line) const
{
    return line ? StoredWidth(*line) : 0;
}

std::string LinesDoc::ExpandLine(const TextLine* line, std::size_t limit) const
{
    return line ? text::ExpandTabs(line->View(), tab_size_, limit) : std::string();
}

int LinesDoc::ExpandLine(const TextLine* line, char* buffer, int size) const
{
    if (size < 0) size = 0;
    std::memset(buffer, 0, static_cast<std::size_t>(size) + 1);
    const std::string expanded =
        line ? text::ExpandTabs(line->View(), tab_size_, std::string::npos, static_cast<std::size_t>(size))
             : std::string();
    std::memcpy(buffer, expanded.data(), expanded.size());
    return static_cast<int>(expanded.size());
}

int LinesDoc::ColumnToIndex(const TextLine* line, int column) const
{
    if (!line || column <= 0) return 0;
    if (KnownPlain(*line)) return std::clamp(column, 0, line->Length());
    const std::string_view text = line->View();
    const ColumnMarks::Mark from = marks_.BeforeColumn(text, tab_size_, column);
    return static_cast<int>(text::ColumnToIndex(text, tab_size_, column, from.byte, from.column));
}

int LinesDoc::PrefixWidth(const TextLine* line, int count, int delta) const
{
    if (!line) return 0;
    const long n = std::clamp(static_cast<long>(count) + delta, 0L, static_cast<long>(line->Length()));
    if (KnownPlain(*line)) return static_cast<int>(n);
    const std::string_view text = line->View();
    const ColumnMarks::Mark from = marks_.BeforeByte(text, tab_size_, static_cast<std::size_t>(n));
    return static_cast<int>(
        text::ColumnAfter(text.substr(from.byte, static_cast<std::size_t>(n) - from.byte), tab_size_, from.column));
}

ColumnMarks::Mark LinesDoc::CharacterStartBefore(const TextLine* line, int column) const
{
    if (!line || column <= 0) return {};
    if (KnownPlain(*line)) {
        const auto at = static_cast<std::size_t>(std::min(column, line->Length()));
        return {at, static_cast<long>(at)};
    }
    return marks_.BeforeColumn(line->View(), tab_size_, column, true);
}

int LinesDoc::NextCharIndex(const TextLine* line, int index) const
{
    return line ? static_cast<int>(text::NextCharIndex(line->View(), index)) : 0;
}

int LinesDoc::PrevCharIndex(const TextLine* line, int index) const
{
    return line ? static_cast<int>(text::PrevCharIndex(line->View(), index)) : 0;
}

void LinesDoc::WordBounds(const TextLine* line, int column, int& start, int& end) const
{
    text::WordBounds(line ? line->View() : std::string_view(), tab_size_, column, start, end);
}

// --- character editing ---

int LinesDoc::StoredWidth(const TextLine& line) const
{
    if (KnownPlain(line)) return line.Length();
    if (line.Owned() && line.OwnedBlock().width_tab == tab_size_) return line.OwnedBlock().width;
    if (const TextChunks::LineNote* note = chunks_.NoteOf(line); note && note->tab_size == tab_size_)
        return note->width;
    return WidthOf(line.View());
}

namespace {

// Jumps from tab to tab: long lines have few or none.
std::uint32_t TabsIn(std::string_view text)
{
    std::uint32_t tabs = 0;
    const char* p = text.data();
    const char* const end = p + text.size();
    for (const void* tab; p < end && (tab = std::memchr(p, '\t', static_cast<std::size_t>(end - p))) != nullptr; ++tabs)
        p = static_cast<const char*>(tab) + 1;
    return tabs;
}

// A byte that continues a UTF-8 character: a cut before it may split a
// character, whose pieces measure apart differently from the whole.
bool StartsInsideCharacter(std::string_view text)
{
    return !text.empty() && text::IsContinuationByte(static_cast<unsigned char>(text.front()));
}

bool IsPlain(std::string_view text)
{
    return text::PlainAsciiRun(text.data(), text.size()) == text.size();
}

bool Overlaps(std::string_view text, const char* block, std::size_t size)
{
    const auto p = reinterpret_cast<std::uintptr_t>(text.data());
    const auto b = reinterpret_cast<std::uintptr_t>(block);
    return !text.empty() && p + text.size() > b && p < b + size;
}

} // namespace

void LinesDoc::AdoptBlock(TextLine& line, char* bytes, std::size_t size)
{
    bytes[size] = '\0';
    chunks_.Release(line);
    line.text_ = bytes;
    line.size_ = static_cast<std::uint32_t>(size);
    line.store_ = TextLine::kOwned;
}

bool LinesDoc::OwnChunk(TextLine& line)
{
    const TextChunks::LineNote* noted = chunks_.NoteOf(line);
    const TextChunks::LineNote note = noted ? *noted : TextChunks::LineNote{};
    if (!chunks_.HandOver(line)) return false;
    TextLine::Block& block = line.OwnedBlock();
    const std::string_view text = line.View();
    block.tabs = note.plain ? 0 : TabsIn(text);
    block.plain = note.plain || (block.tabs == 0 && IsPlain(text));
    block.width = block.plain                                 ? static_cast<int>(text.size())
                  : noted && note.tab_size == tab_size_ ? note.width
                                                        : WidthOf(text);
    block.width_tab = tab_size_;
    return true;
}

bool LinesDoc::MakeOwnedLine(TextLine& line, std::string_view head, std::string_view tail, int& width,
                             std::size_t room, int knownWidth, bool plain)
{
    const std::size_t size = head.size() + tail.size();
    width = 0;
    if (size == 0) return true;
    char* bytes = nullptr;
    if (size <= static_cast<std::size_t>(INT32_MAX) && AllocationAllowed(AllocSite::kEdit))
        bytes = TextLine::AllocateBlock(size + room);
    if (!bytes) {
        error_ = doc_error::kMemory;
        return false;
    }
    if (!head.empty()) std::memcpy(bytes, head.data(), head.size());
    if (!tail.empty()) std::memcpy(bytes + head.size(), tail.data(), tail.size());
    AdoptBlock(line, bytes, size);
    TextLine::Block& block = line.OwnedBlock();
    block.tabs = plain ? 0 : TabsIn(line.View());
    plain = plain || (block.tabs == 0 && IsPlain(line.View()));
    block.plain = plain;
    width = plain ? static_cast<int>(size) : knownWidth >= 0 ? knownWidth : WidthOf(line.View());
    block.width = width;
    block.width_tab = tab_size_;
    return true;
}

bool LinesDoc::ReplaceBytes(TextLine& line, std::size_t at, std::size_t erase, std::string_view text,
                            int& oldWidth, int& newWidth)
{
    const std::string_view old = line.View();
    const char* const oldData = old.data();
    const std::size_t size = old.size() - erase + text.size();
    if (size > static_cast<std::size_t>(INT32_MAX)) {
        error_ = doc_error::kMemory;
        return false;
    }
    if (line.InChunk()) OwnChunk(line);
    const bool owned = line.Owned();
    // Plain text put into a plain line keeps it plain: no byte is measured.
    const bool staysPlain = KnownPlain(line) && IsPlain(text);
    bool measured = !staysPlain && owned && line.OwnedBlock().width_tab == tab_size_;
    const std::string_view erased = old.substr(at, erase);
    const std::uint32_t textTabs = TabsIn(text);
    const bool tabless = owned && line.OwnedBlock().tabs == 0;

    // Only the columns between the last tab before the edit and the first
    // tab after it are measured again: past that tab every column moves by
    // the same multiple of the tab size as the tab's own end. Without tabs
    // the width changes by what went in less what came out.
    std::size_t from = 0;
    std::size_t to = old.size();
    int delta = 0;
    bool settled = false;
    if (staysPlain) {
        oldWidth = static_cast<int>(old.size());
    } else if (measured) {
        oldWidth = line.OwnedBlock().width;
        if (tabless && textTabs == 0) {
            // Measuring what came out costs more than measuring what stays:
            // the new line is measured whole instead.
            // An edit that cuts into a character changes the width of its
            // neighbours too: the line is measured whole then.
            const bool cutsCharacter = StartsInsideCharacter(old.substr(at)) ||
                                       StartsInsideCharacter(old.substr(at + erase)) || StartsInsideCharacter(text);
            if (erase > size || cutsCharacter) measured = false;
            else delta = (text.empty() ? 0 : WidthOf(text)) - (erased.empty() ? 0 : WidthOf(erased));
            settled = true;
        } else {
            const void* before = at > 0 ? ::memrchr(old.data(), '\t', at) : nullptr;
            from = before ? static_cast<std::size_t>(static_cast<const char*>(before) - old.data()) + 1 : 0;
            const std::size_t rest = at + erase;
            const void* after = std::memchr(old.data() + rest, '\t', old.size() - rest);
            to = after ? static_cast<std::size_t>(static_cast<const char*>(after) - old.data()) + 1 : old.size();
            delta = -WidthOf(old.substr(from, to - from));
        }
    } else {
        oldWidth = WidthOf(old);
    }

    if (size == 0) {
        marks_.Forget(oldData);
        chunks_.Release(line);
        newWidth = 0;
        return true;
    }
    const std::uint32_t tabs = owned ? line.OwnedBlock().tabs - (tabless ? 0 : TabsIn(erased)) + textTabs : 0;
    const bool textInLine = owned && Overlaps(text, line.text_, line.OwnedBlock().capacity + 1);
    if (owned && size > line.OwnedBlock().capacity && !textInLine && AllocationAllowed(AllocSite::kEdit)) {
        // A line of its own that outgrows its block is being typed into:
        // half as much room again spares the next keystrokes. A large block
        // grows where it lies or has its pages moved, not copied.
        line.GrowBlock(size + size / 2);
    }
    if (owned && size <= line.OwnedBlock().capacity && !textInLine) {
        // Room enough in the line's own block: only the bytes after the
        // edit move.
        char* bytes = line.text_;
        std::memmove(bytes + at + text.size(), bytes + at + erase, old.size() - at - erase);
        if (!text.empty()) std::memcpy(bytes + at, text.data(), text.size());
        bytes[size] = '\0';
        line.size_ = static_cast<std::uint32_t>(size);
    } else {
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
    }

    TextLine::Block& block = line.OwnedBlock();
    block.tabs = owned ? tabs : TabsIn(line.View());
    block.plain = owned ? staysPlain : block.tabs == 0 && IsPlain(line.View());
    if (staysPlain) newWidth = static_cast<int>(size);
    else if (!measured) newWidth = WidthOf(line.View());
    else if (settled) newWidth = oldWidth + delta;
    else newWidth = oldWidth + delta + WidthOf(line.View().substr(from, to - erase + text.size() - from));
    block.width = newWidth;
    block.width_tab = tab_size_;
    marks_.Edited(oldData, line.View(), tab_size_, at, erase, text.size());
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

bool LinesDoc::InsertChars(int line, std::string_view text, int index)
{
    if (loading_) FinishLoad();
    TextLine* target = MutableLine(line);
    if (!target) return false;
    const std::size_t length = target->View().size();
    if (index == -1) index = static_cast<int>(length);
    if (index < 0 || static_cast<std::size_t>(index) > length) return false;
    int oldWidth = 0;
    int newWidth = 0;
    if (!ReplaceBytes(*target, static_cast<std::size_t>(index), 0, text, oldWidth, newWidth)) return false;
    NoteEdit(oldWidth, newWidth);
    return true;
}

bool LinesDoc::OverwriteChars(int line, std::string_view text, int index)
{
    if (loading_) FinishLoad();
    TextLine* target = MutableLine(line);
    if (!target) return false;
    const std::size_t length = target->View().size();
    if (index < 0 || static_cast<std::size_t>(index) > length) return false;
    const auto at = static_cast<std::size_t>(index);
    int oldWidth = 0;
    int newWidth = 0;
    if (!ReplaceBytes(*target, at, std::min(length - at, text.size()), text, oldWidth, newWidth)) return false;
    NoteEdit(oldWidth, newWidth);
    return true;
}

bool LinesDoc::DeleteChars(int line, int index, int count)
{
    return ReplaceChars(line, index, count, {});
}

bool LinesDoc::ReplaceChars(int line, int index, int count, std::string_view text)
{
    if (loading_) FinishLoad();
    TextLine* target = MutableLine(line);
    if (!target) return false;
    const std::size_t length = target->View().size();
    if (index < 0 || static_cast<std::size_t>(index) > length) return false;
    const auto at = static_cast<std::size_t>(index);
    const std::size_t n = std::min(length - at, static_cast<std::size_t>(std::max(count, 0)));
    int oldWidth = 0;
    int newWidth = 0;
    if (!ReplaceBytes(*target, at, n, text, oldWidth, newWidth)) return false;
    NoteEdit(oldWidth, newWidth);
    return true;
}

// --- line editing ---

bool LinesDoc::MakeGap(std::size_t index, std::size_t erase, std::size_t count)
{
    marks_.Clear();  // lines move or change: their bytes lie elsewhere
    const std::size_t size = lines_.Size() - erase + count;
    if (size > static_cast<std::size_t>(INT32_MAX)) {
        error_ = doc_error::kMemory;
        return false;
    }
    // Everything that can fail happens before a line is touched.
    if (size > lines_.Capacity() && (!AllocationAllowed(AllocSite::kEdit) || !lines_.MakeRoom(size, index))) {
        error_ = doc_error::kMemory;
        return false;
    }
    for (std::size_t i = index; i < index + erase; ++i) chunks_.Release(lines_[i]);
    lines_.Replace(index, erase, count);  // the room is there: cannot fail
    return true;
}

bool LinesDoc::SpliceLines(std::size_t index, std::size_t erase, TextLine* insert, std::size_t count)
{
    if (!MakeGap(index, erase, count)) return false;
    for (std::size_t i = 0; i < count; ++i) lines_[index + i] = std::move(insert[i]);
    return true;
}

bool LinesDoc::InsertLine(int index, std::string_view text, const RepaintHook& repaint, int repaintLine)
{
    if (loading_) FinishLoad();
    const auto at = static_cast<std::size_t>(std::clamp(index, 0, LinesDoc::LineCount()));
    TextLine line;
    int width = 0;
    if (!MakeOwnedLine(line, text, {}, width)) return false;
    if (!SpliceLines(at, 0, &line, 1)) {
        chunks_.Release(line);
        return false;
    }
    widths_.Add(width);
    modified_ = true;
    if (repaint && repaintLine > 0) repaint();
    return true;
}

bool LinesDoc::DeleteLines(int index, int count)
{
    marks_.Clear();  // lines move or change: their bytes lie elsewhere
    if (loading_) FinishLoad();
    const auto at = static_cast<std::size_t>(std::clamp(index, 0, LinesDoc::LineCount()));
    const std::size_t n = std::min(lines_.Size() - at, static_cast<std::size_t>(std::max(count, 0)));
    int widest = 0;
    if (max_width_exact_ || widths_.Valid()) {
        for (std::size_t i = at; i < at + n; ++i) {
            const int width = StoredWidth(lines_[i]);
            widest = std::max(widest, width);
            widths_.Remove(width);
        }
    }
    if (!SpliceLines(at, n, nullptr, 0)) return false;  // never fails: nothing is added
    modified_ = true;
    if (n > 0 && (!max_width_exact_ || widest >= max_width_)) UpdateMaxWidth(-1);
    return true;
}

namespace {

bool HasTab(std::string_view text)
{
    return !text.empty() && std::memchr(text.data(), '\t', text.size()) != nullptr;
}

// Room to leave in a long line's new block: the line is being edited, and
// the next keystroke or join should not copy it once more. Room never
// written costs address space, not memory.
std::size_t EditRoom(std::size_t size)
{
    return size >= (std::size_t{1} << 16) ? size / 2 : 0;
}

} // namespace

int LinesDoc::ColumnsAdded(int leftWidth, std::string_view right, bool rightHasTabs) const
{
    if (!rightHasTabs || leftWidth % tab_size_ == 0) return leftWidth;
    // Past right's first tab every column moves by the same multiple of the
    // tab size as that tab's end does.
    const std::size_t tab = right.find('\t');
    if (tab == std::string_view::npos) return leftWidth;
    const int before = WidthOf(right.substr(0, tab));
    const auto stop = [this](int column) { return column + tab_size_ - column % tab_size_; };
    return stop(leftWidth + before) - stop(before);
}

LinesDoc::CutWidths LinesDoc::MeasureCut(const TextLine& line, std::size_t at) const
{
    const std::string_view text = line.View();
    const std::string_view head = text.substr(0, at);
    const std::string_view tail = text.substr(at);
    if (KnownPlain(line)) return {static_cast<int>(text.size()), static_cast<int>(at), static_cast<int>(tail.size())};
    if (StartsInsideCharacter(tail)) return {StoredWidth(line), WidthOf(head), WidthOf(tail)};
    if (!line.Owned() || line.OwnedBlock().width_tab != tab_size_) {
        const int headWidth = WidthOf(head);
        const int tailWidth = WidthOf(tail);
        return {ColumnsAdded(headWidth, tail, HasTab(tail)) + tailWidth, headWidth, tailWidth};
    }
    // Only the shorter part is measured; the other follows from the
    // line's width.
    const TextLine::Block& block = line.OwnedBlock();
    if (head.size() <= tail.size()) {
        const int headWidth = WidthOf(head);
        return {block.width, headWidth, block.width - ColumnsAdded(headWidth, tail, block.tabs > TabsIn(head))};
    }
    const int tailWidth = WidthOf(tail);
    // Tabs in the tail hide how wide the head was: it is measured then.
    const int headWidth = HasTab(tail) ? WidthOf(head) : block.width - tailWidth;
    return {block.width, headWidth, tailWidth};
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

bool LinesDoc::SplitLine(int line, int index, std::string_view indent)
{
    marks_.Clear();  // lines move or change: their bytes lie elsewhere
    if (loading_) FinishLoad();
    TextLine* target = MutableLine(line);
    if (!target || index < 0 || index > target->Length()) return false;
    const auto at = static_cast<std::size_t>(index);
    const std::string_view text = target->View();
    const std::string_view head = text.substr(0, at);
    const std::string_view tail = text.substr(at);
    if (indent.size() > static_cast<std::size_t>(INT32_MAX) - tail.size()) {
        error_ = doc_error::kMemory;
        return false;
    }
    const bool owned = target->Owned();
    const bool inPlace = owned || target->InChunk() || text.empty();
    // The longer part stays where it is. The tail can stay only where the
    // line can shed its start in place: in its own block (the indent goes
    // into the room in front), or in a chunk when nothing goes before it.
    const bool tailStays = at < indent.size() + tail.size() &&
                           (owned ? indent.size() <= target->OwnedBlock().front + at : target->InChunk() && indent.empty());
    const CutWidths cut = MeasureCut(*target, at);
    const bool plain = KnownPlain(*target);
    if (indent.empty() && target->InChunk() && SplitInChunk(static_cast<std::size_t>(line), at)) {
        // The longer part, the one an edit may take its chunk over for,
        // keeps what is known of it.
        const bool headLonger = at >= text.size() - at;
        chunks_.Note(lines_[static_cast<std::size_t>(line) + (headLonger ? 0 : 1)], headLonger ? cut.head : cut.tail,
                     tab_size_, plain);
        widths_.Change(cut.whole, cut.head);
        widths_.Add(cut.tail);
        NoteWidest(cut.whole, std::max(cut.head, cut.tail));
        modified_ = true;
        return true;
    }
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
    if (!made || !MakeGap(static_cast<std::size_t>(line) + 1, 0, 1)) {
        chunks_.Release(moved);
        chunks_.Release(kept);
        return false;
    }
    TextLine& first = lines_[static_cast<std::size_t>(line)];
    TextLine& second = lines_[static_cast<std::size_t>(line) + 1];
    if (tailStays) {
        if (owned) {
            const std::uint32_t oldTabs = first.OwnedBlock().tabs;
            const std::uint32_t tabs = (oldTabs > 0 ? oldTabs - TabsIn(head) : 0) + TabsIn(indent);
            first.DropFront(at);
            first.TakeFront(indent);  // fits: checked above
            TextLine::Block& block = first.OwnedBlock();
            block.tabs = tabs;
            block.plain = plain && plainIndent;
            const std::string_view rest = first.View().substr(indent.size());
            keptWidth = block.plain ? first.Length()
                        : indent.empty() ? cut.tail
                        : StartsInsideCharacter(rest)
                            ? WidthOf(first.View())
                            : ColumnsAdded(WidthOf(indent), rest, tabs > TabsIn(indent)) + cut.tail;
            block.width = keptWidth;
            block.width_tab = tab_size_;
        } else {
            first.text_ += at;
            first.size_ -= static_cast<std::uint32_t>(at);
            keptWidth = cut.tail;
        }
        second = std::move(first);
        first = std::move(moved);
        std::swap(keptWidth, movedWidth);  // keptWidth: the first line's
    } else if (inPlace) {
        if (owned) {
            TextLine::Block& block = first.OwnedBlock();
            if (block.tabs > 0) block.tabs -= TabsIn(tail);
            block.width = cut.head;
            block.width_tab = tab_size_;
        }
        if (!tail.empty()) first.text_[at] = '\0';
        first.size_ = static_cast<std::uint32_t>(at);
        second = std::move(moved);
    } else {
        chunks_.Release(first);
        first = std::move(kept);
        second = std::move(moved);
    }
    widths_.Change(cut.whole, keptWidth);
    widths_.Add(movedWidth);
    NoteWidest(cut.whole, std::max(keptWidth, movedWidth));
    modified_ = true;
    return true;
}

bool LinesDoc::SplitInChunk(std::size_t line, std::size_t at)
{
    const TextChunks::Span span = chunks_.SpanOf(lines_[line]);
    if (span.live != 1) return false;
    // Every byte of the chunk but the line's and its NUL is free. The head
    // needs one more byte for its own NUL: the shorter part moves by one,
    // into a free byte before the line or after its NUL.
    char* const text = lines_[line].text_;
    const std::size_t size = lines_[line].size_;
    const bool roomBefore = text > span.begin;
    const bool roomAfter = text + size + 1 < span.end;
    const bool headMoves = roomBefore && (at <= size - at || !roomAfter);
    if (!headMoves && !roomAfter) return false;
    if (!MakeGap(line + 1, 0, 1)) return false;
    TextLine& first = lines_[line];
    const std::uint32_t id = first.Chunk();
    const auto tailSize = static_cast<std::uint32_t>(size - at);
    if (headMoves) {
        std::memmove(text - 1, text, at);
        first.text_ = text - 1;
        lines_[line + 1] = chunks_.MakeLine(id, text + at, tailSize);
    } else {
        std::memmove(text + at + 1, text + at, size - at + 1);
        lines_[line + 1] = chunks_.MakeLine(id, text + at + 1, tailSize);
    }
    first.size_ = static_cast<std::uint32_t>(at);
    first.text_[at] = '\0';
    return true;
}

bool LinesDoc::JoinInChunk(TextLine& first, TextLine& second)
{
    if (!first.InChunk() || !second.InChunk() || first.Chunk() != second.Chunk()) return false;
    if (chunks_.SpanOf(first).live != 2) return false;
    // Only these two lines use the chunk, so the bytes between them are
    // free; the shorter moves up to the other.
    const std::size_t a = first.size_;
    const std::size_t b = second.size_;
    if (first.text_ + a >= second.text_) return false;  // not in this order in memory
    if (a <= b) {
        std::memmove(second.text_ - a, first.text_, a);
        first.text_ = second.text_ - a;
    } else {
        std::memmove(first.text_ + a, second.text_, b + 1);
    }
    first.size_ = static_cast<std::uint32_t>(a + b);
    first.text_[a + b] = '\0';
    return true;
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
    const std::size_t size = a.size() + b.size();
    if (size > static_cast<std::size_t>(INT32_MAX)) {
        error_ = doc_error::kMemory;
        return false;
    }
    const int firstWidth = StoredWidth(first);
    const int secondWidth = StoredWidth(second);
    const std::uint32_t firstTabs = first.Owned() ? first.OwnedBlock().tabs : TabsIn(a);
    const std::uint32_t secondTabs = second.Owned() ? second.OwnedBlock().tabs : TabsIn(b);
    const bool plain = (KnownPlain(first) || (!first.Owned() && IsPlain(a))) &&
                       (KnownPlain(second) || (!second.Owned() && IsPlain(b)));
    // Bytes of one character split over the two lines are measured whole.
    const bool seam = !a.empty() && StartsInsideCharacter(b);
    int width = seam ? -1 : ColumnsAdded(firstWidth, b, secondTabs > 0) + secondWidth;
    const auto grow = [this, size](TextLine& keeper) {
        if (keeper.OwnedBlock().capacity >= size) return true;
        if (AllocationAllowed(AllocSite::kEdit) && keeper.GrowBlock(size + EditRoom(size))) return true;
        error_ = doc_error::kMemory;
        return false;
    };

    // The longer line keeps its block and takes the shorter one in: at its
    // end, or in the room in front of the second line's text.
    TextLine* keeper = nullptr;
    if (JoinInChunk(first, second)) {
        if (width < 0) width = WidthOf(first.View());
        chunks_.Note(first, width, tab_size_, plain);
    } else if (a.empty() || b.empty()) {
        // An empty line simply goes: the other keeps its bytes, wherever they lie.
        if (a.empty()) {
            chunks_.Release(first);
            first = std::move(second);
        }
    } else if (first.Owned() && (a.size() >= b.size() || !second.Owned())) {
        if (!grow(first)) return false;
        if (!b.empty()) std::memcpy(first.text_ + a.size(), b.data(), b.size());
        first.text_[size] = '\0';
        first.size_ = static_cast<std::uint32_t>(size);
        keeper = &first;
    } else if (second.Owned()) {
        if (!second.TakeFront(a)) {
            if (!grow(second)) return false;
            std::memmove(second.text_ + a.size(), second.text_, b.size() + 1);
            std::memcpy(second.text_, a.data(), a.size());
            second.size_ = static_cast<std::uint32_t>(size);
        }
        chunks_.Release(first);
        first = std::move(second);
        keeper = &first;
    } else {
        TextLine joined;
        if (!MakeOwnedLine(joined, a, b, width, EditRoom(size), width)) return false;
        chunks_.Release(first);
        first = std::move(joined);
    }
    if (keeper) {
        TextLine::Block& block = keeper->OwnedBlock();
        block.tabs = firstTabs + secondTabs;
        block.plain = plain;
        if (width < 0) width = WidthOf(keeper->View());
        block.width = width;
        block.width_tab = tab_size_;
    }
    MakeGap(static_cast<std::size_t>(line) + 1, 1, 0);  // removing a line never fails
    widths_.Change(firstWidth, width);
    widths_.Remove(secondWidth);
    NoteWidest(std::max(firstWidth, secondWidth), width);
    modified_ = true;
    return true;
}

void LinesDoc::Clear()
{
    marks_.Clear();  // lines move or change: their bytes lie elsewhere
    lines_.Clear();  // owned texts are freed with their lines
    chunks_.Clear();
    widths_.Reset(tab_size_);
    max_width_ = 0;
    max_width_exact_ = true;
}

void LinesDoc::UpdateMaxWidth(int width)
{
    if (width >= 0) {
        max_width_ = std::max(max_width_, width);
        return;
    }
    // The tally knows the widest of the table's lines at once; without it
    // every line is measured and the tally counted afresh.
    const int count = LineCount();
    const bool inTable = static_cast<std::size_t>(count) == lines_.Size();
    if (inTable && widths_.Valid()) return SetMaxWidth(widths_.Widest());
    if (inTable) widths_.Reset(tab_size_);
    int widest = 0;
    for (int i = 0; i < count; ++i) {
        const int lineWidth = inTable ? StoredWidth(lines_[static_cast<std::size_t>(i)]) : LineWidth(GetLine(i));
        widest = std::max(widest, lineWidth);
        if (inTable) widths_.Add(lineWidth);
    }
    SetMaxWidth(widest);
}

// --- multi-line text ---

std::size_t LinesDoc::FindLineBreak(std::string_view text, std::size_t& breakStart)
{
    LineBreaks breaks(text);
    const auto found = breaks.Next(0);
    breakStart = found.start;
    return found.start == std::string_view::npos ? std::string_view::npos : found.end - 1;
}

std::optional<std::string> LinesDoc::CopyText(int line1, int column1, int line2, int column2) const
{
    const int count = LineCount();
    if (line1 < 0 || line1 >= count || line2 < 0 || line2 >= count) return std::nullopt;
    if (std::pair(line2, column2) < std::pair(line1, column1)) {
        std::swap(line1, line2);
        std::swap(column1, column2);
    }
    // Each line is asked for right where it is used: a hex document makes
    // its rows on request and may reuse a row's storage for a later one.
    const int from = ColumnToIndex(GetLine(line1), column1);
    const int to = ColumnToIndex(GetLine(line2), column2);
    return CopyBytes({line1, from}, {line2, to});
}

std::optional<std::string> LinesDoc::CopyBytes(TextPlace fromPlace, TextPlace toPlace) const
{
    const int count = LineCount();
    const int line1 = fromPlace.line;
    const int line2 = toPlace.line;
    if (line1 < 0 || line1 >= count || line2 < 0 || line2 >= count || toPlace < fromPlace) return std::nullopt;
    const auto clampTo = [](int index, const TextLine* line) {
        return static_cast<std::size_t>(std::clamp(index, 0, line->Length()));
    };
    const std::size_t from = clampTo(fromPlace.index, GetLine(line1));
    const std::size_t to = clampTo(toPlace.index, GetLine(line2));
    try {
        if (!AllocationAllowed(AllocSite::kEdit)) throw std::bad_alloc();
        if (line1 == line2) {
            const std::string_view text = GetLine(line1)->View();
            return std::string(text.substr(from, to > from ? to - from : 0));
        }
        const bool finalBreak = to >= static_cast<std::size_t>(GetLine(line2)->Length());
        std::size_t size = GetLine(line1)->Length() - from + 2 + to + (finalBreak ? 2 : 0);
        for (int i = line1 + 1; i < line2; ++i) size += GetLine(i)->Length() + 2;
        std::string out;
        out.reserve(size);
        TextChunks::AdviseHugePages(out.data(), size);
        out.append(GetLine(line1)->View().substr(from)).append("\r\n");
        for (int i = line1 + 1; i < line2; ++i) out.append(GetLine(i)->View()).append("\r\n");
        out.append(GetLine(line2)->View().substr(0, to));
        if (finalBreak) out.append("\r\n");
        return out;
    } catch (const std::exception&) {
        error_ = doc_error::kMemory;
        return std::nullopt;
    }
}

TextPosition LinesDoc::InsertText(std::string_view text, TextPosition position, LineBreakRule rule)
{
    if (loading_) FinishLoad();
    if (text.empty()) return position;
    const int lineCount = static_cast<int>(lines_.Size());
    const int L = std::clamp(position.line, 0, lineCount);
    const int cut = L < lineCount && position.column > 0 ? ColumnToIndex(&lines_[static_cast<std::size_t>(L)], position.column) : 0;
    const TextPlace end = InsertTextAt(text, {L, cut}, rule);
    if (end == TextPlace{L, cut}) return position;
    return PositionAt(end);
}

TextPlace LinesDoc::InsertTextAt(std::string_view text, TextPlace position, LineBreakRule rule)
{
    if (loading_) FinishLoad();
    if (text.empty()) return position;
    const int lineCount = static_cast<int>(lines_.Size());
    const int L = std::clamp(position.line, 0, lineCount);
    const bool onLine = L < lineCount;
    const std::string_view current = onLine ? lines_[static_cast<std::size_t>(L)].View() : std::string_view();
    const auto cut = static_cast<std::size_t>(std::clamp(position.index, 0, static_cast<int>(current.size())));
    const std::string_view head = current.substr(0, cut);
    const std::string_view tail = current.substr(cut);
    const int oldWidth = onLine ? StoredWidth(lines_[static_cast<std::size_t>(L)]) : 0;

    LineBreaks breaks(text, rule);
    const auto firstBreak = breaks.Next(0);
    if (firstBreak.start == std::string_view::npos) {
        // No line break: the text joins the current line.
        if (!onLine) {
            if (!InsertLine(L, text)) return position;
            UpdateMaxWidth(LineWidth(&lines_[static_cast<std::size_t>(L)]));
            return {L, static_cast<int>(text.size())};
        }
        TextLine& line = lines_[static_cast<std::size_t>(L)];
        int before = 0;
        int after = 0;
        if (!ReplaceBytes(line, cut, 0, text, before, after)) return position;
        NoteEdit(before, after);
        return {L, static_cast<int>(cut + text.size())};
    }

    // The text is cut into segments at its breaks: the first joins the
    // head of the current line, the last goes before its tail, and every
    // segment between becomes a line of its own. The segments between are
    // copied into one chunk in one go, so a text of a million lines costs
    // one copy and one table rebuild.
    const std::size_t middleStart = firstBreak.end;
    std::size_t lastStart = middleStart;  // start of the last segment
    std::size_t middleLines = 0;
    for (auto b = breaks.Next(middleStart); b.start != std::string_view::npos; b = breaks.Next(b.end)) {
        ++middleLines;
        lastStart = b.end;
    }
    if (middleLines + 2 > static_cast<std::size_t>(INT32_MAX) - lines_.Size()) {
        error_ = doc_error::kMemory;
        return position;
    }

    // The lines are made first and the table opened for them last, so a
    // failure anywhere leaves the document as it was.
    TextLine first;
    TextLine last;
    std::uint32_t chunk = 0;
    char* bytes = nullptr;
    const auto fail = [&]() {
        chunks_.Release(first);
        chunks_.Release(last);
        if (bytes) chunks_.DropIfUnused(chunk);
        error_ = doc_error::kMemory;
        return position;
    };
    const std::string_view lastSegment = text.substr(lastStart);
    int firstWidth = 0;
    int lastWidth = 0;
    if (!MakeOwnedLine(first, head, text.substr(0, firstBreak.start), firstWidth)) return fail();
    if (!MakeOwnedLine(last, lastSegment, tail, lastWidth)) return fail();
    const std::string_view middle = text.substr(middleStart, lastStart - middleStart);
    if (middleLines > 0) {
        bytes = AllocationAllowed(AllocSite::kEdit) ? chunks_.Allocate(middle.size(), chunk) : nullptr;
        if (!bytes) return fail();
        std::memcpy(bytes, middle.data(), middle.size());
    }
    const auto at = static_cast<std::size_t>(L);
    if (!MakeGap(at, onLine ? 1 : 0, middleLines + 2)) return fail();

    if (onLine) widths_.Remove(oldWidth);
    widths_.Add(firstWidth);
    widths_.Add(lastWidth);
    int widest = std::max(firstWidth, lastWidth);
    lines_[at] = std::move(first);
    LineBreaks inChunk({bytes, middle.size()}, rule);
    std::size_t start = 0;
    for (std::size_t i = 1; i <= middleLines; ++i) {
        const auto b = inChunk.Next(start);
        bytes[b.start] = '\0';  // the break's first byte ends the line's text
        const auto size = static_cast<std::uint32_t>(b.start - start);
        lines_[at + i] = chunks_.MakeLine(chunk, bytes + start, size);
        const int width = WidthOf({bytes + start, size});
        widths_.Add(width);
        widest = std::max(widest, width);
        start = b.end;
    }
    lines_[at + middleLines + 1] = std::move(last);

    if (onLine && oldWidth >= max_width_ && widest < oldWidth) {
        UpdateMaxWidth(-1);
    } else {
        max_width_ = std::max(max_width_, widest);
    }
    modified_ = true;
    return {L + static_cast<int>(middleLines) + 1, static_cast<int>(lastSegment.size())};
}

// --- saving ---

bool LinesDoc::Save(const std::string& newName)
{
    if (loading_) FinishLoad();
    const std::string target = newName.empty() ? file_name_ : newName;
    if (target.empty()) return false;
    // Writing what the document holds would destroy the file it could not read.
    if (unread_ && NamesOwnFile(target)) return false;
    AtomicFileWriter writer;
    bool ok = writer.Open(target);
    const int count = LineCount();
    const std::string_view end = line_end_ == LineEnd::kLf ? "\n" : "\r\n";
    for (int i = 0; ok && i < count; ++i) {
        // A line that cannot be had (a hex row the disk would not give)
        // fails the save rather than leaving a hole in the file.
        const TextLine* line = GetLine(i);
        // A line that ends in a CR of its own (a last line without an LF
        // had one) gets a CR LF end even in an LF file: the reader drops
        // the CR before an LF, so with a bare LF the next load, and the
        // save after it, would lose the line's CR.
        const bool own_cr = line && end == "\n" && line->View().ends_with('\r');
        ok = line && writer.Write(line->View()) && writer.Write(own_cr ? "\r\n" : end);
    }
    if (!ok || !writer.Commit()) {
        // The file on disk is as it was; the document keeps its name and
        // stays modified.
        error_ = doc_error::kOpen;
        return false;
    }
    file_name_ = target;
    modified_ = false;
    // The file holds this text now; recording it keeps the save from
    // looking like another program's change.
    disk_identity_ = writer.Written().Present() ? writer.Written() : IdentityOfPath(target);
    unread_ = false;
    if (writer.SavedWithWarning()) error_ = doc_error::kSavedWithWarning;
    return true;
}

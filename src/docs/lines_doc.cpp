#include "docs/lines_doc.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>
#include <utility>

#include "base/atomic_file.h"
#include "base/display_columns.h"
#include "base/text_rules.h"
#include "docs/alloc_gate.h"
#include "docs/doc_errors.h"
#include "docs/line_breaks.h"

using docs::AllocationAllowed;
using docs::AllocSite;

LinesDoc::LinesDoc(std::string fileName) : file_name_(std::move(fileName)) {}

LinesDoc::~LinesDoc()
{
    LinesDoc::Clear();
}

bool LinesDoc::Load(const RepaintHook&, int)
{
    return true;
}

// --- state ---

const TextLine* LinesDoc::GetLine(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= lines_.size()) return nullptr;
    return &lines_[static_cast<std::size_t>(index)];
}

TextLine* LinesDoc::MutableLine(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= lines_.size()) return nullptr;
    return &lines_[static_cast<std::size_t>(index)];
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
    return line ? WidthOf(line->View()) : 0;
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
    return line ? static_cast<int>(text::ColumnToIndex(line->View(), tab_size_, column)) : 0;
}

int LinesDoc::PrefixWidth(const TextLine* line, int count, int delta) const
{
    if (!line) return 0;
    const long n = std::clamp(static_cast<long>(count) + delta, 0L, static_cast<long>(line->Length()));
    return WidthOf(line->View().substr(0, static_cast<std::size_t>(n)));
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

bool LinesDoc::Rewrite(TextLine& line, std::string_view head, std::string_view middle,
                       std::string_view tail)
{
    const std::size_t size = head.size() + middle.size() + tail.size();
    if (size > static_cast<std::size_t>(INT32_MAX)) {
        error_ = doc_error::kMemory;
        return false;
    }
    char* bytes = nullptr;
    if (size > 0) {
        bytes = AllocationAllowed(AllocSite::kEdit) ? static_cast<char*>(std::malloc(size + 1)) : nullptr;
        if (!bytes) {
            error_ = doc_error::kMemory;
            return false;
        }
        // The parts may lie inside the line itself: copy before letting go of it.
        char* out = bytes;
        for (const std::string_view part : {head, middle, tail}) {
            if (!part.empty()) std::memcpy(out, part.data(), part.size());
            out += part.size();
        }
        bytes[size] = '\0';
    }
    chunks_.Release(line);
    if (bytes) {
        line.text_ = bytes;
        line.size_ = static_cast<std::uint32_t>(size);
        line.store_ = TextLine::kOwned;
    }
    return true;
}

void LinesDoc::NoteEdit(int oldWidth, int newWidth)
{
    // The widest line may have become narrower: the next DeleteLines
    // recomputes; a character edit itself never lowers MaxWidth.
    if (newWidth < oldWidth && oldWidth >= max_width_) max_width_exact_ = false;
    max_width_ = std::max(max_width_, newWidth);
    modified_ = true;
}

bool LinesDoc::InsertChars(int line, std::string_view text, int index)
{
    TextLine* target = MutableLine(line);
    if (!target) return false;
    const std::string_view old = target->View();
    if (index == -1) index = static_cast<int>(old.size());
    if (index < 0 || static_cast<std::size_t>(index) > old.size()) return false;
    const int oldWidth = WidthOf(old);
    const auto at = static_cast<std::size_t>(index);
    if (!Rewrite(*target, old.substr(0, at), text, old.substr(at))) return false;
    NoteEdit(oldWidth, LineWidth(target));
    return true;
}

bool LinesDoc::OverwriteChars(int line, std::string_view text, int index)
{
    TextLine* target = MutableLine(line);
    if (!target) return false;
    const std::string_view old = target->View();
    if (index < 0 || static_cast<std::size_t>(index) > old.size()) return false;
    const int oldWidth = WidthOf(old);
    const auto at = static_cast<std::size_t>(index);
    const std::size_t after = std::min(old.size(), at + text.size());
    if (!Rewrite(*target, old.substr(0, at), text, old.substr(after))) return false;
    NoteEdit(oldWidth, LineWidth(target));
    return true;
}

bool LinesDoc::DeleteChars(int line, int index, int count)
{
    TextLine* target = MutableLine(line);
    if (!target) return false;
    const std::string_view old = target->View();
    if (index < 0 || static_cast<std::size_t>(index) > old.size()) return false;
    const auto at = static_cast<std::size_t>(index);
    const std::size_t n = std::min(old.size() - at, static_cast<std::size_t>(std::max(count, 0)));
    const int oldWidth = WidthOf(old);
    if (!Rewrite(*target, old.substr(0, at), {}, old.substr(at + n))) return false;
    NoteEdit(oldWidth, LineWidth(target));
    return true;
}

// --- line editing ---

bool LinesDoc::MakeGap(std::size_t index, std::size_t erase, std::size_t count)
{
    const std::size_t old = lines_.size();
    const std::size_t size = old - erase + count;
    if (size > static_cast<std::size_t>(INT32_MAX)) {
        error_ = doc_error::kMemory;
        return false;
    }
    const auto at = [this](std::size_t i) { return lines_.begin() + static_cast<std::ptrdiff_t>(i); };
    if (size > lines_.capacity()) {
        // A new table: everything that can fail happens before the old one
        // is touched. Moving lines never fails.
        std::vector<TextLine> table;
        try {
            if (!AllocationAllowed(AllocSite::kEdit)) throw std::bad_alloc();
            table.reserve(std::max(size, old + old / 2));
            TextChunks::AdviseHugePages(table.data(), table.capacity() * sizeof(TextLine));
        } catch (const std::exception&) {
            error_ = doc_error::kMemory;
            return false;
        }
        for (std::size_t i = index; i < index + erase; ++i) chunks_.Release(lines_[i]);
        std::move(lines_.begin(), at(index), std::back_inserter(table));
        table.resize(index + count);  // within the reserved size: no allocation
        std::move(at(index + erase), lines_.end(), std::back_inserter(table));
        lines_.swap(table);
        return true;
    }
    for (std::size_t i = index; i < index + erase; ++i) chunks_.Release(lines_[i]);
    if (count > erase) {
        lines_.resize(size);  // within capacity: no allocation
        std::move_backward(at(index + erase), at(old), lines_.end());
    } else if (count < erase) {
        std::move(at(index + erase), lines_.end(), at(index + count));
        lines_.resize(size);
        if (lines_.capacity() > 4096 && size < lines_.capacity() / 4) lines_.shrink_to_fit();
    }
    return true;
}

bool LinesDoc::SpliceLines(std::size_t index, std::size_t erase, TextLine* insert, std::size_t count)
{
    if (!MakeGap(index, erase, count)) return false;
    std::move(insert, insert + count, lines_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

bool LinesDoc::InsertLine(int index, std::string_view text, const RepaintHook& repaint, int repaintLine)
{
    const auto at = static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(lines_.size())));
    TextLine line;
    if (!text.empty() && !Rewrite(line, text, {}, {})) return false;
    if (!SpliceLines(at, 0, &line, 1)) return false;
    modified_ = true;
    if (repaint && repaintLine > 0) repaint();
    return true;
}

bool LinesDoc::DeleteLines(int index, int count)
{
    const auto at = static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(lines_.size())));
    const std::size_t n = std::min(lines_.size() - at, static_cast<std::size_t>(std::max(count, 0)));
    int widest = 0;
    if (max_width_exact_)
        for (std::size_t i = at; i < at + n; ++i) widest = std::max(widest, LineWidth(&lines_[i]));
    if (!SpliceLines(at, n, nullptr, 0)) return false;
    modified_ = true;
    if (n > 0 && (!max_width_exact_ || widest >= max_width_)) UpdateMaxWidth(-1);
    return true;
}

void LinesDoc::Clear()
{
    std::vector<TextLine>().swap(lines_);  // owned texts are freed with their lines
    chunks_.Clear();
    max_width_ = 0;
    max_width_exact_ = true;
}

void LinesDoc::UpdateMaxWidth(int width)
{
    if (width >= 0) {
        max_width_ = std::max(max_width_, width);
        return;
    }
    int widest = 0;
    const int count = LineCount();
    for (int i = 0; i < count; ++i) widest = std::max(widest, LineWidth(GetLine(i)));
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
    const auto from = static_cast<std::size_t>(ColumnToIndex(GetLine(line1), column1));
    const auto to = static_cast<std::size_t>(ColumnToIndex(GetLine(line2), column2));
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
    if (text.empty()) return position;
    const int lineCount = static_cast<int>(lines_.size());
    const int L = std::clamp(position.line, 0, lineCount);
    const bool onLine = L < lineCount;
    const std::string_view current = onLine ? lines_[static_cast<std::size_t>(L)].View() : std::string_view();
    const auto cut = static_cast<std::size_t>(onLine && position.column > 0
                                                  ? ColumnToIndex(&lines_[static_cast<std::size_t>(L)], position.column)
                                                  : 0);
    const std::string_view head = current.substr(0, cut);
    const std::string_view tail = current.substr(cut);
    const int oldWidth = WidthOf(current);

    LineBreaks breaks(text, rule);
    const auto firstBreak = breaks.Next(0);
    if (firstBreak.start == std::string_view::npos) {
        // No line break: the text joins the current line.
        if (!onLine) {
            if (!InsertLine(L, text)) return position;
            UpdateMaxWidth(LineWidth(&lines_[static_cast<std::size_t>(L)]));
            return {L, LineWidth(&lines_[static_cast<std::size_t>(L)])};
        }
        TextLine& line = lines_[static_cast<std::size_t>(L)];
        if (!Rewrite(line, head, text, tail)) return position;
        NoteEdit(oldWidth, LineWidth(&line));
        return {L, WidthOf(line.View().substr(0, cut + text.size()))};
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
    if (middleLines + 2 > static_cast<std::size_t>(INT32_MAX) - lines_.size()) {
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
    if (!Rewrite(first, head, text.substr(0, firstBreak.start), {})) return fail();
    if (!Rewrite(last, lastSegment, tail, {})) return fail();
    const std::string_view middle = text.substr(middleStart, lastStart - middleStart);
    if (middleLines > 0) {
        bytes = AllocationAllowed(AllocSite::kEdit) ? chunks_.Allocate(middle.size(), chunk) : nullptr;
        if (!bytes) return fail();
        std::memcpy(bytes, middle.data(), middle.size());
    }
    const auto at = static_cast<std::size_t>(L);
    if (!MakeGap(at, onLine ? 1 : 0, middleLines + 2)) return fail();

    int widest = std::max(LineWidth(&first), LineWidth(&last));
    lines_[at] = std::move(first);
    LineBreaks inChunk({bytes, middle.size()}, rule);
    std::size_t start = 0;
    for (std::size_t i = 1; i <= middleLines; ++i) {
        const auto b = inChunk.Next(start);
        bytes[b.start] = '\0';  // the break's first byte ends the line's text
        const auto size = static_cast<std::uint32_t>(b.start - start);
        lines_[at + i] = chunks_.MakeLine(chunk, bytes + start, size);
        widest = std::max(widest, WidthOf({bytes + start, size}));
        start = b.end;
    }
    lines_[at + middleLines + 1] = std::move(last);

    if (onLine && oldWidth >= max_width_ && widest < oldWidth) {
        UpdateMaxWidth(-1);
    } else {
        max_width_ = std::max(max_width_, widest);
    }
    modified_ = true;
    return {L + static_cast<int>(middleLines) + 1, WidthOf(lastSegment)};
}

// --- saving ---

bool LinesDoc::Save(const std::string& newName)
{
    const std::string target = newName.empty() ? file_name_ : newName;
    if (target.empty()) return false;
    AtomicFileWriter writer;
    bool ok = writer.Open(target);
    const int count = LineCount();
    const std::string_view end = line_end_ == LineEnd::kLf ? "\n" : "\r\n";
    for (int i = 0; ok && i < count; ++i) {
        // A line that cannot be had (a hex row the disk would not give)
        // fails the save rather than leaving a hole in the file.
        const TextLine* line = GetLine(i);
        ok = line && writer.Write(line->View()) && writer.Write(end);
    }
    if (!ok || !writer.Commit()) {
        // The file on disk is as it was; the document keeps its name and
        // stays modified.
        error_ = doc_error::kOpen;
        return false;
    }
    file_name_ = target;
    modified_ = false;
    return true;
}

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

// --- what is known of a line ---

int LinesDoc::StoredWidth(const TextLine& line) const
{
    if (KnownPlain(line)) return line.Length();
    if (line.Owned()) {
        if (const LineMeasure known = line.Measure(); known.WidthAt(tab_size_)) return known.width;
    }
    if (const TextChunks::LineNote* note = chunks_.NoteOf(line); note && note->tab_size == tab_size_)
        return note->width;
    return WidthOf(line.View());
}

// --- a line's own block ---

void LinesDoc::AdoptBlock(TextLine& line, char* bytes, std::size_t size)
{
    chunks_.Release(line);
    line.AdoptBlock(bytes, size);
}

bool LinesDoc::OwnChunk(TextLine& line)
{
    const TextChunks::LineNote* noted = chunks_.NoteOf(line);
    const TextChunks::LineNote note = noted ? *noted : TextChunks::LineNote{};
    if (!chunks_.HandOver(line)) return false;
    const int knownWidth = noted && note.tab_size == tab_size_ ? note.width : -1;
    line.SetMeasure(line_measure::Measure(line.View(), tab_size_, note.plain, knownWidth));
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
    const LineMeasure measure = line_measure::Measure(line.View(), tab_size_, plain, knownWidth);
    line.SetMeasure(measure);
    width = measure.width;
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

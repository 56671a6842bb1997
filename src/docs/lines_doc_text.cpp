// Text of many lines: copied out of the document joined by CR LF, and put
// in at a place, cut into lines at its breaks.
#include "docs/alloc_gate.h"
#include "docs/doc_errors.h"
#include "docs/lines_doc.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

using docs::AllocationAllowed;
using docs::AllocSite;

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
    const int cut =
        L < lineCount && position.column > 0 ? ColumnToIndex(&lines_[static_cast<std::size_t>(L)], position.column) : 0;
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

    LineBreaks breaks(text, rule);
    const auto firstBreak = breaks.Next(0);
    if (firstBreak.start != std::string_view::npos) return InsertLinesAt(text, L, cut, breaks, firstBreak, position);
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

// The text is cut into segments at its breaks: the first joins the head of
// the current line, the last goes before its tail, and every segment
// between becomes a line of its own. The segments between are copied into
// one chunk in one go, so a text of a million lines costs one copy and one
// table rebuild.
TextPlace LinesDoc::InsertLinesAt(std::string_view text, int L, std::size_t cut, LineBreaks& breaks,
                                  LineBreaks::Break firstBreak, TextPlace position)
{
    const bool onLine = L < static_cast<int>(lines_.Size());
    const std::string_view current = onLine ? lines_[static_cast<std::size_t>(L)].View() : std::string_view();
    const int oldWidth = onLine ? StoredWidth(lines_[static_cast<std::size_t>(L)]) : 0;
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
    if (!MakeOwnedLine(first, current.substr(0, cut), text.substr(0, firstBreak.start), firstWidth)) return fail();
    if (!MakeOwnedLine(last, lastSegment, current.substr(cut), lastWidth)) return fail();
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
    lines_[at] = std::move(first);
    const int middleWidest = PlaceChunkLines(at + 1, bytes, middle.size(), chunk, middleLines, breaks.Rule());
    const int widest = std::max({firstWidth, lastWidth, middleWidest});
    lines_[at + middleLines + 1] = std::move(last);

    if (onLine && oldWidth >= max_width_ && widest < oldWidth)
        UpdateMaxWidth(-1);
    else
        max_width_ = std::max(max_width_, widest);
    modified_ = true;
    return {L + static_cast<int>(middleLines) + 1, static_cast<int>(lastSegment.size())};
}

int LinesDoc::PlaceChunkLines(std::size_t at, char* bytes, std::size_t size, std::uint32_t chunk, std::size_t count,
                              LineBreakRule rule)
{
    int widest = 0;
    LineBreaks inChunk({bytes, size}, rule);
    std::size_t start = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const auto b = inChunk.Next(start);
        bytes[b.start] = '\0';  // the break's first byte ends the line's text
        const auto length = static_cast<std::uint32_t>(b.start - start);
        lines_[at + i] = chunks_.MakeLine(chunk, bytes + start, length);
        const int width = WidthOf({bytes + start, length});
        widths_.Add(width);
        widest = std::max(widest, width);
        start = b.end;
    }
    return widest;
}

#include "edit/find_replace_run.h"

#include "docs/doc_errors.h"
#include "docs/text_doc.h"
#include "edit/caret_model.h"
#include "edit/text_editor.h"
#include "search/matcher_factory.h"

#include <memory>
#include <new>
#include <utility>

FindReplaceRun::FindReplaceRun(TextEditor& editor, FindRequest request)
    : editor_(editor), request_(std::move(request))
{
}

long FindReplaceRun::Run(const Between& between)
{
    TextDoc& doc = editor_.doc_;
    CaretModel& caret = editor_.caret_;
    const FindRequest& r = request_;
    // A text window tries every start after a rejected occurrence.
    const std::unique_ptr<const Matcher> matcher = MakeMatcher(r.Query(), TextMatcher::AfterRejected::kNextByte);

    TextPosition start, end;
    if (!caret.OrderedSelection(start, end)) start = end = caret.Caret();
    TextPosition from = StartOf(r.down, r.replacing, start, end);
    long found = 0;
    // A search that runs out of memory (a line copied to be searched, a
    // record) stops with the memory error; what it replaced so far stays
    // replaced and recorded.
    try {
    for (;;) {
        const std::optional<TextDoc::Match> found_at = doc.Find(*matcher, from, r.down);
        if (!found_at) break;
        ++found;
        const TextPosition match = found_at->start;
        TextPosition matchEnd = found_at->end;
        if (r.replacing) {
            const TextLine* line = doc.GetLine(match.line);
            const int index = doc.ColumnToIndex(line, match.column);
            const int stop = doc.ColumnToIndex(line, matchEnd.column);
            // The record's text is had before the replacement is made: a
            // replacement nothing could undo is not made.
            std::optional<std::string> record = editor_.ReplacementRecord(
                line->View().substr(std::size_t(index), std::size_t(stop - index)), r.replace);
            if (!record || !doc.ReplaceChars(match.line, index, stop - index, r.replace)) break;
            editor_.undo_.PushReplacement(std::move(*record), r.replace.size(), r.all, {match.line, index});
            doc.SetModified(true);
            matchEnd.column = doc.PrefixWidth(doc.GetLine(match.line), index + int(r.replace.size()));
        }
        if (r.down) {
            caret.Select(match, matchEnd);
            caret.PlaceCaret(match);
            from = matchEnd;
        } else {
            caret.Select(match, match);
            from = match;
        }
        if (!(r.replacing && r.all)) break;
        const RunVerdict verdict = between ? between() : RunVerdict::kGoOn;
        if (verdict == RunVerdict::kAbandoned) {
            abandoned_ = true;  // the editor may be gone with its window: touch nothing of it
            return found;
        }
        if (verdict == RunVerdict::kStop) break;
    }
    } catch (const std::bad_alloc&) {
        doc.SetError(doc_error::kMemory);
    }
    caret.SnapCaret();
    return found;
}

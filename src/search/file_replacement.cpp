#include "search/file_replacement.h"

#include "base/atomic_file.h"
#include "base/content_hash.h"
#include "base/matcher.h"
#include "search/file_reading.h"
#include "search/replacement_journal.h"

#include <string_view>
#include <vector>

namespace {

bool ReadWholeFile(const std::string& path, std::string& bytes, FileIdentity& identity)
{
    file_reading::File file = file_reading::OpenRegularFile(path);
    if (!file.is_open()) return false;
    identity = IdentityOfOpenFile(file.fd);
    bytes.clear();
    bool at_end = false;
    while (!at_end) {
        const std::size_t had = bytes.size();
        bytes.resize(had + file_reading::kBlockSize);
        bytes.resize(had + file_reading::Fill(file, bytes.data() + had, file_reading::kBlockSize, at_end));
    }
    file_reading::Close(file);
    return true;
}

// The text of the line that starts at `from`: up to its LF, without a CR
// directly before it.
std::string_view LineAt(std::string_view bytes, std::size_t from, std::size_t& next)
{
    std::size_t end = bytes.find('\n', from);
    if (end == std::string_view::npos) {
        next = end = bytes.size();
    } else {
        next = end + 1;
        if (end > from && bytes[end - 1] == '\r') --end;
    }
    return bytes.substr(from, end - from);
}

// The pieces of the new contents in order: kept bytes and replacements.
template <typename Piece>
void EachPiece(std::string_view all, const std::vector<ByteSpan>& spans, std::string_view replacement,
               const std::vector<std::size_t>* chosen, Piece piece)
{
    std::size_t kept = 0;
    const auto replace = [&](const ByteSpan& span) {
        piece(all.substr(kept, span.start - kept));
        piece(replacement);
        kept = span.end;
    };
    if (chosen) {
        for (const std::size_t i : *chosen)
            if (i < spans.size() && spans[i].start >= kept) replace(spans[i]);
    } else {
        for (const ByteSpan& span : spans) replace(span);
    }
    piece(all.substr(kept));
}

} // namespace

bool FindOccurrences(const std::string& path, const Matcher& matcher, bool replace_all, FileOccurrences& out)
{
    out.spans.clear();
    if (!ReadWholeFile(path, out.bytes, out.identity)) return false;
    const std::string_view all(out.bytes);
    // The occurrences as file offsets, found before anything changes.
    for (std::size_t from = 0, next = 0; from < all.size() && (replace_all || out.spans.empty()); from = next) {
        const std::string_view line = LineAt(all, from, next);
        for (std::optional<ByteSpan> span = matcher.Find(line, 0); span; span = matcher.Find(line, span->end)) {
            out.spans.push_back({from + span->start, from + span->end});
            if (!replace_all) break;
        }
    }
    return true;
}

std::string ReplacedBytes(std::string_view bytes, const std::vector<ByteSpan>& spans, std::string_view replacement,
                          const std::vector<std::size_t>* chosen)
{
    std::string out;
    EachPiece(bytes, spans, replacement, chosen, [&](std::string_view piece) { out += piece; });
    return out;
}

FileReplacementOutcome ReplaceInTextFile(const std::string& path, const Matcher& matcher,
                                         const std::string& replacement, bool replace_all, long* replaced,
                                         const ReplacementGuard& guard)
{
    if (replaced) *replaced = 0;
    FileOccurrences found;
    if (!FindOccurrences(path, matcher, replace_all, found)) return FileReplacementOutcome::kNotOpened;
    if (guard.searched && !(*guard.searched == found.identity)) return FileReplacementOutcome::kChangedSince;
    const std::string_view all(found.bytes);
    long count = guard.chosen ? 0 : static_cast<long>(found.spans.size());
    if (guard.chosen)
        for (const std::size_t i : *guard.chosen) count += i < found.spans.size() ? 1 : 0;
    if (count == 0) return FileReplacementOutcome::kNotFound;

    AtomicFileWriter writer;
    if (!writer.Open(path)) return FileReplacementOutcome::kNotSaved;
    if (guard.journal) {
        ContentHash after;
        std::uint64_t size_after = 0;
        EachPiece(all, found.spans, replacement, guard.chosen, [&](std::string_view piece) {
            after.Add(piece);
            size_after += piece.size();
        });
        switch (guard.journal->KeepOriginal(path, found.identity, all, after.value(), size_after)) {
        case replacement_journal::Writer::Keep::kKept: break;
        case replacement_journal::Writer::Keep::kOverBudget: return FileReplacementOutcome::kOverBudget;
        case replacement_journal::Writer::Keep::kFailed: return FileReplacementOutcome::kNotKept;
        }
    }
    bool ok = true;
    EachPiece(all, found.spans, replacement, guard.chosen,
              [&](std::string_view piece) { ok = ok && writer.Write(piece); });
    ok = ok && writer.Commit();
    if (!ok) return FileReplacementOutcome::kNotSaved;
    if (guard.journal) guard.journal->MarkWritten();
    if (replaced) *replaced = count;
    return FileReplacementOutcome::kReplaced;
}

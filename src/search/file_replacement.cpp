#include "search/file_replacement.h"

#include "base/atomic_file.h"
#include "base/matcher.h"
#include "search/file_reading.h"

#include <string_view>
#include <vector>

namespace {

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    file_reading::File file = file_reading::OpenRegularFile(path);
    if (!file.is_open()) return false;
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

} // namespace

FileReplacementOutcome ReplaceInTextFile(const std::string& path, const Matcher& matcher,
                                         const std::string& replacement, bool replace_all, long* replaced)
{
    if (replaced) *replaced = 0;
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return FileReplacementOutcome::kNotOpened;
    const std::string_view all(bytes);
    // The occurrences as file offsets, found before anything changes.
    std::vector<ByteSpan> spans;
    for (std::size_t from = 0, next = 0; from < all.size() && (replace_all || spans.empty()); from = next) {
        const std::string_view line = LineAt(all, from, next);
        for (std::optional<ByteSpan> span = matcher.Find(line, 0); span; span = matcher.Find(line, span->end)) {
            spans.push_back({from + span->start, from + span->end});
            if (!replace_all) break;
        }
    }
    if (spans.empty()) return FileReplacementOutcome::kNotFound;

    AtomicFileWriter writer;
    bool ok = writer.Open(path);
    std::size_t kept = 0;
    for (const ByteSpan& span : spans) {
        ok = ok && writer.Write(all.substr(kept, span.start - kept)) && writer.Write(replacement);
        kept = span.end;
    }
    ok = ok && writer.Write(all.substr(kept)) && writer.Commit();
    if (!ok) return FileReplacementOutcome::kNotSaved;
    if (replaced) *replaced = static_cast<long>(spans.size());
    return FileReplacementOutcome::kReplaced;
}

#pragma once
// The replacement of a grep run in one file, made without a window: nothing
// typed meanwhile can reach the file, and the run's window stays in front.
// The occurrences are those the grep scan finds (the matcher, line by line,
// a line ending before its LF and before a CR directly ahead of it), taken
// from each line as it was read, so that a replacement never makes or hides
// a later occurrence. Every other byte of the file is written back as it
// was (line ends, a last line without one, NUL or lone CR bytes), through
// the same atomic write as a text window's save (permissions kept, a link
// stays a link, a file the user may not write is not replaced).
//
// With a journal, the file's original bytes are kept in it (and flushed)
// before the file is written; when they cannot be, the file is not written.

#include "base/file_identity.h"
#include "search/text_matcher.h"

#include <string>
#include <string_view>
#include <vector>

class Matcher;
namespace replacement_journal {
class Writer;
}

enum class FileReplacementOutcome {
    kReplaced,      // replaced and saved
    kNotFound,      // the file holds no occurrence (any more)
    kNotOpened,     // the file could not be read
    kNotSaved,      // the write failed: the file is as it was
    kNotKept,       // the journal could not keep its bytes: not written
    kOverBudget,    // its bytes would pass the journal's budget: not written
    kChangedSince,  // not the file that was searched (or previewed) any more
};

// What a replacement checks before it writes.
struct ReplacementGuard {
    replacement_journal::Writer* journal = nullptr;  // keeps the original bytes first
    // The file as it was searched (or previewed): another identity means it
    // changed since, and it is not written.
    const FileIdentity* searched = nullptr;
    // Indexes (in file order) of the occurrences to replace; all when null.
    const std::vector<std::size_t>* chosen = nullptr;
};

// Replaces the first occurrence in the file at `path` (every one with
// `replace_all`) by `replacement` and writes the file when anything was
// replaced. `replaced` (when given) receives the number of occurrences.
FileReplacementOutcome ReplaceInTextFile(const std::string& path, const Matcher& matcher,
                                         const std::string& replacement, bool replace_all, long* replaced = nullptr,
                                         const ReplacementGuard& guard = {});

// The file's bytes and where its occurrences lie (file offsets), as a
// replacement finds them.
struct FileOccurrences {
    std::string bytes;
    FileIdentity identity;  // of the open file, as read
    std::vector<ByteSpan> spans;
};
bool FindOccurrences(const std::string& path, const Matcher& matcher, bool replace_all, FileOccurrences& out);

// The bytes with the occurrences `spans` (or those of `chosen` among them)
// replaced.
std::string ReplacedBytes(std::string_view bytes, const std::vector<ByteSpan>& spans, std::string_view replacement,
                          const std::vector<std::size_t>* chosen = nullptr);

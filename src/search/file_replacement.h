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

#include <string>

class Matcher;

enum class FileReplacementOutcome {
    kReplaced,   // replaced and saved
    kNotFound,   // the file holds no occurrence (any more)
    kNotOpened,  // the file could not be read
    kNotSaved,   // the write failed: the file is as it was
};

// Replaces the first occurrence in the file at `path` (every one with
// `replace_all`) by `replacement` and writes the file when anything was
// replaced. `replaced` (when given) receives the number of occurrences.
FileReplacementOutcome ReplaceInTextFile(const std::string& path, const Matcher& matcher,
                                         const std::string& replacement, bool replace_all, long* replaced = nullptr);

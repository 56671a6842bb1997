#pragma once
// The text column of the Grep window's list. A hit keeps only where its
// line starts; its text is read from the file when its row is shown, and
// the rows shown last are kept, so scrolling and painting read a file only
// for rows newly in view. Each file's state at the time of the run is
// recorded with its first hit: a file that has changed since then shows
// its rows as changed rather than with another line's text.

#include "base/file_identity.h"
#include "search/shown_line.h"
#include "search/text_matcher.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class HitTexts {
public:
    // Bytes of a line read at most; a longer line is shown cut.
    static constexpr std::size_t kMostBytes = 4096;
    // Rows kept; more are forgotten all at once.
    static constexpr std::size_t kRowsKept = 512;

    HitTexts();
    ~HitTexts();

    // `matcher` marks the matches (of the next run).
    void SetMatcher(std::unique_ptr<TextMatcher> matcher);
    // Forgets every file and row (the list is emptied).
    void Clear();
    void SetTabWidth(int tab_width);
    const TextMatcher* matcher() const { return matcher_.get(); }
    int tab_width() const { return tab_width_; }
    // The first hit of a file, at `first_row`: records how the file stands.
    void NoteFile(std::size_t first_row, const std::string& path);

    // Whether the file whose first hit is `first_row` is no longer as it
    // was in the run.
    bool FileChanged(std::size_t first_row, const std::string& path) const;

    struct Text {
        std::string bytes;  // the line without its line end, cut at kMostBytes
        bool cut = false;
        bool changed = false;  // the file is not as it was in the run
        ShownLine shown;
        std::size_t matches = 0;
    };
    // The row's text; `first_row` is the first row of its file.
    const Text& Row(std::size_t row, std::size_t first_row, const std::string& path, std::uint64_t line_offset);

private:
    std::unique_ptr<TextMatcher> matcher_;
    int tab_width_ = 4;
    // By the first row of each file.
    std::unordered_map<std::size_t, FileIdentity> files_;
    std::unordered_map<std::size_t, Text> rows_;
};

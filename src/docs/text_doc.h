#pragma once
// The editable document behind a text window: a line document loaded from
// a text file, searchable with the document's find options.
//
// Loading reads the file as text: a line is everything up to its LF,
// whatever its length; a CR directly before the LF is dropped; every other
// byte (lone CR, NUL, 0x1A) is kept. A last line without an LF is a line.
// An empty or unopenable file loads as one empty line (for the latter the
// error code 1 stays set so the view can say so).

#include "base/matcher.h"
#include "docs/lines_doc.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class TextLoader;

class TextDoc : public LinesDoc {
public:
    explicit TextDoc(std::string fileName = {});
    ~TextDoc() override;

    // Reads the whole file at once (BeginLoad, then every step).
    bool Load(const RepaintHook& repaint = {}, int repaintLine = 0) override;

    // --- loading in steps ---
    // A window shows the first lines at once and stays responsive while the
    // rest is read: BeginLoad empties the document and opens the file (one
    // that cannot be opened is handled as Load does, with nothing left to
    // read); then each LoadStep reads about `bytes` more and adds their
    // lines, which may be shown and read at once. kFailed leaves the
    // document empty with the error code set. An edit, Save, a new tab size
    // or FinishLoad reads the rest first; Clear or a new load drops it.
    void BeginLoad();
    LoadState LoadStep(std::size_t bytes = kLoadStepBytes);
    void FinishLoad() override;
    // The progress of a load or reload in steps: bytes read so far, and the
    // file's size when it was opened (0 for a pipe); both 0 when none runs.
    std::size_t LoadedBytes() const;
    std::size_t FileBytes() const;
    // About 10 ms of reading and splitting on a slow machine.
    static constexpr std::size_t kLoadStepBytes = std::size_t{8} << 20;

    // --- reloading ---
    // The file is read again in steps into a document beside this one; the
    // text shown stays until the new one is whole, then it is replaced at
    // once (not modified, the identity of the file read recorded). A reload
    // that fails (the file cannot be opened, a read error, no memory)
    // leaves the text, its modified flag and its identity as they were,
    // with the error code set. An edit, Save or FinishLoad reads the rest of
    // a reload first; Clear drops it.
    LoadState BeginReload() override;
    LoadState ReloadStep() override { return ReloadSome(kLoadStepBytes); }
    LoadState FinishReload() override;
    bool Reloading() const { return next_ != nullptr; }

    void Clear() override;

    // A match: where it starts and where it ends, as display columns.
    struct Match {
        TextPosition start;
        TextPosition end;
        bool operator==(const Match&) const = default;
    };

    // Searches the lines' bytes as the file holds them (a tab is found by a
    // tab, never by the spaces it shows as) with `matcher`; positions are
    // display columns. Down: the first match starting at or after `from`.
    // Up: the match ending last at or before `from`, the longest of those
    // (on a line every start is tried).
    std::optional<Match> Find(const Matcher& matcher, TextPosition from, bool down) const;
    // The repeat search: steps the column one place in the direction of
    // Options().down first, so the match at the start is not found again;
    // on success line and column are set to the match's start.
    bool FindText(const Matcher& matcher, int& line, int& column) const;

    // The run of spaces and tabs that starts the line (empty when none).
    std::string LeadingWhiteSpace(int line) const;

private:
    void EndLoad();
    LoadState ReloadSome(std::size_t bytes);

    std::unique_ptr<TextLoader> loader_;
    std::unique_ptr<TextDoc> next_;  // the text a reload reads
    LoadState reload_state_ = LoadState::kDone;  // how the last reload ended
};

#pragma once
// The in-memory model of a file as an ordered table of lines, the common
// base of the text and hex documents. It owns its lines, knows the file
// name, the tab width, the width of its widest line and the find options of
// the window that shows it, and offers the line-level editing primitives the
// views build their commands on. Positions are display columns, counted as
// a terminal lays out the line's UTF-8 characters (base/display_columns.h):
// a tab advances to the next multiple of the tab width; the document
// converts between display columns and byte indexes, always on a character
// boundary.
//
// A document never shows anything. A failed operation returns false (or
// nothing), changes nothing, and leaves an error code (docs/doc_errors.h)
// that the view reports and resets.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_identity.h"
#include "docs/column_marks.h"
#include "docs/line_breaks.h"
#include "docs/line_measure.h"
#include "docs/line_table.h"
#include "docs/text_chunks.h"
#include "docs/text_line.h"
#include "docs/text_position.h"
#include "docs/width_tally.h"
#include "docs/search_options.h"

// Called once while a load runs, right after the line with the given index
// has been stored, so that the first screenful shows while the rest loads.
using RepaintHook = std::function<void()>;

class LinesDoc {
public:
    explicit LinesDoc(std::string fileName = {});
    virtual ~LinesDoc();
    LinesDoc(const LinesDoc&) = delete;
    LinesDoc& operator=(const LinesDoc&) = delete;

    // (Re)reads the file. This base version does nothing and succeeds; the
    // text and hex documents replace it. With a hook and repaintLine > 0 the
    // hook runs once, after the line with index repaintLine is stored; it
    // may read the document (paint) but must not change or delete it.
    virtual bool Load(const RepaintHook& repaint = {}, int repaintLine = 0);
    // Writes every line followed by the document's line end, replacing the
    // file safely (base/atomic_file.h: owner, permissions, links kept; a
    // file the user may not write is refused). With a non-empty newName
    // that becomes the file name once the save succeeded. An empty file
    // name: false, no error code. Any failure: error 1, still modified. A
    // save whose file was replaced but whose close failed: true, not
    // modified, error code kSavedWithWarning for the view to mention.
    virtual bool Save(const std::string& newName = {});
    // Reads the rest of a load that runs in steps (text documents); every
    // change to the document does this first.
    virtual void FinishLoad() {}
    // What one step of a load left: more to read, done, or failed.
    enum class LoadState { kMore, kDone, kFailed };
    bool Loading() const { return loading_; }

    // --- reading the file again ---
    // Reloading reads the file once more; a document read in steps reads
    // it beside the text it holds, which stays until the new text is whole.
    // kFailed leaves the text as it was, with the error code set. This base
    // version loads at once.
    virtual LoadState BeginReload();
    virtual LoadState ReloadStep() { return LoadState::kDone; }
    // Reads the rest of a reload at once; the outcome of the last reload.
    virtual LoadState FinishReload() { return LoadState::kDone; }

    // The file as it was when the document last loaded or saved it (for
    // telling whether another program has changed it since).
    const FileIdentity& DiskIdentity() const { return disk_identity_; }
    // The file exists but the document holds none of its text: it could
    // not be read (permissions, a read error, no memory). Save refuses to
    // write over that file; saving under another name is possible and ends
    // this. A load that reads the file ends it too.
    bool Unread() const { return unread_; }
    // Whether `path` names the file the document shows (or would write).
    bool NamesOwnFile(const std::string& path) const;

    // The line end Save writes: the one the file had at its first line end
    // when it was loaded, CR LF for a new file or one without a line end.
    enum class LineEnd { kCrLf, kLf };
    LineEnd GetLineEnd() const { return line_end_; }
    void SetLineEnd(LineEnd end) { line_end_ = end; }

    // --- the document's state ---
    // The line with this index, or null outside 0 .. LineCount() - 1. The
    // pointer stays valid until the next change of the number of lines.
    virtual const TextLine* GetLine(int index) const;
    virtual int LineCount() const { return static_cast<int>(lines_.Size()); }
    const std::string& FileName() const { return file_name_; }
    // The file name after the last '/', in upper case: window captions and
    // print headers.
    std::string GetTitle() const;
    int TabSize() const { return tab_size_; }
    void SetTabSize(int size);
    int MaxWidth() const { return max_width_; }
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    int Error() const { return error_; }
    void SetError(int code) { error_ = code; }
    SearchOptions& Options() { return options_; }
    const SearchOptions& Options() const { return options_; }

    // --- width and column arithmetic (a null line or text counts as empty) ---
    int LineWidth(const TextLine* line) const;
    // The line with tabs expanded to spaces, cut at `limit` display columns
    // (never inside a character).
    std::string ExpandLine(const TextLine* line, std::size_t limit = std::string::npos) const;
    // The same into a caller's buffer of size + 1 bytes: zero-fills it,
    // writes at most size bytes of whole characters and a NUL, returns the
    // count of bytes written.
    int ExpandLine(const TextLine* line, char* buffer, int size) const;
    // Bytes to pass from the start of the line until the running width
    // reaches or passes `column`, with the combining marks that follow; a
    // tab or wide character whose cells hold the column counts as passed.
    // At most the line's length; column 0 gives 0.
    int ColumnToIndex(const TextLine* line, int column) const;
    // Display width of the first count + delta bytes (clamped to the line).
    int PrefixWidth(const TextLine* line, int count, int delta = 0) const;
    // The byte index where the character after (before) the one starting at
    // `index` starts: every step over the characters of a line goes through
    // these two, so the editing rules never split a character; a combining
    // mark goes with the character before it. Clamped to 0 .. the line's
    // length.
    int NextCharIndex(const TextLine* line, int index) const;
    int PrevCharIndex(const TextLine* line, int index) const;
    // A character start at or before display column `column` with its
    // column, near it on a long line: where a painter starts to walk.
    ColumnMarks::Mark CharacterStartBefore(const TextLine* line, int column) const;
    // A display position as the bytes it stands before, and back; a line
    // out of range counts as empty.
    TextPlace PlaceAt(TextPosition position) const
    {
        return {position.line, ColumnToIndex(GetLine(position.line), position.column)};
    }
    TextPosition PositionAt(TextPlace place) const
    {
        return {place.line, PrefixWidth(GetLine(place.line), place.index)};
    }
    // The word at or near `column` as display columns [start, end), or both
    // -1 when the line holds no word. Words are runs of letters and digits
    // of any script (base/characters.h).
    void WordBounds(const TextLine* line, int column, int& start, int& end) const;

    // --- character editing (line and index are a line index and a byte
    // index; false without change when either is out of range) ---
    // index -1 appends.
    bool InsertChars(int line, std::string_view text, int index);
    bool OverwriteChars(int line, std::string_view text, int index);
    bool DeleteChars(int line, int index, int count);
    // The `count` bytes from index become `text`, in one step: a failure
    // leaves the line as it was.
    bool ReplaceChars(int line, int index, int count, std::string_view text);

    // --- line editing ---
    // index is clamped into 0 .. LineCount(). The hook arguments exist for
    // symmetry with Load; they run the hook once after the insertion.
    bool InsertLine(int index, std::string_view text, const RepaintHook& repaint = {},
                    int repaintLine = -1);
    // Removes count lines from index (both clamped to the document).
    bool DeleteLines(int index, int count);
    // Enter: the bytes of `line` from byte `index` on become a new line
    // after it, which starts with `indent`. The longer part keeps the old
    // line's bytes where they are, so a split costs the shorter part, not
    // the line. False without change when line or index is out of range;
    // error 5 and false (no change) when memory runs out.
    bool SplitLine(int line, int index, std::string_view indent = {});
    // Backspace at a line's start, Delete at its end: line + 1 is appended
    // to line. The longer of the two keeps its bytes where they are. False
    // without change when line + 1 does not exist; error 5 and false (no
    // change) when memory runs out.
    bool JoinLines(int line);
    // Removes every line.
    virtual void Clear();
    // width >= 0 raises MaxWidth to it; a negative width recomputes it.
    void UpdateMaxWidth(int width);

    // --- multi-line text ---
    // The earlier of the first LF and the first CR in text: breakStart is
    // its offset and the result the offset of the break's last character
    // (CR LF and LF CR are one break each); both npos when there is none.
    static std::size_t FindLineBreak(std::string_view text, std::size_t& breakStart);
    // The text from (line1, column1) to (line2, column2), lines joined by
    // CR LF, with a final CR LF when a range over several lines ends at the
    // end of line2. Nothing when a line is out of range; nothing and error 5
    // when it cannot be allocated.
    std::optional<std::string> CopyText(int line1, int column1, int line2, int column2) const;
    std::optional<std::string> CopyText(TextPosition from, TextPosition to) const
    {
        return CopyText(from.line, from.column, to.line, to.column);
    }
    // The same between two byte places (from before to).
    std::optional<std::string> CopyBytes(TextPlace from, TextPlace to) const;
    // Inserts a text at a position and returns the position just after it.
    // The text is split into lines at the breaks `rule` names: any of the
    // four forms for pasted text; LF (with a CR before it) to put back what
    // CopyText took out, so that lone CR bytes stay inside their lines. On
    // allocation failure: error 5, the document unchanged, the position
    // returned as given.
    TextPosition InsertText(std::string_view text, TextPosition position,
                            LineBreakRule rule = LineBreakRule::kAnyForm);
    // The same at a byte place (the index clamped to its line); returns the
    // place just after the text, or the place given on failure.
    TextPlace InsertTextAt(std::string_view text, TextPlace place, LineBreakRule rule = LineBreakRule::kAnyForm);

    // Memory the document holds beyond the lines' text: for benchmarks.
    std::size_t TableBytes() const { return lines_.Capacity() * sizeof(TextLine); }
    std::size_t ChunkBytes() const { return chunks_.BytesHeld(); }

protected:
    // The loaders build the table through these.
    LineTable& Lines()
    {
        marks_.Clear();
        return lines_;
    }
    TextChunks& Chunks()
    {
        marks_.Clear();
        return chunks_;
    }
    // The widths of the lines in Lines(), which a loader counts in.
    WidthTally& Widths() { return widths_; }
    void SetMaxWidth(int width) { max_width_ = width; max_width_exact_ = true; }
    void SetLoading(bool loading) { loading_ = loading; }
    void SetDiskIdentity(const FileIdentity& identity) { disk_identity_ = identity; }
    void SetUnread(bool unread) { unread_ = unread; }
    // Takes the lines (with their widths, line end, recorded identity and
    // unread state) of another document of the same tab size; that one gets
    // these. Not modified afterwards.
    void TakeTextOf(LinesDoc& other) noexcept;
    // The display width of raw bytes, as LineWidth counts it.
    int WidthOf(std::string_view text) const;
    // A line over bytes the caller keeps alive (NUL-terminated after size).
    static TextLine BorrowedLine(const char* text, std::uint32_t size) noexcept
    {
        return TextLine::Borrowed(text, size);
    }

private:
    TextLine* MutableLine(int index);
    // A line known to be plain ASCII without tabs: its columns are its bytes.
    bool KnownPlain(const TextLine& line) const
    {
        if (line.Owned()) return line.Measure().plain;
        const TextChunks::LineNote* note = chunks_.NoteOf(line);
        return note && note->plain;
    }
    // The width of a line, from its block or its chunk's note when it was
    // measured there.
    int StoredWidth(const TextLine& line) const;
    // Gives an empty line the text head + tail in a block of its own and
    // returns its width; error 5 and false (line unchanged) when it cannot
    // be allocated. The block gets `room` bytes more than it needs; a
    // knownWidth >= 0 is taken as the width instead of measuring the text,
    // and plain says the text is known to be plain ASCII without tabs.
    bool MakeOwnedLine(TextLine& line, std::string_view head, std::string_view tail, int& width,
                       std::size_t room = 0, int knownWidth = -1, bool plain = false);
    // The line lets go of its old bytes and takes `bytes` (size bytes, from
    // TextLine::AllocateBlock) as a block of its own.
    void AdoptBlock(TextLine& line, char* bytes, std::size_t size);
    // A long line alone in its chunk takes the chunk over as its own block,
    // so that an edit works in place instead of copying the line; false
    // when it does not qualify (nothing changed).
    bool OwnChunk(TextLine& line);

    // --- the byte edit of one line (lines_doc_bytes.cpp) ---
    // How an edit's new width follows from the old one.
    struct EditWidths;
    EditWidths PlanWidths(const TextLine& line, std::size_t at, std::size_t erase, std::string_view text) const;
    // Puts the edited bytes into the line: in its block when they fit,
    // else into a new one. Error 5 and false (line unchanged) on failure.
    bool StoreEdit(TextLine& line, std::size_t at, std::size_t erase, std::string_view text);
    // Replaces `erase` bytes at `at` with `text` (which may lie inside the
    // line), and gives the line's width before and after. Error 5 and false
    // (line unchanged) when it cannot be allocated.
    bool ReplaceBytes(TextLine& line, std::size_t at, std::size_t erase, std::string_view text,
                      int& oldWidth, int& newWidth);
    // A line's width went from oldWidth to newWidth by a character edit.
    void NoteEdit(int oldWidth, int newWidth);
    // The character edits in one: at most `erase` bytes from byte `index`
    // of `line` (no more than the line holds) become `text`.
    bool EditChars(int line, int index, std::size_t erase, std::string_view text);

    // --- splitting and joining (lines_doc_split_join.cpp) ---
    // The widths of a line, of its bytes before `at` and of those after.
    struct CutWidths {
        int whole;
        int head;
        int tail;
    };
    CutWidths MeasureCut(const TextLine& line, std::size_t at) const;
    int ColumnsAdded(int leftWidth, std::string_view right, bool rightHasTabs) const
    {
        return line_measure::ColumnsAdded(leftWidth, right, rightHasTabs, tab_size_);
    }
    // A line alone in its chunk splits inside it; false when it does not
    // qualify or the table cannot grow (nothing changed).
    bool SplitInChunk(std::size_t line, std::size_t at, const CutWidths& cut, bool plain);
    // The other splits: the moving part is copied into a block of its own.
    bool SplitByCopy(std::size_t line, std::size_t at, std::string_view indent, const CutWidths& cut);
    // The first line, which keeps its bytes from `at` on, gets `indent` in
    // front of them; returns its new width.
    int ShedHead(TextLine& line, std::size_t at, std::string_view indent, const CutWidths& cut, bool plain);
    // Two lines' widths after a split or join, counted in.
    void NoteSplit(int whole, int first, int second);
    void NoteJoin(int first, int second, int joined);
    // Makes `first` hold both lines' bytes (second is left to be removed);
    // returns the line whose block took them in and keeps its measure to be
    // set, or null. Error 5 and false on failure.
    bool JoinBytes(TextLine& first, TextLine& second, int& width, bool plain, TextLine*& keeper);
    // The widest line went from oldWidest to newWidest by a split or join.
    void NoteWidest(int oldWidest, int newWidest);

    // --- the line table ---
    // Removes `erase` lines at index and leaves `count` empty lines there.
    // On failure (error 5) nothing has changed.
    bool MakeGap(std::size_t index, std::size_t erase, std::size_t count);
    // The same, filled with `count` lines moved from `insert`.
    bool SpliceLines(std::size_t index, std::size_t erase, TextLine* insert, std::size_t count);
    // InsertTextAt for a text with line breaks, at byte `cut` of `line`
    // (lines_doc_text.cpp); `given` is returned on failure.
    TextPlace InsertLinesAt(std::string_view text, int line, std::size_t cut, LineBreaks& breaks,
                            LineBreaks::Break firstBreak, TextPlace given);
    // Makes `count` lines of the chunk bytes [bytes, bytes + size), which
    // end in a break each, into the empty lines from table index `at` on;
    // returns the widest.
    int PlaceChunkLines(std::size_t at, char* bytes, std::size_t size, std::uint32_t chunk, std::size_t count,
                        LineBreakRule rule);

    std::string file_name_;
    LineTable lines_;
    TextChunks chunks_;
    WidthTally widths_;
    bool modified_ = false;
    LineEnd line_end_ = LineEnd::kCrLf;
    int tab_size_ = 4;
    int max_width_ = 0;
    bool max_width_exact_ = true;
    SearchOptions options_;
    bool loading_ = false;
    bool unread_ = false;
    FileIdentity disk_identity_;
    mutable int error_ = 0;  // const reads (CopyText) report failures too
    mutable ColumnMarks marks_;  // of long lines, made as they are read
};

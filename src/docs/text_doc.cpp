#include "docs/text_doc.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/display_columns.h"
#include "base/text_rules.h"
#include "docs/alloc_gate.h"
#include "docs/byte_count.h"
#include "docs/line_scan.h"
#include "docs/doc_errors.h"

using docs::AllocationAllowed;
using docs::AllocSite;

namespace {

// The file is read in chunks of this size; a smaller file gets one chunk of
// its own size. Lines never straddle two chunks.
constexpr std::size_t kChunkSize = std::size_t{8} << 20;
constexpr std::size_t kReadStep = std::size_t{256} << 10;

// A stretch of a chunk that holds whole lines.
struct Piece {
    std::uint32_t chunk;
    char* bytes;
    std::size_t size;
};

class FileHandle {
public:
    explicit FileHandle(const std::string& path)
        // Non-blocking, so that opening a FIFO cannot hang the window.
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))
    {
        // Only files and pipes hold text: a directory or a device (whose
        // reading might never end) counts as a file that cannot be opened.
        struct stat st {};
        if (fd_ >= 0 && (::fstat(fd_, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISFIFO(st.st_mode)))) Close();
        if (fd_ >= 0 && S_ISREG(st.st_mode)) size_ = static_cast<std::size_t>(st.st_size);
    }
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    std::size_t SizeHint() const { return size_; }

    // Fills buf as far as the file goes; -1 on a read error.
    long Read(char* buf, std::size_t size)
    {
        std::size_t got = 0;
        while (got < size) {
            const ssize_t n = ::read(fd_, buf + got, size - got);
            if (n == 0) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                if (errno == EAGAIN) break;  // an idle FIFO: what is there is all
                return -1;
            }
            got += static_cast<std::size_t>(n);
        }
        return static_cast<long>(got);
    }

    void Close()
    {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
    std::size_t size_ = 0;
};

// The line end a save writes back: the file's first one. A CR before an LF
// always sits in the same piece as the LF (pieces end after an LF).
LinesDoc::LineEnd FirstLineEnd(const std::vector<Piece>& pieces)
{
    for (const Piece& piece : pieces) {
        const void* lf = piece.size ? std::memchr(piece.bytes, '\n', piece.size) : nullptr;
        if (!lf) continue;
        const char* at = static_cast<const char*>(lf);
        return at > piece.bytes && at[-1] == '\r' ? LinesDoc::LineEnd::kCrLf : LinesDoc::LineEnd::kLf;
    }
    return LinesDoc::LineEnd::kCrLf;
}

} // namespace

TextDoc::TextDoc(std::string fileName) : LinesDoc(std::move(fileName)) {}

bool TextDoc::Load(const RepaintHook& repaint, int repaintLine)
{
    Clear();
    FileHandle file(FileName());
    if (!file.IsOpen()) {
        // Error 1 stays set for the view to report; the window keeps one
        // empty line and the file's name.
        SetError(doc_error::kOpen);
        SetLineEnd(LineEnd::kCrLf);
        InsertLine(0, {});
        SetModified(false);
        return true;
    }
    SetError(doc_error::kNone);

    const auto fail = [&](int code) {
        Clear();
        SetError(code);
        return false;
    };

    // Counting pass: read the file into chunks, cutting each chunk after its
    // last LF (the partial line moves on to the next chunk), and count LFs.
    std::vector<Piece> pieces;
    std::size_t breaks = 0;
    std::size_t trailing = 0;  // bytes after the last LF
    std::size_t carry = 0;
    for (bool atEnd = false; !atEnd;) {
        std::size_t capacity = std::max(kChunkSize, carry * 2);
        if (pieces.empty() && file.SizeHint() < kChunkSize) capacity = file.SizeHint() + 2;
        std::uint32_t id = 0;
        char* bytes = AllocationAllowed(AllocSite::kLineText) ? Chunks().Allocate(capacity, id) : nullptr;
        if (!bytes) return fail(doc_error::kLineBuffer);
        try {
            pieces.push_back({id, bytes, 0});
        } catch (const std::exception&) {
            Chunks().DropIfUnused(id);
            return fail(doc_error::kLineBuffer);
        }
        if (carry > 0) {
            Piece& previous = pieces[pieces.size() - 2];
            std::memcpy(bytes, previous.bytes + previous.size - carry, carry);
            previous.size -= carry;
            if (previous.size == 0) {
                // The chunk held part of one long line only: let it go now.
                Chunks().DropIfUnused(previous.chunk);
                pieces.erase(pieces.end() - 2);
            }
        }
        Piece& piece = pieces.back();
        // One byte stays free for the NUL after a last line without LF.
        // Reads go in steps that stay in the cache while they are counted.
        const std::size_t limit = capacity - 1;
        piece.size = carry;
        while (piece.size < limit && !atEnd) {
            const std::size_t step = std::min(kReadStep, limit - piece.size);
            const long got = file.Read(bytes + piece.size, step);
            if (got < 0) return fail(doc_error::kOpen);
            breaks += CountByte(bytes + piece.size, static_cast<std::size_t>(got), '\n');
            piece.size += static_cast<std::size_t>(got);
            atEnd = static_cast<std::size_t>(got) < step;
        }
        atEnd = atEnd || piece.size < limit;
        const void* lastBreak = piece.size ? ::memrchr(bytes, '\n', piece.size) : nullptr;
        const std::size_t whole = lastBreak ? static_cast<std::size_t>(static_cast<const char*>(lastBreak) - bytes) + 1 : 0;
        carry = atEnd ? 0 : piece.size - whole;
        trailing = atEnd ? piece.size - whole : 0;
    }
    file.Close();
    for (const Piece& piece : pieces)
        if (piece.size == 0) Chunks().DropIfUnused(piece.chunk);
    SetLineEnd(FirstLineEnd(pieces));

    const std::size_t count = breaks + (trailing > 0 ? 1 : 0);
    if (count == 0) {
        Clear();
        InsertLine(0, {});
        SetModified(false);
        return true;
    }
    if (count > static_cast<std::size_t>(INT32_MAX)) return fail(doc_error::kLineTable);
    try {
        if (!AllocationAllowed(AllocSite::kLineTable)) throw std::bad_alloc();
        Lines().reserve(count);
        TextChunks::AdviseHugePages(Lines().data(), count * sizeof(TextLine));
    } catch (const std::exception&) {
        return fail(doc_error::kLineTable);
    }

    // Filling pass: one line per LF, pointing into its chunk; the LF (or the
    // CR before it) becomes the line's terminating NUL.
    int widest = 0;
    const std::size_t repaintAfter = repaint && repaintLine > 0 ? static_cast<std::size_t>(repaintLine) + 1 : 0;
    for (const Piece& piece : pieces) {
        // A failure is acted on once the scan of the piece is over: the
        // scan still reads the chunk that clearing would free.
        int failure = doc_error::kNone;
        ScanLines(piece.bytes, piece.size, TabSize(), [&](std::size_t start, std::size_t end, std::uint64_t width) {
            if (failure != doc_error::kNone) return;
            if (end - start > static_cast<std::size_t>(INT32_MAX)) {
                failure = doc_error::kLineBuffer;
                return;
            }
            if (!AllocationAllowed(AllocSite::kLineObject)) {
                failure = doc_error::kLineObject;
                return;
            }
            piece.bytes[end] = '\0';
            Lines().push_back(Chunks().MakeLine(piece.chunk, piece.bytes + start, static_cast<std::uint32_t>(end - start)));
            widest = std::max(widest, static_cast<int>(std::min<std::uint64_t>(width, INT32_MAX)));
            if (Lines().size() == repaintAfter) repaint();
        });
        if (failure != doc_error::kNone) return fail(failure);
    }
    SetMaxWidth(widest);
    SetModified(false);
    return true;
}

// --- finding text ---

namespace {

bool IsWholeWord(std::string_view text, std::size_t at, std::size_t length)
{
    return text::WordEndsBefore(text, at) && text::WordEndsAt(text, at + length);
}

} // namespace

std::optional<TextPosition> TextDoc::Find(std::string_view pattern, TextPosition from,
                                          const FindRules& rules) const
{
    if (pattern.empty() || from.line < 0) return std::nullopt;
    const std::string wanted = rules.case_sensitive ? std::string(pattern) : text::UpperAscii(pattern);
    const std::size_t m = wanted.size();
    const int count = LineCount();
    // A tab in the pattern can only match a tab: such a search runs on the
    // bytes, and its positions are turned into display columns.
    const bool onBytes = wanted.find('\t') != std::string::npos;
    std::string expanded;
    bool first = true;
    for (int line = from.line; line >= 0 && line < count; line += rules.down ? 1 : -1, first = false) {
        const TextLine* row = GetLine(line);
        std::string_view text = row->View();
        // Otherwise the search runs on the display text: tabs expanded.
        if (!onBytes && std::memchr(text.data(), '\t', text.size())) {
            expanded = ExpandLine(row);
            text = expanded;
        } else if (!rules.case_sensitive) {
            expanded = std::string(text);
        }
        if (!rules.case_sensitive) {
            for (char& c : expanded) c = text::ToUpperAscii(c);
            text = expanded;
        }
        // Positions in the searched text are bytes; a line without tabs (or
        // with its tabs expanded) has its columns in the same order.
        const auto column = [&](std::size_t p) {
            return onBytes ? PrefixWidth(row, static_cast<int>(p)) : text::DisplayWidth(text.substr(0, p), TabSize());
        };
        const int start = first ? std::max(from.column, 0) : 0;
        const std::size_t at = onBytes ? static_cast<std::size_t>(ColumnToIndex(row, start))
                                       : text::ColumnToIndex(text, TabSize(), start);
        if (rules.down) {
            for (std::size_t p = text.find(wanted, at); p != std::string_view::npos; p = text.find(wanted, p + 1))
                if (!rules.whole_words || IsWholeWord(text, p, m)) return TextPosition{line, column(p)};
        } else {
            // Up: the last occurrence that ends at or before the column.
            std::size_t last = std::string_view::npos;
            if (first) {
                if (at < m) continue;
                last = at - m;
            }
            for (std::size_t p = text.rfind(wanted, last); p != std::string_view::npos;
                 p = p == 0 ? std::string_view::npos : text.rfind(wanted, p - 1))
                if (!rules.whole_words || IsWholeWord(text, p, m)) return TextPosition{line, column(p)};
        }
    }
    return std::nullopt;
}

int TextDoc::MatchEnd(std::string_view pattern, TextPosition match) const
{
    const int length = static_cast<int>(pattern.size());
    if (pattern.find('\t') == std::string_view::npos) return match.column + text::DisplayWidth(pattern, TabSize());
    const TextLine* row = GetLine(match.line);
    return row ? PrefixWidth(row, ColumnToIndex(row, match.column) + length) : match.column + length;
}

std::optional<TextPosition> TextDoc::FindFrom(std::string_view pattern, TextPosition from, bool down) const
{
    const SearchOptions& options = Options();
    return Find(pattern, from, FindRules{down, options.case_sensitive != 0, options.whole_words != 0});
}

bool TextDoc::FindText(std::string_view pattern, int& line, int& column) const
{
    const bool down = Options().down != 0;
    const auto found = FindFrom(pattern, {line, column + (down ? 1 : -1)}, down);
    if (!found) return false;
    line = found->line;
    column = found->column;
    return true;
}

std::string TextDoc::LeadingWhiteSpace(int line) const
{
    const TextLine* row = GetLine(line);
    if (!row) return {};
    const std::string_view text = row->View();
    return std::string(text.substr(0, std::min(text.find_first_not_of(" \t"), text.size())));
}

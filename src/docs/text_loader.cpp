#include "docs/text_loader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <utility>
#include <sys/stat.h>
#include <unistd.h>

#include "docs/alloc_gate.h"
#include "docs/doc_errors.h"
#include "docs/line_scan.h"

using docs::AllocationAllowed;
using docs::AllocSite;

namespace {

// The file goes into chunks of this size; a smaller file gets one chunk of
// its own size. Reads go in steps that stay in the cache while they are
// split into lines.
constexpr std::size_t kChunkSize = std::size_t{8} << 20;
constexpr std::size_t kReadStep = std::size_t{256} << 10;
// The table's room is warmed in pieces of at least this many lines.
constexpr std::size_t kWarmLines = std::size_t{1} << 16;
// A chunk is filled from this many bytes in: a long line left alone in
// its chunk can then take the chunk over as its own block, the block's
// header going in front of the line.
constexpr std::size_t kLead = 32;

} // namespace

TextLoader::TextLoader(const std::string& path)
    // Non-blocking, so that opening a FIFO cannot hang the window.
    : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))
{
    // Only files and pipes hold text: a directory or a device (whose
    // reading might never end) counts as a file that cannot be opened.
    if (fd_ < 0) open_error_ = errno;
    struct stat st {};
    if (fd_ >= 0 && (::fstat(fd_, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISFIFO(st.st_mode)))) {
        ::close(fd_);
        fd_ = -1;
        open_error_ = EISDIR;  // no text to read there
    }
    if (fd_ >= 0) identity_ = IdentityOfStat(st);
    if (fd_ >= 0 && S_ISREG(st.st_mode)) file_size_ = static_cast<std::size_t>(st.st_size);
    // Only a file of several chunks is worth a thread.
    if (file_size_ > 2 * kChunkSize) {
        try {
            warmer_ = std::make_unique<PageWarmer>();
        } catch (const std::exception&) {
            // The load goes on without warming.
        }
    }
}

TextLoader::~TextLoader()
{
    if (fd_ >= 0) ::close(fd_);
}

long TextLoader::Read(char* buf, std::size_t size)
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

int TextLoader::NextChunk(Target& target)
{
    const std::size_t carry = filled_ - split_;
    std::size_t capacity = std::max(kChunkSize, carry * 2);
    if (!bytes_ && file_size_ < kChunkSize) capacity = file_size_ + 2 + kLead;
    std::uint32_t id = 0;
    char* bytes = nullptr;
    if (!AllocationAllowed(AllocSite::kLineText)) return doc_error::kLineBuffer;
    if (spare_ && capacity <= spare_capacity_) {
        bytes = std::exchange(spare_, nullptr);
        id = spare_id_;
        capacity = spare_capacity_;
    } else {
        bytes = target.chunks.Allocate(capacity, id);
    }
    if (!bytes) return doc_error::kLineBuffer;
    if (bytes_) {
        if (carry > 0) std::memcpy(bytes + kLead, bytes_ + split_, carry);
        // A chunk that held part of one long line only goes at once.
        target.chunks.DropIfUnused(chunk_);
    }
    chunk_ = id;
    bytes_ = bytes + kLead;
    capacity_ = capacity - kLead;
    filled_ = carry;
    split_ = 0;
    return doc_error::kNone;
}

void TextLoader::WarmAhead(Target& target)
{
    if (!warmer_) return;
    LineTable& lines = target.lines;
    // The room for the lines of the next two chunks, as many as the file so
    // far has per byte.
    TextLine* const room = lines.RoomAfterLast();
    if (room && read_ > 0) {
        TextLine* const base = room - lines.Size();
        if (base != table_base_) {
            table_base_ = base;
            table_warm_ = lines.Size();
        }
        const double perByte = static_cast<double>(lines.Size()) / static_cast<double>(read_);
        const auto ahead = lines.Size() + static_cast<std::size_t>(perByte * static_cast<double>(2 * kChunkSize));
        const std::size_t wanted = std::min(ahead, lines.Capacity());
        if (wanted > table_warm_ + kWarmLines || (wanted == lines.Capacity() && wanted > table_warm_)) {
            const std::size_t from = std::max(table_warm_, lines.Size());
            warmer_->Warm(base + from, (wanted - from) * sizeof(TextLine));
            table_warm_ = wanted;
        }
    }
    // A chunk for the bytes after the ones the current chunk can hold.
    if (!spare_ && bytes_ && file_size_ > read_ + (capacity_ - 1 - filled_)) {
        spare_ = target.chunks.Allocate(kChunkSize, spare_id_);
        spare_capacity_ = kChunkSize;
        if (spare_) warmer_->Warm(spare_, spare_capacity_);
    }
}

void TextLoader::DropSpare(Target& target)
{
    warmer_.reset();
    if (spare_) target.chunks.DropIfUnused(spare_id_);
    spare_ = nullptr;
}

bool TextLoader::GrowTable(Target& target, std::size_t consumed)
{
    LineTable& lines = target.lines;
    const std::size_t size = lines.Size();
    // The lines so far per byte so far, over the whole file, and a little
    // more: most files need one allocation of the table.
    std::size_t wanted = size + size / 8 + 4096;
    if (size >= 4096 && file_size_ > consumed && consumed > 0) {
        const double estimate = static_cast<double>(size) * static_cast<double>(file_size_) / static_cast<double>(consumed);
        wanted = std::max(wanted, static_cast<std::size_t>(estimate * 1.03));
    }
    return AllocationAllowed(AllocSite::kLineTable) && lines.Reserve(wanted);
}

int TextLoader::Admit(Target& target, std::size_t lineBytes, std::size_t consumed, std::size_t& quota)
{
    if (lineBytes > static_cast<std::size_t>(INT32_MAX)) return doc_error::kLineBuffer;
    if (!AllocationAllowed(AllocSite::kLineObject)) return doc_error::kLineObject;
    LineTable& lines = target.lines;
    // Line numbers are ints: a file of more lines cannot be shown.
    if (lines.Size() >= static_cast<std::size_t>(INT32_MAX)) return doc_error::kLineTable;
    if (lines.Size() == lines.Capacity() && !GrowTable(target, consumed)) return doc_error::kLineTable;
    // Lines that may go in, this one first, before the next look here:
    // this one alone while a test may refuse them one by one, else up to
    // the table's room or the line a hook waits for.
    quota = 1;
    if (!docs::AnyAllocationGated()) {
        quota = std::min(lines.Capacity(), static_cast<std::size_t>(INT32_MAX)) - lines.Size();
        if (notify_ && notify_at_ > lines.Size()) quota = std::min(quota, notify_at_ - lines.Size());
    }
    return doc_error::kNone;
}

int TextLoader::AddLines(Target& target, std::size_t from, std::size_t to)
{
    if (!saw_line_end_) {
        const void* lf = std::memchr(bytes_ + from, '\n', to - from);
        if (lf) {
            // The CR of a CR LF lies in the same line, after `from`.
            const char* at = static_cast<const char*>(lf);
            saw_line_end_ = true;
            crlf_ = at > bytes_ + from && at[-1] == '\r';
        }
    }
    // The checks that a line may go in are made once for many lines: the
    // table's room, the line a hook waits for, a line too long to hold
    // (only possible in a stretch that long), a test refusing lines.
    std::size_t quota = 0;
    std::uint32_t made = 0;
    int widest = widest_;
    int failure = doc_error::kNone;
    char* const base = bytes_ + from;
    const std::uint32_t chunk = chunk_;
    LineTable& lines = target.lines;
    WidthTally& widths = target.widths;
    const std::size_t consumedBefore = read_ - filled_ + from;
    const bool mayBeLong = to - from > static_cast<std::size_t>(INT32_MAX);
    ScanLines(base, to - from, target.tab_size, [&](std::size_t start, std::size_t end, std::uint64_t width) {
        if (quota == 0 || mayBeLong) [[unlikely]] {
            failure = Admit(target, end - start, consumedBefore + start, quota);
            if (failure != doc_error::kNone) return false;
        }
        --quota;
        base[end] = '\0';  // the line end (or its CR) becomes the NUL
        lines.Append(TextChunks::UncountedLine(chunk, base + start, static_cast<std::uint32_t>(end - start)));
        ++made;
        const int lineWidth = width < INT32_MAX ? static_cast<int>(width) : INT32_MAX;
        if (end - start >= TextChunks::kLongLine) [[unlikely]]
            target.chunks.NoteLoaded(chunk, base + start, static_cast<std::uint32_t>(end - start), lineWidth,
                                     target.tab_size);
        widths.AddLoaded(lineWidth);
        widest = std::max(widest, lineWidth);
        if (quota == 0 && notify_ && lines.Size() == notify_at_) [[unlikely]] {
            target.chunks.CountLines(chunk, made);
            made = 0;
            widths.NoteWidest(widest);
            widest_ = widest;
            notify_();
        }
        return true;
    });
    // The lines made hold their chunk, and the widest of them is known; a
    // failure is acted on only now, since the scan still read the chunk
    // that the caller's clearing frees.
    target.chunks.CountLines(chunk, made);
    widths.NoteWidest(widest);
    widest_ = widest;
    return failure;
}

int TextLoader::Step(Target& target, std::size_t bytes)
{
    const std::size_t until = read_ + std::max<std::size_t>(bytes, 1);
    while (!done_ && read_ < until) {
        // One byte of a chunk stays free for the NUL after a last line
        // without a line end.
        if (!bytes_ || filled_ + 1 >= capacity_) {
            if (const int error = NextChunk(target)) return error;
        }
        const std::size_t step = std::min(kReadStep, capacity_ - 1 - filled_);
        const long got = Read(bytes_ + filled_, step);
        if (got < 0) return doc_error::kOpen;
        const auto fresh = static_cast<std::size_t>(got);
        filled_ += fresh;
        read_ += fresh;
        done_ = fresh < step;
        // The lines that the new bytes complete.
        const void* lastBreak = fresh ? ::memrchr(bytes_ + filled_ - fresh, '\n', fresh) : nullptr;
        if (lastBreak) {
            const auto end = static_cast<std::size_t>(static_cast<const char*>(lastBreak) - bytes_) + 1;
            if (const int error = AddLines(target, split_, end)) return error;
            split_ = end;
        }
        if (done_ && split_ < filled_) {
            if (const int error = AddLines(target, split_, filled_)) return error;
            split_ = filled_;
        }
        if (!done_) WarmAhead(target);
    }
    if (done_) {
        ::close(fd_);
        fd_ = -1;
        DropSpare(target);
        if (bytes_) target.chunks.DropIfUnused(chunk_);
    }
    return doc_error::kNone;
}

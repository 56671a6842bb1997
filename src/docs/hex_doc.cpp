#include "docs/hex_doc.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "base/text_rules.h"
#include "docs/alloc_gate.h"
#include "docs/doc_errors.h"

namespace {

constexpr char kHex[] = "0123456789ABCDEF";
// Offset (8 digits while it fits), tab, 49 hex cells, tab, 16 characters.
constexpr std::size_t kMaxRow = 16 + 1 + 49 + 1 + 16;

// Writes the row into out (at least kMaxRow + 1 bytes); returns its length.
std::size_t WriteRow(char* out, std::uint64_t offset, const unsigned char* bytes, int count)
{
    char* p = out;
    int digits = 8;
    while (digits < 16 && (offset >> (4 * digits)) != 0) ++digits;
    for (int d = digits - 1; d >= 0; --d) *p++ = kHex[(offset >> (4 * d)) & 0xF];
    *p++ = '\t';
    for (int j = 0; j < 16; ++j) {
        if (j < count) {
            *p++ = kHex[bytes[j] >> 4];
            *p++ = kHex[bytes[j] & 0xF];
        } else {
            *p++ = ' ';
            *p++ = ' ';
        }
        *p++ = ' ';
        if (j == 7) *p++ = ' ';
    }
    *p++ = '\t';
    for (int j = 0; j < 16; ++j)
        *p++ = j < count ? (text::IsPrintable(static_cast<char>(bytes[j])) ? static_cast<char>(bytes[j]) : '.') : ' ';
    *p = '\0';
    return static_cast<std::size_t>(p - out);
}

} // namespace

// Rows are made when asked for, into a direct-mapped cache: row i lives in
// slot i % kRowCache until another row needs that slot.
struct HexDoc::RowCache {
    struct Slot {
        int row = -1;
        std::array<char, kMaxRow + 1> text{};
        TextLine line;
    };
    std::array<Slot, kRowCache> slots;
};

HexDoc::HexDoc(std::string fileName) : LinesDoc(std::move(fileName)), cache_(std::make_unique<RowCache>()) {}

HexDoc::~HexDoc() = default;

std::string HexDoc::FormatRow(std::uint64_t offset, const unsigned char* bytes, int count)
{
    char row[kMaxRow + 1];
    const int n = count < 0 ? 0 : (count > kRowBytes ? kRowBytes : count);
    return std::string(row, WriteRow(row, offset, bytes, n));
}

const TextLine* HexDoc::GetLine(int index) const
{
    if (index < 0 || index >= rows_) return nullptr;
    auto& slot = cache_->slots[static_cast<std::size_t>(index) % kRowCache];
    if (slot.row != index) {
        const std::uint64_t offset = std::uint64_t{kRowBytes} * static_cast<std::uint64_t>(index);
        const std::uint64_t left = bytes_read_ > offset ? bytes_read_ - offset : 0;
        const int count = left >= kRowBytes ? kRowBytes : static_cast<int>(left);
        const std::size_t size = WriteRow(slot.text.data(), offset, bytes_.get() + (left ? offset : 0), count);
        slot.line = BorrowedLine(slot.text.data(), static_cast<std::uint32_t>(size));
        slot.row = index;
    }
    return &slot.line;
}

void HexDoc::Clear()
{
    LinesDoc::Clear();
    bytes_.reset();
    file_size_ = bytes_read_ = 0;
    rows_ = 0;
    for (auto& slot : cache_->slots) slot.row = -1;
}

bool HexDoc::Load(const RepaintHook& repaint, int repaintLine)
{
    const int fd = ::open(FileName().c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    // Only a regular file has bytes to show: a device may never end and a
    // directory or a pipe has no size.
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0) ::close(fd);
        SetError(doc_error::kOpen);
        return false;  // the rows shown so far stay
    }
    SetError(doc_error::kNone);
    Clear();
    const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
    const std::uint64_t rows = (size + kRowBytes - 1) / kRowBytes;
    if (size > 0) {
        if (rows > static_cast<std::uint64_t>(INT32_MAX) || !docs::AllocationAllowed(docs::AllocSite::kLineTable)) {
            ::close(fd);
            SetError(doc_error::kLineTable);
            return false;
        }
        bytes_.reset(new (std::nothrow) unsigned char[size]);
        if (!bytes_) {
            ::close(fd);
            SetError(doc_error::kLineTable);
            return false;
        }
        // The row count follows the size taken above; a file that shrank
        // meanwhile shows blank cells where its bytes are missing.
        std::uint64_t got = 0;
        while (got < size) {
            const ssize_t n = ::read(fd, bytes_.get() + got, size - got);
            if (n == 0 || (n < 0 && errno == EAGAIN)) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                ::close(fd);
                Clear();
                SetError(doc_error::kOpen);
                return false;
            }
            got += static_cast<std::uint64_t>(n);
        }
        bytes_read_ = got;
    }
    ::close(fd);
    shown_ = true;
    shown_device_ = static_cast<std::uint64_t>(st.st_dev);
    shown_inode_ = static_cast<std::uint64_t>(st.st_ino);
    file_size_ = size;
    rows_ = static_cast<int>(rows);
    // Every row has the same length, but for offsets past 8 hex digits.
    SetMaxWidth(rows_ > 0 ? LineWidth(GetLine(rows_ - 1)) : 0);
    if (repaint && repaintLine > 0 && repaintLine < rows_) repaint();
    SetModified(false);
    return true;
}

bool HexDoc::NamesShownFile(const std::string& path) const
{
    struct stat st {};
    return shown_ && ::stat(path.c_str(), &st) == 0 && static_cast<std::uint64_t>(st.st_dev) == shown_device_ &&
           static_cast<std::uint64_t>(st.st_ino) == shown_inode_;
}

bool HexDoc::Save(const std::string& newName)
{
    if (NamesShownFile(newName.empty() ? FileName() : newName)) return false;
    return LinesDoc::Save(newName);
}

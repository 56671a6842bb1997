#include "docs/hex_doc.h"

#include <algorithm>
#include <array>
#include <fcntl.h>
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

// How often a long run of rows (a save, a printout) looks whether the file
// changed; a jump to another row always looks.
constexpr int kRecheckRows = 4096;

} // namespace

// Rows are made when asked for, into a direct-mapped cache: row i lives in
// slot i % kRowCache until another row needs that slot.
struct HexDoc::RowCache {
    struct Slot {
        int row = -1;
        bool failed = false;  // a read error left some of its cells blank
        std::array<char, kMaxRow + 1> text{};
        TextLine line;
    };
    std::array<Slot, kRowCache> slots;
};

HexDoc::HexDoc(std::string fileName, FileBlocks::Reader reader)
    : LinesDoc(std::move(fileName)), cache_(std::make_unique<RowCache>()), blocks_(std::move(reader))
{
}

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
    // Each repaint starts over at its top row, so a file changed meanwhile
    // shows as it is now at the next repaint.
    if ((index != next_row_ || index % kRecheckRows == 0) && blocks_.Revalidate()) ForgetRows();
    next_row_ = index + 1;
    auto& slot = cache_->slots[static_cast<std::size_t>(index) % kRowCache];
    if (slot.row != index) {
        const std::uint64_t offset = std::uint64_t{kRowBytes} * static_cast<std::uint64_t>(index);
        const std::uint64_t left = file_size_ - offset;
        unsigned char bytes[kRowBytes];
        const FileBlocks::Result got = blocks_.Read(offset, bytes, left >= kRowBytes ? kRowBytes : static_cast<int>(left));
        const std::size_t size = WriteRow(slot.text.data(), offset, bytes, got.count);
        slot.line = BorrowedLine(slot.text.data(), static_cast<std::uint32_t>(size));
        slot.row = index;
        slot.failed = got.failed;
    }
    if (slot.failed && saving_) return nullptr;
    return &slot.line;
}

void HexDoc::ForgetRows() const
{
    for (auto& slot : cache_->slots) slot.row = -1;
}

void HexDoc::Clear()
{
    LinesDoc::Clear();
    blocks_.Close();
    file_size_ = 0;
    rows_ = 0;
    ForgetRows();
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
    const std::uint64_t size = std::min(static_cast<std::uint64_t>(st.st_size),
                                        std::uint64_t{kRowBytes} * static_cast<std::uint64_t>(kMaxRows));
    if ((size > 0 && !docs::AllocationAllowed(docs::AllocSite::kLineTable)) || !blocks_.Attach(fd, size)) {
        ::close(fd);
        SetError(doc_error::kLineTable);
        return false;
    }
    shown_ = true;
    SetDiskIdentity(IdentityOfStat(st));
    shown_device_ = static_cast<std::uint64_t>(st.st_dev);
    shown_inode_ = static_cast<std::uint64_t>(st.st_ino);
    file_size_ = size;
    rows_ = static_cast<int>((size + kRowBytes - 1) / kRowBytes);
    // Every row has the width of the last one: only offsets past 8 hex
    // digits make a row wider, and the last offset is the largest.
    const unsigned char none[kRowBytes] = {};
    const std::uint64_t last = rows_ > 0 ? std::uint64_t{kRowBytes} * static_cast<std::uint64_t>(rows_ - 1) : 0;
    SetMaxWidth(rows_ > 0 ? WidthOf(FormatRow(last, none, kRowBytes)) : 0);
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
    saving_ = true;
    const bool saved = LinesDoc::Save(newName);
    saving_ = false;
    return saved;
}

#pragma once
// The document behind a hex-dump window: the file's bytes, shown as one row
// per 16 bytes. A row reads
//   "%08X\t" offset, 16 x ("%02X " or 3 spaces) with one more space after
//   the eighth, "\t", 16 characters (printable bytes, '.' for others,
//   spaces past the end of the file).
// Every row has the same length. Loading only opens the file and takes its
// size; a row is read from the file (a few blocks kept, docs/file_blocks.h)
// and formatted when it is asked for, so a window on a 10 GB file costs what
// one on 10 kB does. The document is read-only: editing operations fail.
//
// The rows follow the size at load time. A file that shrinks while shown
// keeps its rows, the cells of the bytes it lost blank; one that is removed
// still shows its bytes, as the document holds it open. A file larger than
// kMaxRows rows shows its first kMaxRows rows only (32 GiB less 16 MiB):
// row indexes are ints, and the views must be able to add a screenful to
// any of them.

#include <cstdint>
#include <memory>
#include <string>

#include "docs/file_blocks.h"
#include "docs/lines_doc.h"

class HexDoc : public LinesDoc {
public:
    static constexpr int kRowBytes = 16;
    static constexpr int kMaxRows = INT32_MAX - (1 << 20);

    // `reader` reads the file's blocks; tests give one that fails.
    explicit HexDoc(std::string fileName = {}, FileBlocks::Reader reader = {});
    ~HexDoc() override;

    // Error 1 when the file cannot be opened or is not a regular file (a
    // device, a directory, a pipe; the old rows stay); error 2 when there
    // is no room to read it (the document is empty afterwards).
    bool Load(const RepaintHook& repaint = {}, int repaintLine = 0) override;

    // Whether a path leads to the file the rows show (the same device and
    // inode: other names and links of it count too).
    bool NamesShownFile(const std::string& path) const;
    // Writes the rows as text under a name that does not lead to the file
    // shown; over that file it writes nothing and fails without an error
    // code, as the dump would destroy what it shows. A row whose bytes
    // cannot be read fails the save with error 1: a dump with holes where
    // the disk failed must not pass for the file's.
    bool Save(const std::string& newName = {}) override;

    // Row pointers stay valid while fewer than kRowCache other rows are
    // asked for (views use a screenful at a time) and until the next load.
    // Cells of bytes that are gone or cannot be read are blank.
    const TextLine* GetLine(int index) const override;
    int LineCount() const override { return rows_; }
    void Clear() override;

    // The bytes the rows show: the file's size at load time (at most
    // kMaxRows rows' worth).
    std::uint64_t FileSize() const { return file_size_; }

    // The row for `count` (0..16) bytes at file offset `offset`.
    static std::string FormatRow(std::uint64_t offset, const unsigned char* bytes, int count);

    static constexpr int kRowCache = 1024;

private:
    struct RowCache;
    void ForgetRows() const;

    std::uint64_t file_size_ = 0;
    bool shown_ = false;  // a file was loaded; its identity follows
    std::uint64_t shown_device_ = 0;
    std::uint64_t shown_inode_ = 0;
    int rows_ = 0;
    bool saving_ = false;  // a row that cannot be read is no row then
    std::unique_ptr<RowCache> cache_;
    mutable FileBlocks blocks_;
    mutable int next_row_ = 0;  // the row after the one asked for last
};

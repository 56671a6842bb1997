#pragma once
// The document behind a hex-dump window: the file's bytes, shown as one row
// per 16 bytes. A row reads
//   "%08X\t" offset, 16 x ("%02X " or 3 spaces) with one more space after
//   the eighth, "\t", 16 characters (printable bytes, '.' for others,
//   spaces past the end of the file).
// Every row has the same length. The bytes are read once at load time and
// kept; rows are formatted when asked for, so the document costs about the
// file's size. The document is read-only: editing operations fail.

#include <cstdint>
#include <memory>
#include <string>

#include "docs/lines_doc.h"

class HexDoc : public LinesDoc {
public:
    static constexpr int kRowBytes = 16;

    explicit HexDoc(std::string fileName = {});
    ~HexDoc() override;

    // Error 1 when the file cannot be opened or is not a regular file (a
    // device, a directory, a pipe; the old rows stay); error 2 when its
    // bytes cannot be held (the document is empty afterwards).
    bool Load(const RepaintHook& repaint = {}, int repaintLine = 0) override;

    // Whether a path leads to the file the rows show (the same device and
    // inode: other names and links of it count too).
    bool NamesShownFile(const std::string& path) const;
    // Writes the rows as text under a name that does not lead to the file
    // shown; over that file it writes nothing and fails without an error
    // code, as the dump would destroy what it shows.
    bool Save(const std::string& newName = {}) override;

    // Row pointers stay valid while fewer than kRowCache other rows are
    // asked for (views use a screenful at a time) and until the next load.
    const TextLine* GetLine(int index) const override;
    int LineCount() const override { return rows_; }
    void Clear() override;

    std::uint64_t FileSize() const { return file_size_; }

    // The row for `count` (0..16) bytes at file offset `offset`.
    static std::string FormatRow(std::uint64_t offset, const unsigned char* bytes, int count);

    static constexpr int kRowCache = 1024;

private:
    struct RowCache;

    std::uint64_t file_size_ = 0;
    bool shown_ = false;  // a file was loaded; its identity follows
    std::uint64_t shown_device_ = 0;
    std::uint64_t shown_inode_ = 0;
    std::uint64_t bytes_read_ = 0;
    std::unique_ptr<unsigned char[]> bytes_;
    int rows_ = 0;
    std::unique_ptr<RowCache> cache_;
};

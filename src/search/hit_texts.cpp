#include "search/hit_texts.h"

#include "search/file_lines.h"

HitTexts::HitTexts() = default;
HitTexts::~HitTexts() = default;

void HitTexts::SetMatcher(std::unique_ptr<TextMatcher> matcher)
{
    matcher_ = std::move(matcher);
    rows_.clear();
}

void HitTexts::Clear()
{
    files_.clear();
    rows_.clear();
}

void HitTexts::SetTabWidth(int tab_width)
{
    if (tab_width == tab_width_ || tab_width < 1) return;
    tab_width_ = tab_width;
    rows_.clear();
}

void HitTexts::NoteFile(std::size_t first_row, const std::string& path)
{
    files_[first_row] = IdentityOfPath(path);
}

bool HitTexts::FileChanged(std::size_t first_row, const std::string& path) const
{
    const auto recorded = files_.find(first_row);
    return recorded == files_.end() || !recorded->second.Present() ||
           CompareWithDisk(recorded->second, IdentityOfPath(path)) != DiskChange::kNone;
}

const HitTexts::Text& HitTexts::Row(std::size_t row, std::size_t first_row, const std::string& path,
                                    std::uint64_t line_offset)
{
    // A look at the file each time: the row must not show old text of a
    // file changed since it was read.
    const bool changed = FileChanged(first_row, path);
    auto kept = rows_.find(row);
    if (kept != rows_.end() && kept->second.changed == changed) return kept->second;
    if (rows_.size() >= kRowsKept) rows_.clear();
    Text& text = rows_[row];
    text = Text{};
    text.changed = changed;
    if (changed) return text;
    FileLines lines(path);
    const std::optional<FileLines::Line> line = lines.LineAt(line_offset, kMostBytes);
    if (!line) {
        text.changed = true;  // the line is no longer where it was
        return text;
    }
    text.cut = line->cut;
    text.bytes.assign(line->cut ? line->bytes : WithoutLineEnd(line->bytes));
    const std::vector<ByteSpan> matches = matcher_ ? AllMatches(*matcher_, text.bytes) : std::vector<ByteSpan>{};
    text.matches = matches.size();
    text.shown = ShowLine(text.bytes, tab_width_, matches);
    return text;
}

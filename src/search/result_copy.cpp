#include "search/result_copy.h"

#include "search/file_lines.h"

#include <charconv>
#include <memory>

void AppendCopyLines(const ResultStore& store, const HitTexts& texts, const std::vector<std::size_t>& rows,
                     std::string& out)
{
    std::size_t file_first = SIZE_MAX;  // the first row of the file open
    std::unique_ptr<FileLines> lines;
    for (const std::size_t row : rows) {
        const ResultLine record = store.Record(row);
        if (!record.valid) {
            out += store.Line(row);
            out += '\n';
            continue;
        }
        out += record.path;
        out += ':';
        char digits[24];
        const auto written = std::to_chars(digits, digits + sizeof digits, record.number);
        out.append(digits, written.ptr);
        if (store.HasLineOffsets()) {
            out += ':';
            const std::size_t first = store.FirstRowOfPath(row);
            if (first != file_first) {
                file_first = first;
                lines.reset();
                if (!texts.FileChanged(first, record.path)) lines = std::make_unique<FileLines>(record.path);
            }
            if (lines)
                if (const auto line = lines->LineAt(store.LineOffset(row))) out.append(WithoutLineEnd(line->bytes));
        }
        out += '\n';
    }
}

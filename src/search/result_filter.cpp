#include "search/result_filter.h"

#include "search/file_lines.h"
#include "search/hit_texts.h"
#include "search/literal_finder.h"

#include <algorithm>
#include <memory>

void ResultFilter::Clear()
{
    std::string().swap(texts_);
    std::vector<std::size_t>().swap(starts_);
}

void ResultFilter::ReadTexts(const ResultStore& store)
{
    std::size_t row = starts_.size();
    starts_.reserve(store.size());
    while (row < store.size()) {
        const std::size_t end = store.PathRowsEnd(row);
        const std::string path(store.Path(row));
        std::unique_ptr<FileLines> lines;
        if (store.HasLineOffsets()) lines = std::make_unique<FileLines>(path);
        for (; row < end; ++row) {
            starts_.push_back(texts_.size());
            if (!lines) {
                texts_ += '\n';
                continue;
            }
            const auto line = lines->LineAt(store.LineOffset(row), HitTexts::kMostBytes);
            if (line) texts_.append(WithoutLineEnd(line->bytes));
            texts_ += '\n';
        }
    }
    texts_.shrink_to_fit();
}

std::vector<std::uint32_t> ResultFilter::Rows(const ResultStore& store, std::string_view text, std::size_t from)
{
    std::vector<std::uint32_t> rows;
    const LiteralFinder finder(text, false);
    // Rows whose path holds the text.
    std::vector<std::pair<std::size_t, std::size_t>> by_path;
    for (std::size_t row = from; row < store.size();) {
        const std::size_t end = store.PathRowsEnd(row);
        const std::string_view path = store.Path(row);
        if (text.empty() || finder.Find(path.data(), path.data() + path.size())) by_path.emplace_back(row, end);
        row = end;
    }
    // Rows whose text holds it, by one pass over the texts.
    std::vector<std::uint32_t> by_text;
    if (!text.empty() && text.find('\n') == std::string_view::npos && store.size() > from) {
        ReadTexts(store);
        const char* const base = texts_.data();
        const char* at = base + starts_[from];
        const char* const end = base + texts_.size();
        std::size_t row = from;
        while (const char* found = finder.Find(at, end)) {
            // Hits come in row order, mostly close together.
            const auto offset = static_cast<std::size_t>(found - base);
            while (row + 1 < starts_.size() && starts_[row + 1] <= offset) ++row;
            by_text.push_back(static_cast<std::uint32_t>(row));
            at = row + 1 < starts_.size() ? base + starts_[row + 1] : end;
        }
    }
    // The union, ascending.
    auto text_row = by_text.begin();
    for (const auto& [first, end] : by_path) {
        for (; text_row != by_text.end() && *text_row < first; ++text_row) rows.push_back(*text_row);
        for (std::size_t row = first; row < end; ++row) rows.push_back(static_cast<std::uint32_t>(row));
        while (text_row != by_text.end() && *text_row < end) ++text_row;
    }
    rows.insert(rows.end(), text_row, by_text.end());
    return rows;
}

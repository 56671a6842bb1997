#include "search/result_store.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>

namespace {

constexpr std::size_t kTextBlockSize = std::size_t{1} << 20;
constexpr std::size_t kNumberChunk = std::size_t{1} << 16;
// The slot value that sends a number to the table of large ones.
constexpr std::uint32_t kLargeNumber = UINT32_MAX;

// The value of a plain decimal number as to_chars writes it: digits only,
// no leading zero (but "0" itself), at most 18 digits.
std::optional<std::uint64_t> PlainNumber(std::string_view text)
{
    if (text.empty() || text.size() > 18 || (text[0] == '0' && text.size() > 1)) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

} // namespace

void ResultStore::Clear()
{
    std::vector<TextBlock>().swap(texts_);
    std::vector<Run>().swap(runs_);
    std::vector<std::unique_ptr<std::uint32_t[]>>().swap(numbers_);
    std::vector<std::unique_ptr<std::uint64_t[]>>().swap(offsets_);
    std::vector<std::pair<std::size_t, std::uint64_t>>().swap(large_);
    size_ = 0;
}

void ResultStore::Append(std::string_view line)
{
    const auto tab = line.rfind('\t');
    const std::optional<std::uint64_t> number =
        tab == std::string_view::npos ? std::nullopt : PlainNumber(line.substr(tab + 1));
    if (!number) {
        StartRun(line, true);
        PushNumber(0);
        return;
    }
    Append(line.substr(0, tab), *number);
}

void ResultStore::Append(std::string_view path, std::uint64_t number)
{
    if (!LastPathIs(path)) StartRun(path, false);
    PushNumber(number);
}

void ResultStore::Append(std::string_view path, std::uint64_t number, std::uint64_t line_offset)
{
    const std::size_t row = size_;
    Append(path, number);
    // The first offset brings chunks for every row before it (read as 0).
    while (offsets_.size() < numbers_.size()) {
        offsets_.push_back(std::make_unique<std::uint64_t[]>(kNumberChunk));
    }
    offsets_[row / kNumberChunk][row % kNumberChunk] = line_offset;
}

std::uint64_t ResultStore::LineOffset(std::size_t row) const
{
    const std::size_t chunk = row / kNumberChunk;
    return chunk < offsets_.size() ? offsets_[chunk][row % kNumberChunk] : 0;
}

void ResultStore::StartRun(std::string_view text, bool whole_line)
{
    if (texts_.empty() || texts_.back().size - texts_.back().used < text.size()) {
        TextBlock block;
        block.size = std::max(kTextBlockSize, text.size());
        block.bytes = std::make_unique_for_overwrite<char[]>(block.size);
        texts_.push_back(std::move(block));
    }
    TextBlock& block = texts_.back();
    if (!text.empty()) std::memcpy(block.bytes.get() + block.used, text.data(), text.size());
    runs_.push_back({size_, static_cast<std::uint32_t>(texts_.size() - 1), static_cast<std::uint32_t>(block.used),
                     static_cast<std::uint32_t>(text.size()), whole_line});
    block.used += text.size();
}

void ResultStore::PushNumber(std::uint64_t number)
{
    if (size_ % kNumberChunk == 0) {
        numbers_.push_back(std::make_unique_for_overwrite<std::uint32_t[]>(kNumberChunk));
        if (!offsets_.empty()) offsets_.push_back(std::make_unique<std::uint64_t[]>(kNumberChunk));
    }
    std::uint32_t slot = static_cast<std::uint32_t>(number);
    if (number >= kLargeNumber) {
        slot = kLargeNumber;
        large_.emplace_back(size_, number);
    }
    numbers_.back()[size_ % kNumberChunk] = slot;
    ++size_;
}

std::uint64_t ResultStore::NumberOf(std::size_t row) const
{
    const std::uint32_t slot = numbers_[row / kNumberChunk][row % kNumberChunk];
    if (slot != kLargeNumber) return slot;
    const auto it = std::lower_bound(large_.begin(), large_.end(), std::make_pair(row, std::uint64_t{0}));
    return it->second;
}

const ResultStore::Run& ResultStore::RunOf(std::size_t row) const
{
    const auto after =
        std::upper_bound(runs_.begin(), runs_.end(), row, [](std::size_t r, const Run& run) { return r < run.first_row; });
    return *(after - 1);
}

std::size_t ResultStore::PathRowsEnd(std::size_t row) const
{
    const auto after =
        std::upper_bound(runs_.begin(), runs_.end(), row, [](std::size_t r, const Run& run) { return r < run.first_row; });
    return after == runs_.end() ? size_ : after->first_row;
}

std::string_view ResultStore::TextOf(const Run& run) const
{
    return std::string_view(texts_[run.block].bytes.get() + run.offset, run.length);
}

std::string ResultStore::Line(std::size_t row) const
{
    const Run& run = RunOf(row);
    if (run.whole_line) return std::string(TextOf(run));
    return ResultLineText(TextOf(run), NumberOf(row));
}

ResultLine ResultStore::Record(std::size_t row) const
{
    const Run& run = RunOf(row);
    if (run.whole_line) return ParseResultLine(TextOf(run));
    return {true, std::string(TextOf(run)), static_cast<long>(NumberOf(row))};
}

std::string_view ResultStore::Path(std::size_t row) const
{
    const Run& run = RunOf(row);
    const std::string_view text = TextOf(run);
    return run.whole_line ? text.substr(0, text.rfind('\t')) : text;
}

std::string ResultStore::NumberText(std::size_t row) const
{
    const Run& run = RunOf(row);
    if (run.whole_line) {
        const std::string_view text = TextOf(run);
        const auto tab = text.rfind('\t');
        return tab == std::string_view::npos ? std::string() : std::string(text.substr(tab + 1));
    }
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, NumberOf(row));
    return std::string(digits, written.ptr);
}

std::size_t ResultStore::BytesHeld() const
{
    std::size_t bytes = runs_.capacity() * sizeof(Run) + large_.capacity() * sizeof(large_[0]) +
                        numbers_.size() * kNumberChunk * sizeof(std::uint32_t) +
                        offsets_.size() * kNumberChunk * sizeof(std::uint64_t);
    for (const TextBlock& block : texts_) bytes += block.size;
    return bytes;
}

#include "search/grep_engine.h"

#include "base/text_rules.h"
#include "resources/strings.h"
#include "search/file_reading.h"
#include "search/line_feeds.h"
#include "search/literal_finder.h"
#include "search/status_text.h"

#include <charconv>
#include <cstring>
#include <vector>

// The scan of one file. The file is read in large blocks and searched a
// block at a time; line feeds are counted only up to a hit and when a block
// is given up, so a file without hits costs little more than its reading.
// Between blocks the last bytes of a block are kept, enough to find an
// occurrence that straddles the border and to see the byte before it.
class GrepEngine::Scan {
public:
    Scan(GrepEngine& engine, const LiteralFinder& finder, std::vector<char>& buffer, const std::string& path)
        : engine_(engine), finder_(finder), buffer_(buffer), path_(path)
    {
    }

    // Returns true when the file had at least one hit.
    bool Run(file_reading::File& file);

private:
    // Looks at the candidates in [from, limit) of the block [0, len);
    // returns where the search goes on.
    std::size_t SearchBlock(std::size_t from, std::size_t limit, std::size_t len, bool at_end);
    bool Accepts(const char* block, std::size_t pos, std::size_t len, bool at_end) const;
    void Report(const char* block, std::size_t pos);

    GrepEngine& engine_;
    const LiteralFinder& finder_;
    std::vector<char>& buffer_;
    const std::string& path_;

    long line_ = 1;            // number of the line that holds offset `counted_`
    std::size_t counted_ = 0;  // offset in the block up to which line feeds are counted
    bool skip_line_ = false;   // the current line is listed; ignore the rest of it
    bool done_ = false;        // first hit listed and only the first is wanted
    bool hit_ = false;
};

bool GrepEngine::Scan::Run(file_reading::File& file)
{
    const std::size_t m = finder_.size();
    char* const block = buffer_.data();
    const std::size_t capacity = buffer_.size();
    std::size_t kept = 0;  // bytes carried over from the previous block
    std::size_t from = 0;  // where the search goes on in the block
    bool at_end = false;
    while (!at_end && !done_) {
        const std::size_t len = kept + file_reading::Fill(file, block + kept, capacity - kept, at_end);
        if (skip_line_) {
            const void* lf = std::memchr(block + from, '\n', len - from);
            if (lf) {
                from = static_cast<std::size_t>(static_cast<const char*>(lf) - block) + 1;
                skip_line_ = false;
            } else {
                from = len;
            }
        }
        // Before the end of the file an occurrence must leave one byte after
        // it in the block, for the whole-word and line-end tests.
        const std::size_t limit = at_end ? len : (len > 0 ? len - 1 : 0);
        from = SearchBlock(from, limit, len, at_end);
        if (at_end || done_) break;

        // Carry the positions not yet examined, and the byte before them,
        // into the next block; count the line feeds of what is given up.
        std::size_t next = std::max(from, len > m ? len - m : 0);
        if (skip_line_) next = len;
        const std::size_t keep_from = next > 0 ? next - 1 : 0;
        const std::size_t give_up = skip_line_ ? len : keep_from;
        line_ += static_cast<long>(CountLineFeeds(block + counted_, block + give_up));
        kept = len - give_up;
        std::memmove(block, block + give_up, kept);
        from = next - give_up;
        counted_ = 0;
    }
    return hit_;
}

std::size_t GrepEngine::Scan::SearchBlock(std::size_t from, std::size_t limit, std::size_t len, bool at_end)
{
    const std::size_t m = finder_.size();
    const char* const block = buffer_.data();
    while (from < limit && !done_) {
        const char* found = finder_.Find(block + from, block + limit);
        if (!found) return std::max(from, limit + 1 > m ? limit + 1 - m : 0);
        const auto pos = static_cast<std::size_t>(found - block);
        if (!Accepts(block, pos, len, at_end)) {
            // Occurrences are examined left to right without overlapping.
            from = pos + m;
            continue;
        }
        Report(block, pos);
        const void* lf = std::memchr(block + pos + m, '\n', len - (pos + m));
        if (!lf) {
            skip_line_ = true;
            return len;
        }
        from = static_cast<std::size_t>(static_cast<const char*>(lf) - block) + 1;
    }
    return from;
}

bool GrepEngine::Scan::Accepts(const char* block, std::size_t pos, std::size_t len, bool at_end) const
{
    const std::size_t m = finder_.size();
    const std::size_t end = pos + m;
    // A carriage return right before a line feed is not part of the line.
    if (block[end - 1] == '\r' && end < len && block[end] == '\n') return false;
    (void)at_end;
    // The occurrence with the bytes around it that belong to its line.
    const std::size_t begin = (pos > 0 && block[pos - 1] != '\n') ? pos - 1 : pos;
    const std::size_t stop = (end < len && block[end] != '\n') ? end + 1 : end;
    return engine_.IsWholeWord(std::string_view(block + begin, stop - begin), pos - begin, m);
}

void GrepEngine::Scan::Report(const char* block, std::size_t pos)
{
    line_ += static_cast<long>(CountLineFeeds(block + counted_, block + pos));
    counted_ = pos;
    hit_ = true;
    if (!engine_.options.show_lines) done_ = true;

    std::string& line = engine_.result_;
    line.assign(path_);
    line += '\t';
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, line_);
    line.append(digits, written.ptr);
    engine_.grep_host_.AppendResult(line);
    ++engine_.matches;
}

GrepEngine::GrepEngine(GrepHost& host) : DirectoryWalk(host), grep_host_(host) {}

GrepEngine::~GrepEngine() = default;

bool GrepEngine::RunSearch()
{
    const Start start = EnterTopDirectory(options.path);
    files = 0;
    matches = 0;
    replaced = 0;
    host_.ClearResults();
    SearchDirectory(start.dir, start.file_pattern);
    ReleaseScanState();
    return start.entered;
}

void GrepEngine::SearchFile(const std::string& path)
{
    SearchOpenFile(file_reading::OpenRegularFile(path), path);
}

void GrepEngine::VisitFile(const std::string& path, int dir_fd, const std::string& name)
{
    SearchOpenFile(file_reading::OpenRegularFileAt(dir_fd, name.c_str()), path);
}

void GrepEngine::SearchOpenFile(file_reading::File file, const std::string& path)
{
    if (!file.is_open()) return;
    PrepareScan();
    bool hit = false;
    // A search text that holds a line feed can never lie within one line.
    if (finder_->size() > 0 && options.pattern.find('\n') == std::string::npos)
        hit = Scan(*this, *finder_, buffer_, path).Run(file);
    file_reading::Close(file);
    if (hit && options.replace && grep_host_.ReplaceInFile(path, InHiddenDirectory(), options)) ++replaced;
}

bool GrepEngine::IsWholeWord(std::string_view line, std::size_t pos, std::size_t length) const
{
    if (!options.whole_words) return true;
    if (pos > 0 && text::IsWordChar(line[pos - 1])) return false;
    if (pos + length < line.size() && text::IsWordChar(line[pos + length])) return false;
    return true;
}

std::string GrepEngine::SummaryText() const
{
    std::string text = FormatText(strings::Text(strings::kStatusGrepSummary), files, matches);
    if (options.replace) text += FormatText(strings::Text(strings::kStatusFilesReplaced), replaced);
    return text;
}

void GrepEngine::PrepareScan()
{
    // The finder follows the options, which the caller may change between
    // files; the block buffer lives as long as the run.
    if (!finder_ || finder_pattern_ != options.pattern || finder_case_ != options.case_sensitive) {
        finder_ = std::make_unique<LiteralFinder>(options.pattern, options.case_sensitive);
        finder_pattern_ = options.pattern;
        finder_case_ = options.case_sensitive;
    }
    const std::size_t capacity = std::max<std::size_t>(block_size, 1) + finder_->size() + 1;
    if (buffer_.size() != capacity) buffer_.assign(capacity, '\0');
}

void GrepEngine::ReleaseScanState()
{
    finder_.reset();
    std::vector<char>().swap(buffer_);
    std::string().swap(result_);
}

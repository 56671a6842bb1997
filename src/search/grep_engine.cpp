#include "search/grep_engine.h"

#include "base/characters.h"
#include "base/text_rules.h"
#include "resources/format_text.h"
#include "resources/strings.h"
#include "search/file_reading.h"
#include "search/line_feeds.h"
#include "search/text_matcher.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// The most bytes one character takes (base/characters.h): the whole-word
// test looks at the characters on either side of an occurrence.
constexpr std::size_t kCharBytes = 4;

} // namespace

// The scan of one file. The file is read in large blocks and searched a
// block at a time; line feeds are counted only up to a hit and when a block
// is given up, so a file without hits costs little more than its reading.
// Between blocks the last bytes of a block are kept, enough to find an
// occurrence that straddles the border and to see the character before it.
// The hits (line number, line start, match) go to a sink; the scan touches nothing else,
// so that it may run on the thread that scans ahead.
class GrepEngine::Scan {
public:
    Scan(const TextMatcher& matcher, bool whole_words, bool first_only, bool keep_texts, std::size_t block_size,
         std::vector<char>& buffer, NumberSink& sink)
        : matcher_(matcher),
          whole_words_(whole_words),
          first_only_(first_only),
          keep_texts_(keep_texts),
          block_size_(std::max<std::size_t>(block_size, 1)),
          buffer_(buffer),
          sink_(sink)
    {
    }

    // Returns true when the file had at least one hit.
    bool Run(file_reading::File& file);

private:
    // Looks at the candidates in [from, limit) of the block [0, len);
    // returns where the search goes on.
    std::size_t SearchBlock(std::size_t from, std::size_t limit, std::size_t len);
    void Report(const char* block, ByteSpan match, std::size_t len);
    // The matches on the line of `match` that the block holds, this one too.
    std::size_t MatchesInLine(const char* block, ByteSpan match, std::size_t len) const;

    const TextMatcher& matcher_;
    const bool whole_words_;
    const bool first_only_;
    const bool keep_texts_;
    const std::size_t block_size_;  // bytes read at a time
    std::vector<char>& buffer_;
    NumberSink& sink_;

    // Counts the line feeds of [counted_, to) of the block and moves
    // counted_ there, keeping the start of the line that holds it.
    void CountTo(const char* block, std::size_t to);

    long line_ = 1;            // number of the line that holds offset `counted_`
    std::size_t counted_ = 0;  // offset in the block up to which line feeds are counted
    std::uint64_t block_start_ = 0;  // file offset of the block's first byte
    std::uint64_t line_start_ = 0;   // file offset of line `line_`
    bool skip_line_ = false;   // the current line is listed; ignore the rest of it
    bool done_ = false;        // no more hits wanted
    bool hit_ = false;
};

bool GrepEngine::Scan::Run(file_reading::File& file)
{
    const std::size_t m = matcher_.LongestMatch();
    const std::size_t capacity = block_size_ + m + 2 * kCharBytes;
    if (buffer_.size() != capacity) buffer_.assign(capacity, '\0');
    char* const block = buffer_.data();
    // Bytes kept on either side of what is examined: a whole character for
    // the whole-word test, else the one byte the line-end test needs.
    const std::size_t context = whole_words_ ? kCharBytes : 1;
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
        // Before the end of the file an occurrence must leave the context
        // after it in the block.
        const std::size_t limit = at_end ? len : (len > context ? len - context : 0);
        from = SearchBlock(from, limit, len);
        if (at_end || done_ || sink_.Cancelled()) break;

        // Carry the positions not yet examined, and the character before
        // them, into the next block; count the line feeds of what is given up.
        std::size_t next = std::max(from, len + 1 > m + context ? len + 1 - m - context : 0);
        if (skip_line_) next = len;
        const std::size_t keep_from = next > context ? next - context : 0;
        const std::size_t give_up = skip_line_ ? len : keep_from;
        // A hit just before the kept context has its line counted already.
        if (give_up > counted_) CountTo(block, give_up);
        counted_ = counted_ > give_up ? counted_ - give_up : 0;
        block_start_ += give_up;
        kept = len - give_up;
        std::memmove(block, block + give_up, kept);
        from = next - give_up;
    }
    return hit_;
}

std::size_t GrepEngine::Scan::SearchBlock(std::size_t from, std::size_t limit, std::size_t len)
{
    const char* const block = buffer_.data();
    // The bytes after the limit are the context of a match before it.
    const std::string_view text(block, len);
    while (from < limit && !done_) {
        const TextMatcher::BlockResult found = matcher_.FindInBlock(text, from, limit);
        if (!found.span) return found.resume;
        Report(block, *found.span, len);
        const std::size_t end = found.span->end;
        const void* lf = std::memchr(block + end, '\n', len - end);
        if (!lf) {
            skip_line_ = true;
            return len;
        }
        from = static_cast<std::size_t>(static_cast<const char*>(lf) - block) + 1;
    }
    return from;
}

void GrepEngine::Scan::CountTo(const char* block, std::size_t to)
{
    const std::size_t feeds = CountLineFeeds(block + counted_, block + to);
    if (feeds > 0) {
        line_ += static_cast<long>(feeds);
        const auto* last = static_cast<const char*>(memrchr(block + counted_, '\n', to - counted_));
        line_start_ = block_start_ + static_cast<std::uint64_t>(last - block) + 1;
    }
    counted_ = to;
}

void GrepEngine::Scan::Report(const char* block, ByteSpan match, std::size_t len)
{
    const std::size_t pos = match.start;
    CountTo(block, pos);
    hit_ = true;
    const std::size_t start = static_cast<std::size_t>(block_start_ + pos - line_start_);
    LineText text;
    if (keep_texts_ && line_start_ >= block_start_) {
        // The line whole in the block, up to its line feed.
        const char* const begin = block + (line_start_ - block_start_);
        if (const void* lf = std::memchr(block + pos, '\n', len - pos))
            text = std::string_view(begin, static_cast<std::size_t>(static_cast<const char*>(lf) - begin) + 1);
    }
    const std::size_t end = start + (match.end - match.start);
    const auto in_line = static_cast<std::uint32_t>(std::min<std::size_t>(MatchesInLine(block, match, len), UINT32_MAX));
    if (!sink_.AddHit({line_, line_start_, {start, end}, in_line}, text) || first_only_) done_ = true;
}

std::size_t GrepEngine::Scan::MatchesInLine(const char* block, ByteSpan match, std::size_t len) const
{
    // The line as far as the block holds it, without its line end, so that
    // the matcher's rules (whole words, a CR before LF) apply as they did.
    const std::size_t begin = line_start_ >= block_start_ ? static_cast<std::size_t>(line_start_ - block_start_) : 0;
    std::size_t stop = len;
    if (const void* lf = std::memchr(block + match.end, '\n', len - match.end)) {
        stop = static_cast<std::size_t>(static_cast<const char*>(lf) - block);
        if (stop > begin && block[stop - 1] == '\r') --stop;
    }
    const std::string_view line(block + begin, std::max(stop, match.end) - begin);
    std::size_t count = 1;
    std::size_t from = match.end - begin;
    if (match.end == match.start) ++from;  // an empty match moves on by one
    while (from <= line.size()) {
        const std::optional<ByteSpan> next = matcher_.Find(line, from);
        if (!next) break;
        ++count;
        from = next->end > next->start ? next->end : next->end + 1;
    }
    return count;
}

// Lists each hit at once, as the walk's own scan of a file finds it.
class GrepEngine::ListingSink : public NumberSink {
public:
    ListingSink(GrepEngine& engine, const std::string& path) : engine_(engine), path_(path) {}
    bool Add(long number) override { return AddHit({number, 0, {}}, std::nullopt); }
    bool AddHit(const ScanHit& hit, LineText text) override
    {
        engine_.ListHit(path_, hit, text);
        return true;
    }

private:
    GrepEngine& engine_;
    const std::string& path_;
};

GrepEngine::GrepEngine(GrepHost& host) : DirectoryWalk(host), grep_host_(host) {}

GrepEngine::~GrepEngine() = default;

bool GrepEngine::RunSearch()
{
    const Start start = EnterTopDirectory(options.path);
    files = 0;
    excluded_files = 0;
    excluded_dirs = 0;
    matches = 0;
    match_total = 0;
    replaced = 0;
    unchanged = 0;
    replaced_files_.clear();
    host_.ClearResults();
    if (options.replace) grep_host_.ReplacementStarts(start.dir);
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
    if (std::unique_ptr<FileScan> scan = TakeScanAhead(path)) {
        // Taken only while the options are those it was made with, and
        // not when its file has been replaced since.
        const bool replaced_since = scan->opened && replaced_files_.count({scan->device, scan->inode}) > 0;
        if (!replaced_since && ahead_options_ == CurrentScanOptions()) {
            if (!scan->opened) return;
            std::size_t text_at = 0;
            for (std::size_t i = 0; i < scan->hits.size(); ++i) {
                LineText text;
                if (i < scan->text_lengths.size() && scan->text_lengths[i] != FileScan::kNoText) {
                    text = std::string_view(scan->texts).substr(text_at, scan->text_lengths[i]);
                    text_at += scan->text_lengths[i];
                }
                ListHit(path, scan->hits[i], text);
            }
            FileDone(path, !scan->hits.empty(), scan->device, scan->inode);
            return;
        }
    }
    SearchOpenFile(file_reading::OpenRegularFileAt(dir_fd, name.c_str()), path);
}

void GrepEngine::SearchOpenFile(file_reading::File file, const std::string& path)
{
    if (!file.is_open()) return;
    PrepareScan();
    bool hit = false;
    // A search text that holds a line feed can never lie within one line.
    if (matcher_->LongestMatch() > 0 && options.pattern.find('\n') == std::string::npos) {
        ListingSink sink(*this, path);
        hit = Scan(*matcher_, options.whole_words, !options.show_lines, keep_line_texts, block_size, buffer_, sink)
                  .Run(file);
    }
    file_reading::Close(file);
    FileDone(path, hit, file.device, file.inode);
}

void GrepEngine::ListHit(const std::string& path, const ScanHit& hit, LineText text)
{
    grep_host_.AppendHit(GrepHit{path, hit.line, hit.match, hit.line_offset, text});
    ++matches;
    match_total += hit.matches_in_line;
}

void GrepEngine::FileDone(const std::string& path, bool hit, dev_t device, ino_t inode)
{
    if (!hit || !options.replace) return;
    if (options.replacement.empty()) {
        ++unchanged;
        return;
    }
    if (grep_host_.ReplaceInFile(path, InHiddenDirectory(), options)) {
        ++replaced;
        replaced_files_.insert({device, inode});
    }
}

GrepEngine::ScanOptions GrepEngine::CurrentScanOptions() const
{
    return {options, options.show_lines, keep_line_texts};
}

ScanAhead::ScanFunction GrepEngine::AheadScan() const
{
    ahead_options_ = CurrentScanOptions();
    const ScanOptions& ahead = ahead_options_;
    const MatchQuery& o = ahead.query;
    if (o.pattern.empty() || o.pattern.find('\n') != std::string::npos) return {};
    auto matcher = std::make_shared<const TextMatcher>(o.pattern, o.case_sensitive, o.whole_words);
    return [matcher, whole_words = o.whole_words, first_only = !ahead.show_lines, keep_texts = ahead.keep_texts,
            block = block_size](file_reading::File& file, std::vector<char>& buffer, NumberSink& sink) {
        Scan(*matcher, whole_words, first_only, keep_texts, block, buffer, sink).Run(file);
    };
}

bool GrepEngine::IsWholeWord(std::string_view line, std::size_t pos, std::size_t length) const
{
    return !options.whole_words || TextMatcher::StandsAlone(line, pos, length);
}

std::string GrepEngine::SummaryText() const
{
    std::string text = FormatText(strings::Text(strings::kStatusGrepSummary), files, matches);
    // A replacing run's summary is about the files it wrote.
    if (summary_tells_match_total && !options.replace && match_total != matches)
        text += FormatText(strings::Text(strings::kStatusMatchCount), match_total);
    if (options.replace && options.replacement.empty())
        text += FormatText(strings::Text(strings::kStatusEmptyReplacement), unchanged);
    else if (options.replace)
        text += FormatText(strings::Text(replacement_is_dry_run ? strings::kStatusFilesWouldBeReplaced
                                                                : strings::kStatusFilesReplaced),
                           replaced);
    return text;
}

void GrepEngine::PrepareScan()
{
    // The matcher follows the options, which the caller may change between
    // files; the block buffer lives as long as the run.
    const MatchQuery& query = options;
    if (!matcher_ || matcher_query_ != query) {
        matcher_ = std::make_shared<const TextMatcher>(query.pattern, query.case_sensitive, query.whole_words);
        matcher_query_ = query;
    }
}

void GrepEngine::ReleaseScanState()
{
    matcher_.reset();
    std::vector<char>().swap(buffer_);
    replaced_files_.clear();
}

#include "search/line_counter.h"

#include "resources/strings.h"
#include "search/file_reading.h"
#include "search/line_feeds.h"
#include "search/status_text.h"

#include <charconv>
#include <vector>

LineCounter::LineCounter(SearchHost& host) : DirectoryWalk(host) {}

LineCounter::~LineCounter() = default;

bool LineCounter::RunCount(bool reset)
{
    const Start start = EnterTopDirectory(options.path);
    if (reset) {
        files = 0;
        lines = 0;
        host_.ClearResults();
    }
    SearchDirectory(start.dir, start.file_pattern);
    std::vector<char>().swap(buffer_);
    return start.entered;
}

void LineCounter::CountFile(const std::string& path)
{
    CountOpenFile(file_reading::OpenRegularFile(path), path);
}

void LineCounter::VisitFile(const std::string& path, int dir_fd, const std::string& name)
{
    CountOpenFile(file_reading::OpenRegularFileAt(dir_fd, name.c_str()), path);
}

void LineCounter::CountOpenFile(file_reading::File file, const std::string& path)
{
    if (!file.is_open()) return;
    if (buffer_.empty()) buffer_.resize(file_reading::kBlockSize);

    // Lines end at line feeds; a last line without one is a line as well.
    long count = 0;
    char last = '\n';
    bool at_end = false;
    while (!at_end) {
        const std::size_t len = file_reading::Fill(file, buffer_.data(), buffer_.size(), at_end);
        if (len == 0) break;
        count += static_cast<long>(CountLineFeeds(buffer_.data(), buffer_.data() + len));
        last = buffer_[len - 1];
    }
    file_reading::Close(file);
    if (last != '\n') ++count;

    lines += count;
    std::string line = path;
    line += '\t';
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, count);
    line.append(digits, written.ptr);
    host_.AppendResult(line);
}

std::string LineCounter::SummaryText() const
{
    return FormatText(strings::Text(strings::kStatusCountSummary), files, lines);
}

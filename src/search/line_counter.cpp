#include "search/line_counter.h"

#include "resources/strings.h"
#include "search/file_reading.h"
#include "search/line_feeds.h"
#include "resources/format_text.h"

#include <vector>

namespace {

// Counts the lines of an open file into the sink: lines end at line feeds,
// and a last line without one is a line as well.
void CountLines(file_reading::File& file, std::vector<char>& buffer, NumberSink& sink)
{
    if (buffer.size() != file_reading::kBlockSize) buffer.resize(file_reading::kBlockSize);
    long count = 0;
    char last = '\n';
    bool at_end = false;
    while (!at_end && !sink.Cancelled()) {
        const std::size_t len = file_reading::Fill(file, buffer.data(), buffer.size(), at_end);
        if (len == 0) break;
        count += static_cast<long>(CountLineFeeds(buffer.data(), buffer.data() + len));
        last = buffer[len - 1];
    }
    if (last != '\n') ++count;
    sink.Add(count);
}

// Keeps the one number a count gives.
class CountSink : public NumberSink {
public:
    long count = 0;
    bool Add(long number) override
    {
        count = number;
        return true;
    }
};

} // namespace

LineCounter::LineCounter(SearchHost& host) : DirectoryWalk(host) {}

LineCounter::~LineCounter() = default;

bool LineCounter::RunCount(bool reset)
{
    const Start start = EnterTopDirectory(options.path);
    if (reset) {
        files = 0;
        excluded_files = 0;
        excluded_dirs = 0;
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
    if (std::unique_ptr<FileScan> scan = TakeScanAhead(path)) {
        if (scan->opened && !scan->numbers.empty()) ListCount(path, scan->numbers.front());
        return;
    }
    CountOpenFile(file_reading::OpenRegularFileAt(dir_fd, name.c_str()), path);
}

void LineCounter::CountOpenFile(file_reading::File file, const std::string& path)
{
    if (!file.is_open()) return;
    CountSink sink;
    CountLines(file, buffer_, sink);
    file_reading::Close(file);
    ListCount(path, sink.count);
}

void LineCounter::ListCount(const std::string& path, long count)
{
    lines += count;
    host_.AppendCount(CountResult{path, count});
}

ScanAhead::ScanFunction LineCounter::AheadScan() const
{
    return CountLines;
}

std::string LineCounter::SummaryText() const
{
    return FormatText(strings::Text(strings::kStatusCountSummary), files, lines);
}

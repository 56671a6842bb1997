#include "search/file_lines.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

// Most lines and the hits of a small file fit; a longer line doubles it.
constexpr std::size_t kWindowSize = 4 * 1024;

} // namespace

FileLines::FileLines(const std::string& path) : file_(file_reading::OpenRegularFile(path)) {}

FileLines::~FileLines()
{
    if (file_.is_open()) file_reading::Close(file_);
}

std::string_view FileLines::Window(std::uint64_t offset, std::size_t length)
{
    const bool held = offset >= window_start_ && offset + length <= window_start_ + window_used_;
    if (!held) {
        // Read afresh from `offset` on, at least a window's worth.
        const std::size_t want = std::max(length, kWindowSize);
        if (window_.size() < want) window_.resize(want);
        window_start_ = offset;
        window_used_ = 0;
        while (window_used_ < want) {
            const ssize_t n = ::pread(file_.fd, window_.data() + window_used_, want - window_used_,
                                      static_cast<off_t>(offset + window_used_));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            window_used_ += static_cast<std::size_t>(n);
        }
    }
    const std::size_t from = static_cast<std::size_t>(offset - window_start_);
    return std::string_view(window_.data() + from, window_used_ - from);
}

std::optional<FileLines::Line> FileLines::LineAt(std::uint64_t offset, std::size_t limit)
{
    if (!is_open()) return std::nullopt;
    // Asked for a little first, so that the lines after one read come from
    // the window held.
    std::size_t length = std::min<std::size_t>(limit, 256);
    for (;;) {
        const std::string_view held = Window(offset, length);
        if (held.empty()) return std::nullopt;
        const std::size_t feed = held.substr(0, std::min(held.size(), limit)).find('\n');
        if (feed != std::string_view::npos) return Line{held.substr(0, feed + 1), false};
        if (held.size() >= limit) return Line{held.substr(0, limit), true};
        if (held.size() < length) return Line{held, false};  // the file's end
        length = std::min(limit, std::max(length, held.size()) * 2);
    }
}

std::uint64_t FileLines::PreviousLineStart(std::uint64_t offset)
{
    if (!is_open() || offset <= 1) return 0;
    // The line before ends with the line feed at offset - 1; look for the
    // one before that.
    std::uint64_t end = offset - 1;
    while (end > 0) {
        const std::uint64_t from = end > kWindowSize ? end - kWindowSize : 0;
        const std::string_view held = Window(from, static_cast<std::size_t>(end - from));
        const std::size_t length = std::min<std::size_t>(held.size(), static_cast<std::size_t>(end - from));
        if (length == 0) return 0;
        const void* feed = memrchr(held.data(), '\n', length);
        if (feed) return from + static_cast<std::uint64_t>(static_cast<const char*>(feed) - held.data()) + 1;
        end = from;
    }
    return 0;
}

std::string_view WithoutLineEnd(std::string_view line)
{
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    }
    return line;
}

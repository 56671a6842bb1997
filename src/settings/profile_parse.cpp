#include "settings/profile_parse.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace profile::parse {

FileContents ReadSettingsFile(const std::string& path) noexcept
{
    FileContents file;
    try {
        // Non-blocking, so that a pipe cannot hang the program; its type is
        // checked before anything is read.
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) {
            file.state = errno == ENOENT || errno == ENOTDIR ? FileContents::State::kMissing
                                                             : FileContents::State::kUnreadable;
            return file;
        }
        file.state = FileContents::State::kUnreadable;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
            std::string bytes;
            bytes.reserve(static_cast<std::size_t>(st.st_size));
            char buffer[65536];
            for (;;) {
                const ssize_t n = ::read(fd, buffer, sizeof buffer);
                if (n < 0 && errno == EINTR) continue;
                if (n < 0) break;
                if (n == 0) {
                    file.state = FileContents::State::kRead;
                    break;
                }
                bytes.append(buffer, static_cast<std::size_t>(n));
            }
            if (file.state == FileContents::State::kRead) {
                file.byte_order_mark = bytes.starts_with(kByteOrderMark);
                if (file.byte_order_mark) bytes.erase(0, kByteOrderMark.size());
                file.bytes = std::move(bytes);
            }
        }
        ::close(fd);
    } catch (...) {
        file = FileContents{FileContents::State::kUnreadable, {}, false};
    }
    return file;
}

std::vector<Line> SplitLines(std::string_view contents)
{
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < contents.size()) {
        const auto lf = contents.find('\n', start);
        const std::size_t stop = lf == std::string_view::npos ? contents.size() : lf;
        std::size_t text_end = stop;
        // One CR before the LF belongs to the line end; at the very end of
        // the file, so does a last lone CR.
        if (text_end > start && contents[text_end - 1] == '\r') --text_end;
        const std::size_t next = lf == std::string_view::npos ? contents.size() : lf + 1;
        lines.push_back({contents.substr(start, text_end - start), contents.substr(text_end, next - text_end)});
        start = next;
    }
    return lines;
}

std::string_view Trim(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

std::optional<std::string_view> SectionName(std::string_view line)
{
    const std::string_view t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    const auto close = t.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

std::optional<std::string_view> KeyOf(std::string_view line, std::string_view* value)
{
    const std::string_view t = Trim(line);
    if (!t.empty() && t.front() == ';') return std::nullopt;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    if (value) *value = Trim(line.substr(eq + 1));
    return Trim(line.substr(0, eq));
}

int ParseInt(std::string_view value)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+')) negative = value[i++] == '-';
    long long n = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        n = n * 10 + (value[i] - '0');
        if (n > 0x7fffffffLL + 1) n = 0x7fffffffLL + 1;  // saturate instead of overflowing
    }
    if (negative) n = -n;
    if (n > 0x7fffffffLL) n = 0x7fffffffLL;
    return static_cast<int>(n);
}

} // namespace profile::parse

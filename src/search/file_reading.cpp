#include "search/file_reading.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace file_reading {

int OpenRegularFile(const std::string& path)
{
    // O_NONBLOCK makes opening a FIFO return at once; the type check then
    // refuses it. On a regular file the flag changes nothing.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::size_t Fill(int fd, char* buffer, std::size_t capacity, bool& at_end)
{
    std::size_t filled = 0;
    at_end = false;
    while (filled < capacity) {
        const ssize_t n = ::read(fd, buffer + filled, capacity - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            at_end = true;
            break;
        }
        filled += static_cast<std::size_t>(n);
        // A regular file returns less than asked for only at its end; this
        // saves asking once more just to be told so.
        if (static_cast<std::size_t>(n) < capacity - (filled - static_cast<std::size_t>(n))) {
            at_end = true;
            break;
        }
    }
    return filled;
}

void Close(int fd)
{
    ::close(fd);
}

} // namespace file_reading

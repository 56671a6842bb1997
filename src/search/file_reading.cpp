#include "search/file_reading.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace file_reading {

File OpenRegularFile(const std::string& path)
{
    return OpenRegularFileAt(AT_FDCWD, path.c_str());
}

File OpenRegularFileAt(int dir_fd, const char* name)
{
    // O_NONBLOCK makes opening a FIFO return at once; the type check then
    // refuses it. On a regular file the flag changes nothing.
    File file;
    const int fd = ::openat(dir_fd, name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return file;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return file;
    }
    file.fd = fd;
    file.size = static_cast<std::uint64_t>(st.st_size);
    file.device = st.st_dev;
    file.inode = st.st_ino;
    return file;
}

std::size_t Fill(File& file, char* buffer, std::size_t capacity, bool& at_end)
{
    std::size_t filled = 0;
    at_end = false;
    while (filled < capacity) {
        const ssize_t n = ::read(file.fd, buffer + filled, capacity - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            at_end = true;
            break;
        }
        filled += static_cast<std::size_t>(n);
        file.read += static_cast<std::uint64_t>(n);
        // Once the size the file had when it was opened is read and a read
        // comes back short, the file has ended: that saves asking once more
        // just to be told so. (Files of the kernel's pseudo file systems say
        // size 0 and are read on until a read returns nothing.)
        if (filled < capacity && file.size > 0 && file.read >= file.size) {
            at_end = true;
            break;
        }
    }
    return filled;
}

void Close(File& file)
{
    if (file.fd >= 0) ::close(file.fd);
    file.fd = -1;
}

} // namespace file_reading

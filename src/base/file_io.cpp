#include "base/file_io.h"

#include "base/save_faults.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace file_io {

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        if (save_faults::SaveStep("write")) return false;
        const ssize_t n = ::write(fd, bytes.data(), save_faults::WritePiece(bytes.size()));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool ReadAll(int fd, std::string& out)
{
    out.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(out.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        out.append(buffer, static_cast<std::size_t>(n));
    }
}

bool SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = !save_faults::SaveStep("fsync") && ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace file_io

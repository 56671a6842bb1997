#include "search/directory_listing.h"

#include "base/text_rules.h"
#include "search/wildcard.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class EntryKind { kFile, kDirectory, kOther };

// The entry's kind as the walk treats it; uses the type the directory
// itself reports and asks the file system only when it has to.
EntryKind KindOf(int dir_fd, const dirent& entry)
{
    struct stat st;
    switch (entry.d_type) {
    case DT_REG:
        return EntryKind::kFile;
    case DT_DIR:
        return EntryKind::kDirectory;
    case DT_LNK:
        // A link counts as the file it names; a link to a directory is not
        // walked into (no loop can trap the run), a dangling one is nothing.
        if (::fstatat(dir_fd, entry.d_name, &st, 0) == 0 && S_ISREG(st.st_mode)) return EntryKind::kFile;
        return EntryKind::kOther;
    case DT_UNKNOWN:
        if (::fstatat(dir_fd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::kOther;
        if (S_ISREG(st.st_mode)) return EntryKind::kFile;
        if (S_ISDIR(st.st_mode)) return EntryKind::kDirectory;
        if (S_ISLNK(st.st_mode) && ::fstatat(dir_fd, entry.d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
            return EntryKind::kFile;
        return EntryKind::kOther;
    default:
        return EntryKind::kOther;
    }
}

} // namespace

bool NameOrder(std::string_view a, std::string_view b) noexcept
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(text::ToLowerAscii(a[i]));
        const auto y = static_cast<unsigned char>(text::ToLowerAscii(b[i]));
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;  // std::string_view compares bytes as unsigned
}

int OpenDirectoryAt(int parent_fd, const char* name, bool follow_link)
{
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (follow_link ? 0 : O_NOFOLLOW);
    return ::openat(parent_fd, name, flags);
}

bool ListDirectory(int dir_fd, std::string_view file_pattern, bool with_sub_dirs, DirectoryListing& out,
                   const EntryFilter* filter)
{
    out.files.clear();
    out.sub_dirs.clear();
    out.excluded_files = 0;
    out.excluded_dirs = 0;
    // The listing reads a duplicate: closing the stream (and its buffer)
    // right after reading leaves the directory itself open for its files.
    const int listing_fd = ::fcntl(dir_fd, F_DUPFD_CLOEXEC, 0);
    DIR* d = listing_fd < 0 ? nullptr : ::fdopendir(listing_fd);
    if (!d) {
        if (listing_fd >= 0) ::close(listing_fd);
        return false;
    }
    // A duplicate shares its reading position with the original: start
    // from the top whatever an earlier listing left.
    ::rewinddir(d);
    while (const dirent* entry = ::readdir(d)) {
        const std::string_view name(entry->d_name);
        if (name == "." || name == "..") continue;
        const bool hidden = name.front() == '.';
        const bool wanted_file = !hidden && wildcard::Matches(file_pattern, name);
        if (!wanted_file && !with_sub_dirs) continue;
        switch (KindOf(dir_fd, *entry)) {
        case EntryKind::kFile:
            if (!wanted_file) break;
            if (filter && filter->Excludes(name, false)) ++out.excluded_files;
            else out.files.emplace_back(name);
            break;
        case EntryKind::kDirectory:
            if (!with_sub_dirs) break;
            if (filter && filter->Excludes(name, true)) ++out.excluded_dirs;
            else out.sub_dirs.emplace_back(name);
            break;
        case EntryKind::kOther:
            break;
        }
    }
    ::closedir(d);
    std::sort(out.files.begin(), out.files.end(), NameOrder);
    std::sort(out.sub_dirs.begin(), out.sub_dirs.end(), NameOrder);
    return true;
}

std::string JoinPath(std::string_view dir, std::string_view name)
{
    std::string path(dir);
    if (path.empty() || path.back() != '/') path += '/';
    path += name;
    return path;
}

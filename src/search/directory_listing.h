#pragma once
// One directory level as a run sees it: the ordinary files whose names
// match a pattern and the sub-directories, each list in name order.

#include <string>
#include <string_view>
#include <vector>

struct DirectoryListing {
    std::vector<std::string> files;     // names, not paths
    std::vector<std::string> sub_dirs;  // names; only when asked for
    // Entries the filter left out: files that the pattern took, and
    // sub-directories when they were asked for.
    long excluded_files = 0;
    long excluded_dirs = 0;
};

// Which entries of a directory a listing leaves out.
class EntryFilter {
public:
    virtual ~EntryFilter() = default;
    virtual bool Excludes(std::string_view name, bool is_dir) const = 0;
};

// Name order: ASCII letters without regard to case, then byte order.
bool NameOrder(std::string_view a, std::string_view b) noexcept;

// Opens the directory `name` of the open directory `parent_fd` (AT_FDCWD:
// `name` is a path) for the walk; -1 when it cannot be opened. With
// `follow_link` off a link is refused, so that a directory replaced by a
// link during a run is not entered.
int OpenDirectoryAt(int parent_fd, const char* name, bool follow_link);

// Reads the open directory `dir_fd` (which stays open). Files: regular
// files and links to regular files whose names match `file_pattern` and do
// not start with '.'. Sub-directories (when `with_sub_dirs`): real
// directories other than "." and "..", hidden ones included, links to
// directories excluded. Everything else (FIFOs, sockets, devices, dangling
// links) is left out, and so is every entry that `filter` (when given)
// excludes. False when the directory cannot be read.
bool ListDirectory(int dir_fd, std::string_view file_pattern, bool with_sub_dirs, DirectoryListing& out,
                   const EntryFilter* filter = nullptr);

// "dir/name", without doubling a '/' that ends `dir`.
std::string JoinPath(std::string_view dir, std::string_view name);

#pragma once
// One directory level as a run sees it: the ordinary files whose names
// match a pattern and the sub-directories, each list in name order.

#include <string>
#include <string_view>
#include <vector>

struct DirectoryListing {
    DirectoryListing() = default;
    DirectoryListing(const DirectoryListing&) = delete;
    DirectoryListing& operator=(const DirectoryListing&) = delete;
    ~DirectoryListing() { CloseDirectory(); }

    std::vector<std::string> files;     // names, not paths
    std::vector<std::string> sub_dirs;  // names; only when asked for
    // The directory, open while its files are read: opening a file by its
    // name in it spares the system looking up the whole path again.
    int dir_fd = -1;
    void CloseDirectory();
};

// Name order: ASCII letters without regard to case, then byte order.
bool NameOrder(std::string_view a, std::string_view b) noexcept;

// Reads `dir`. Files: regular files and links to regular files whose names
// match `file_pattern` and do not start with '.'. Sub-directories (when
// `with_sub_dirs`): real directories other than "." and "..", hidden ones
// included, links to directories excluded. Everything else (FIFOs,
// sockets, devices, dangling links) is left out. False when the directory
// cannot be read.
bool ListDirectory(const std::string& dir, std::string_view file_pattern, bool with_sub_dirs,
                   DirectoryListing& out);

// "dir/name", without doubling a '/' that ends `dir`.
std::string JoinPath(std::string_view dir, std::string_view name);

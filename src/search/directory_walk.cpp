#include "search/directory_walk.h"

#include "resources/strings.h"
#include "search/directory_listing.h"
#include "resources/format_text.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Directories the levels of a walk hold open at once. A level normally
// keeps its directory open while its sub-directories are searched, to open
// the next one; past this many it lets go and takes its directory back
// through the ".." of the sub-directory when that is done.
constexpr int kOpenLevelBudget = 128;

std::string CurrentDirectory()
{
    char* cwd = ::getcwd(nullptr, 0);
    if (!cwd) return ".";
    std::string dir(cwd);
    std::free(cwd);
    return dir;
}

} // namespace

struct DirectoryWalk::Level {
    std::string path;          // as the results show it
    std::string name;          // in the parent directory
    Level* parent = nullptr;   // the level above; null at the top
    int fd = -1;               // the open directory; -1 while given up
    bool keep_open = false;    // the top level holds its directory for the whole run
    bool wanted_back = false;  // the directory is needed again after its last sub-directory
    dev_t device = 0;          // which directory to take back, recorded when it is given up
    ino_t inode = 0;
    FolderExclusions exclusions;
};

DirectoryWalk::Start DirectoryWalk::EnterTopDirectory(const std::string& path)
{
    not_entered = 0;
    first_not_entered.clear();
    Start start;
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        start.file_pattern = path;
        start.dir = CurrentDirectory();
        start.entered = true;
        return start;
    }
    start.file_pattern = path.substr(slash + 1);
    start.dir = slash == 0 ? std::string("/") : path.substr(0, slash);
    if (::chdir(start.dir.c_str()) == 0) {
        start.dir = CurrentDirectory();
        start.entered = true;
    }
    return start;
}

void DirectoryWalk::SearchDirectory(const std::string& dir, const std::string& file_pattern)
{
    Level top;
    top.path = dir;
    top.keep_open = true;
    top.fd = OpenDirectoryAt(AT_FDCWD, dir.c_str(), true);
    if (top.fd < 0) {
        SetStatus(FormatText(strings::Text(strings::kStatusInvalidPath), dir.c_str()));
        return;
    }
    const bool outermost = depth_ == 0;
    top.exclusions = FolderExclusions(Exclusions(), dir, top.fd);
    if (outermost && scan_ahead) {
        if (ScanAhead::ScanFunction scan = AheadScan())
            ahead_ = std::make_unique<ScanAhead>(dir, file_pattern, SearchSubDirectories(), std::move(scan),
                                                 top.exclusions);
    }
    ++depth_;
    ++open_levels_;
    const bool listed = SearchLevel(top, file_pattern);
    --depth_;
    if (outermost) ahead_.reset();
    // Once the walk is over, the directory it started from is current again.
    if (outermost && listed && ::fchdir(top.fd) != 0) {
        // Nothing is left to do in a directory that cannot be entered.
    }
    ::close(top.fd);
    --open_levels_;
    if (!listed) SetStatus(FormatText(strings::Text(strings::kStatusInvalidPath), dir.c_str()));
}

bool DirectoryWalk::SearchLevel(Level& level, const std::string& file_pattern)
{
    DirectoryListing listing;
    // A directory that may be read but not searched cannot be entered.
    // The listing of the thread that scans ahead, when it has one, is taken
    // as it stands.
    if (::faccessat(level.fd, ".", X_OK, AT_EACCESS) != 0) return false;
    if (!(ahead_ && ahead_->TakeListing(level.path, listing)) &&
        !ListDirectory(level.fd, file_pattern, SearchSubDirectories(), listing, level.exclusions.Filter()))
        return false;
    excluded_files += listing.excluded_files;
    excluded_dirs += listing.excluded_dirs;

    const bool slash_ends_path = !level.path.empty() && level.path.back() == '/';
    for (const std::string& name : listing.files) {
        if (stop) break;
        ++files;
        const std::string path = JoinPath(level.path, name);
        SetStatus(slash_ends_path
                      ? path
                      : FormatText(strings::Text(strings::kStatusSearchFile), level.path.c_str(), name.c_str()));
        VisitFile(path, level.fd, name);
        host_.PumpWaitingEvents();
    }
    for (std::size_t i = 0; i < listing.sub_dirs.size(); ++i) {
        if (stop) break;
        SearchSubDirectory(level, listing.sub_dirs[i], i + 1 == listing.sub_dirs.size(), file_pattern);
        host_.PumpWaitingEvents();
    }
    SetStatus(FullSummary());
    return true;
}

void DirectoryWalk::SearchSubDirectory(Level& parent, const std::string& name, bool last,
                                       const std::string& file_pattern)
{
    Level child;
    child.path = JoinPath(parent.path, name);
    child.name = name;
    child.parent = &parent;
    if (parent.fd >= 0) child.fd = OpenDirectoryAt(parent.fd, name.c_str(), false);
    if (child.fd < 0) return ReportNotEntered(child.path);
    ++open_levels_;
    child.exclusions = parent.exclusions.SubFolder(child.fd, name);

    // The parent's directory is given up while the child is searched when
    // nothing more is wanted of it, or when too many are open; in the second
    // case it is taken back afterwards, and only if it is still the same.
    const bool wanted = !last || parent.wanted_back;
    if (!parent.keep_open && (last || open_levels_ > kOpenLevelBudget)) {
        struct stat st;
        const bool known = !wanted || ::fstat(parent.fd, &st) == 0;
        if (known) {
            if (wanted) {
                parent.device = st.st_dev;
                parent.inode = st.st_ino;
            }
            ::close(parent.fd);
            parent.fd = -1;
            --open_levels_;
        }
    }
    child.wanted_back = parent.fd < 0 && wanted;

    const bool hidden = name.front() == '.';
    if (hidden) ++hidden_levels_;
    if (!SearchLevel(child, file_pattern)) ReportNotEntered(child.path);
    if (hidden) --hidden_levels_;

    if (parent.fd < 0 && wanted) TakeBack(parent, child.fd);
    if (child.fd >= 0) {
        ::close(child.fd);
        --open_levels_;
    }
}

void DirectoryWalk::TakeBack(Level& level, int child_fd)
{
    // The cheap way is the ".." of the sub-directory just searched; a
    // sub-directory that may be read but not searched has no usable "..",
    // so the level is then opened again from the nearest level still open,
    // down through the names. Either way only the same directory is taken
    // (a tree moved meanwhile leaves the level's other sub-directories not
    // entered).
    int fd = child_fd >= 0 ? ::openat(child_fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    if (fd < 0) fd = ReopenFromAbove(level);
    struct stat st;
    if (fd >= 0 && ::fstat(fd, &st) == 0 && st.st_dev == level.device && st.st_ino == level.inode) {
        level.fd = fd;
        ++open_levels_;
    } else if (fd >= 0) {
        ::close(fd);
    }
}

int DirectoryWalk::ReopenFromAbove(const Level& level)
{
    std::vector<const Level*> down;
    const Level* open = &level;
    for (; open && open->fd < 0; open = open->parent) down.push_back(open);
    if (!open) return -1;
    int fd = open->fd;
    for (auto it = down.rbegin(); it != down.rend(); ++it) {
        const int next = OpenDirectoryAt(fd, (*it)->name.c_str(), false);
        if (fd != open->fd) ::close(fd);
        if (next < 0) return -1;
        fd = next;
    }
    return fd == open->fd ? -1 : fd;
}

void DirectoryWalk::ReportNotEntered(const std::string& path)
{
    if (not_entered++ == 0) first_not_entered = path;
    SetStatus(FormatText(strings::Text(strings::kStatusInvalidPath), path.c_str()));
}

std::string DirectoryWalk::FullSummary() const
{
    std::string text = SummaryText();
    if (not_entered > 0)
        text += FormatText(strings::Text(strings::kStatusNotEntered), not_entered, first_not_entered.c_str());
    if (excluded_files > 0 || excluded_dirs > 0)
        text += FormatText(strings::Text(strings::kStatusExcluded), excluded_files, excluded_dirs);
    return text;
}

void DirectoryWalk::SetStatus(std::string_view text)
{
    host_.SetStatusText(text);
}

void DirectoryWalk::StopSearch()
{
    stop = true;
    SetStatus(strings::Text(strings::kStatusGrepInterrupted));
}

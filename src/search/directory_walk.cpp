#include "search/directory_walk.h"

#include "resources/strings.h"
#include "search/directory_listing.h"
#include "search/status_text.h"

#include <cstdlib>
#include <unistd.h>

namespace {

std::string CurrentDirectory()
{
    char* cwd = ::getcwd(nullptr, 0);
    if (!cwd) return ".";
    std::string dir(cwd);
    std::free(cwd);
    return dir;
}

} // namespace

DirectoryWalk::Start DirectoryWalk::EnterTopDirectory(const std::string& path)
{
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
    DirectoryListing listing;
    if (::chdir(dir.c_str()) != 0 || !ListDirectory(dir, file_pattern, SearchSubDirectories(), listing)) {
        SetStatus(FormatText(strings::Text(strings::kStatusInvalidPath), dir.c_str()));
        return;
    }
    const bool outermost = depth_ == 0;
    ++depth_;

    for (const std::string& name : listing.files) {
        if (stop) break;
        ++files;
        const std::string path = JoinPath(dir, name);
        SetStatus(dir.back() == '/' ? path
                                    : FormatText(strings::Text(strings::kStatusSearchFile), dir.c_str(), name.c_str()));
        VisitFile(path, listing.dir_fd, name);
        host_.PumpWaitingEvents();
    }
    listing.CloseDirectory();
    for (const std::string& name : listing.sub_dirs) {
        if (stop) break;
        SearchDirectory(JoinPath(dir, name), file_pattern);
        host_.PumpWaitingEvents();
    }

    --depth_;
    // The walk addresses everything by full path; once it is over, the
    // directory it started from is current again.
    if (outermost && ::chdir(dir.c_str()) != 0) {
        // The directory vanished during the run; nothing is left to do in it.
    }
    SetStatus(SummaryText());
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

#include "search/walk_exclusions.h"

#include "base/file_io.h"
#include "search/file_reading.h"
#include "search/wildcard.h"

#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kGitFolder = ".git";

std::string_view TrimSpaces(std::string_view text)
{
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// The rules of the ignore file `name` of the open folder `dir_fd`; none
// when it is missing, unreadable or no regular file.
ignore::RuleFile ReadRules(int dir_fd, const std::string& name)
{
    file_reading::File file = file_reading::OpenRegularFileAt(dir_fd, name.c_str());
    if (!file.is_open()) return {};
    std::string text;
    const bool read = file_io::ReadAll(file.fd, text);
    file_reading::Close(file);
    return read ? ignore::RuleFile::Parse(text) : ignore::RuleFile{};
}

std::string FirstLine(int dir_fd, const std::string& name)
{
    file_reading::File file = file_reading::OpenRegularFileAt(dir_fd, name.c_str());
    std::string text;
    if (file.is_open()) {
        if (!file_io::ReadAll(file.fd, text)) text.clear();
        file_reading::Close(file);
    }
    text = text.substr(0, text.find('\n'));
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
}

// "dir/name" for openat: `name` as it is when absolute.
std::string Below(const std::string& dir, const std::string& name)
{
    if (!name.empty() && name.front() == '/') return name;
    return dir.empty() ? name : dir + "/" + name;
}

// The info/exclude of the repository whose top is the open folder
// `dir_fd`, as openat finds it from there: inside .git, or, for a ".git"
// file ("gitdir: ..." of a linked work tree or a submodule), in the
// repository it names (the common one of a linked work tree).
std::string InfoExcludeOf(int dir_fd, bool git_is_folder)
{
    if (git_is_folder) return ".git/info/exclude";
    std::string git_dir = FirstLine(dir_fd, ".git");
    static constexpr std::string_view kPrefix = "gitdir: ";
    if (git_dir.compare(0, kPrefix.size(), kPrefix) != 0) return {};
    git_dir.erase(0, kPrefix.size());
    const std::string common = FirstLine(dir_fd, Below(git_dir, "commondir"));
    if (!common.empty()) git_dir = Below(git_dir, common);
    return Below(git_dir, "info/exclude");
}

}  // namespace

NamePatterns::NamePatterns(std::string_view list)
{
    while (!list.empty()) {
        const std::size_t semicolon = list.find(';');
        std::string_view item = TrimSpaces(list.substr(0, semicolon));
        list.remove_prefix(semicolon == std::string_view::npos ? list.size() : semicolon + 1);
        Pattern pattern;
        if (!item.empty() && item.back() == '/') {
            pattern.dir_only = true;
            item.remove_suffix(1);
        }
        if (item.empty()) continue;
        pattern.wildcard.assign(item);
        patterns_.push_back(std::move(pattern));
    }
}

bool NamePatterns::Excludes(std::string_view name, bool is_dir) const
{
    for (const Pattern& p : patterns_)
        if ((is_dir || !p.dir_only) && wildcard::Matches(p.wildcard, name)) return true;
    return false;
}

// The ignore rules read in one folder, with those of the folders above it.
class IgnoreLevel {
public:
    // The folder open as `fd`, named `name` in the folder of `parent`
    // (null for the outermost level).
    IgnoreLevel(std::shared_ptr<const IgnoreLevel> parent, int fd, std::string_view name) : parent_(std::move(parent))
    {
        if (parent_) path_ = parent_->path_ + std::string(name) + "/";
        struct stat st;
        if (::fstatat(fd, ".git", &st, AT_SYMLINK_NOFOLLOW) == 0 && (S_ISDIR(st.st_mode) || S_ISREG(st.st_mode))) {
            repository_top_ = true;
            const std::string exclude = InfoExcludeOf(fd, S_ISDIR(st.st_mode));
            if (!exclude.empty()) info_exclude_ = ReadRules(fd, exclude);
        }
        in_repository_ = repository_top_ || (parent_ && parent_->in_repository_);
        if (in_repository_) gitignore_ = ReadRules(fd, ".gitignore");
        dot_ignore_ = ReadRules(fd, ".ignore");
    }

    bool Ignores(std::string_view name, bool is_dir) const
    {
        std::string path;
        auto from = [&](const IgnoreLevel& level) -> const std::string& {
            path.assign(path_, level.path_.size(), std::string::npos);
            path += name;
            return path;
        };
        for (const IgnoreLevel* l = this; l; l = l->parent_.get()) {
            if (l->dot_ignore_.empty()) continue;
            const ignore::Verdict v = l->dot_ignore_.Match(from(*l), is_dir);
            if (v != ignore::Verdict::kNone) return v == ignore::Verdict::kIgnored;
        }
        for (const IgnoreLevel* l = this; l && l->in_repository_; l = l->parent_.get()) {
            ignore::Verdict v = l->gitignore_.empty() ? ignore::Verdict::kNone : l->gitignore_.Match(from(*l), is_dir);
            if (v == ignore::Verdict::kNone && l->repository_top_ && !l->info_exclude_.empty())
                v = l->info_exclude_.Match(from(*l), is_dir);
            if (v != ignore::Verdict::kNone) return v == ignore::Verdict::kIgnored;
            if (l->repository_top_) break;  // the rules of a repository around it stop here
        }
        return false;
    }

private:
    std::shared_ptr<const IgnoreLevel> parent_;
    std::string path_;  // from the outermost level, each name followed by '/'
    bool repository_top_ = false;
    bool in_repository_ = false;
    ignore::RuleFile gitignore_;
    ignore::RuleFile dot_ignore_;
    ignore::RuleFile info_exclude_;
};

FolderExclusions::FolderExclusions(const ExclusionChoice& choice, const std::string& top_path, int top_fd)
{
    auto names = std::make_shared<const NamePatterns>(choice.patterns);
    if (!names->empty()) names_ = std::move(names);
    if (!choice.ignore_files) return;

    // The folders above the top, up to the top of the repository that
    // holds it, when one does.
    std::string top = top_path;
    if (char* real = ::realpath(top_path.c_str(), nullptr)) {
        top = real;
        std::free(real);
    }
    std::vector<std::string> above;  // from the top's parent upwards
    bool found = false;
    {
        struct stat st;
        found = ::fstatat(top_fd, ".git", &st, AT_SYMLINK_NOFOLLOW) == 0;
    }
    for (std::string dir = top; !found && dir.size() > 1;) {
        const std::size_t slash = dir.rfind('/');
        if (slash == std::string::npos) break;
        dir.erase(slash == 0 ? 1 : slash);
        above.push_back(dir);
        struct stat st;
        found = ::stat(Below(dir, ".git").c_str(), &st) == 0;
    }
    if (!found) above.clear();
    std::shared_ptr<const IgnoreLevel> level;
    for (auto it = above.rbegin(); it != above.rend(); ++it) {
        const int fd = ::open(it->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            level.reset();  // a folder above that cannot be read breaks the chain
            continue;
        }
        const std::size_t slash = it->rfind('/');
        level = std::make_shared<const IgnoreLevel>(level, fd, std::string_view(*it).substr(slash + 1));
        ::close(fd);
    }
    const std::size_t slash = top.rfind('/');
    level_ = std::make_shared<const IgnoreLevel>(
        level, top_fd, slash == std::string::npos ? std::string_view(top) : std::string_view(top).substr(slash + 1));
}

FolderExclusions::~FolderExclusions() = default;

FolderExclusions FolderExclusions::SubFolder(int fd, std::string_view name) const
{
    FolderExclusions sub;
    sub.names_ = names_;
    if (level_) sub.level_ = std::make_shared<const IgnoreLevel>(level_, fd, name);
    return sub;
}

bool FolderExclusions::Excludes(std::string_view name, bool is_dir) const
{
    if (names_ && names_->Excludes(name, is_dir)) return true;
    if (!level_) return false;
    if (is_dir && name == kGitFolder) return true;
    return level_->Ignores(name, is_dir);
}

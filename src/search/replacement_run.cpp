#include "search/replacement_run.h"

#include "resources/strings.h"
#include "search/file_reading.h"
#include "search/matcher_factory.h"
#include "resources/format_text.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr ReplacementRun::Reason kReasonOrder[] = {
    ReplacementRun::Reason::kUnsaved,      ReplacementRun::Reason::kBinary,   ReplacementRun::Reason::kHidden,
    ReplacementRun::Reason::kReadOnly,     ReplacementRun::Reason::kOutside,  ReplacementRun::Reason::kNotOpened,
    ReplacementRun::Reason::kNoOccurrence, ReplacementRun::Reason::kNotSaved, ReplacementRun::Reason::kChangedSince,
    ReplacementRun::Reason::kNotKept,      ReplacementRun::Reason::kOverBudget,
};

int ReasonText(ReplacementRun::Reason reason)
{
    switch (reason) {
    case ReplacementRun::Reason::kUnsaved: return strings::kLeftUnsaved;
    case ReplacementRun::Reason::kBinary: return strings::kLeftBinary;
    case ReplacementRun::Reason::kHidden: return strings::kLeftHidden;
    case ReplacementRun::Reason::kReadOnly: return strings::kLeftReadOnly;
    case ReplacementRun::Reason::kNotOpened: return strings::kLeftNotOpened;
    case ReplacementRun::Reason::kNoOccurrence: return strings::kLeftNoOccurrence;
    case ReplacementRun::Reason::kNotSaved: return strings::kLeftNotSaved;
    case ReplacementRun::Reason::kOutside: return strings::kLeftOutside;
    case ReplacementRun::Reason::kNotKept: return strings::kLeftNotKept;
    case ReplacementRun::Reason::kChangedSince: return strings::kLeftChangedSince;
    case ReplacementRun::Reason::kOverBudget: return strings::kLeftOverBudget;
    }
    return 0;
}

} // namespace

bool HoldsNulByte(const std::string& path)
{
    file_reading::File file = file_reading::OpenRegularFile(path);
    if (!file.is_open()) return false;
    std::vector<char> block(file_reading::kBlockSize);
    bool found = false;
    bool at_end = false;
    while (!found && !at_end) {
        const std::size_t len = file_reading::Fill(file, block.data(), block.size(), at_end);
        found = std::memchr(block.data(), '\0', len) != nullptr;
    }
    file_reading::Close(file);
    return found;
}

namespace {

// The real path of `path`, links resolved; empty when it cannot be had.
std::string RealPath(const std::string& path)
{
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return {};
    std::string text(real);
    std::free(real);
    return text;
}

} // namespace

void ReplacementRun::Start(const std::vector<std::string>& top_dirs)
{
    seen_.clear();
    left_.clear();
    replaced_ = 0;
    roots_.clear();
    for (const std::string& dir : top_dirs)
        if (std::string real = RealPath(dir); !real.empty()) roots_.push_back(std::move(real));
}

bool ReplacementRun::InsideTree(const std::string& path) const
{
    if (roots_.empty()) return true;
    const std::string real = RealPath(path);
    for (const std::string& root : roots_) {
        if (real.size() <= root.size() || real.compare(0, root.size(), root) != 0) continue;
        if (root.back() == '/' || real[root.size()] == '/') return true;
    }
    return false;
}

ReplacementRun::Verdict ReplacementRun::Check(const std::string& path, bool in_hidden_directory)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        Leave(Reason::kNotOpened, path);
        return Verdict::kLeft;
    }
    if (!seen_.emplace(st.st_dev, st.st_ino).second) return Verdict::kSeenBefore;
    Reason reason;
    if (in_hidden_directory) reason = Reason::kHidden;
    else if (!InsideTree(path)) reason = Reason::kOutside;
    else if (HoldsNulByte(path)) reason = Reason::kBinary;
    else if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) reason = Reason::kReadOnly;
    else return Verdict::kReplace;
    Leave(reason, path);
    return Verdict::kLeft;
}

bool ReplacementRun::Replace(const std::string& path, const GrepOptions& options, const ReplacementGuard& guard)
{
    const std::unique_ptr<const Matcher> matcher = MakeMatcher(options);
    switch (ReplaceInTextFile(path, *matcher, options.replacement, options.show_lines, nullptr, guard)) {
    case FileReplacementOutcome::kReplaced: CountReplaced(path); return true;
    case FileReplacementOutcome::kNotOpened: Leave(Reason::kNotOpened, path); break;
    case FileReplacementOutcome::kNotFound: Leave(Reason::kNoOccurrence, path); break;
    case FileReplacementOutcome::kNotSaved: Leave(Reason::kNotSaved, path); break;
    case FileReplacementOutcome::kNotKept: Leave(Reason::kNotKept, path); break;
    case FileReplacementOutcome::kOverBudget: Leave(Reason::kOverBudget, path); break;
    case FileReplacementOutcome::kChangedSince: Leave(Reason::kChangedSince, path); break;
    }
    return false;
}

void ReplacementRun::CountReplaced(const std::string& path)
{
    ++replaced_;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) seen_.emplace(st.st_dev, st.st_ino);
}

void ReplacementRun::Leave(Reason reason, const std::string& path)
{
    left_.push_back({reason, path});
}

std::string ReplacementRun::SummaryText(std::size_t max_paths) const
{
    std::string text = FormatText(strings::Text(strings::kReplaceSummary), replaced_, static_cast<long>(left_.size()));
    std::size_t shown = 0;
    for (const Reason reason : kReasonOrder) {
        bool heading = false;
        for (const LeftFile& file : left_) {
            if (file.reason != reason || shown == max_paths) continue;
            if (!heading) {
                text += "\r\r";
                text += strings::Text(ReasonText(reason));
                heading = true;
            }
            text += "\r    ";
            text += file.path;
            ++shown;
        }
    }
    if (shown < left_.size())
        text += "\r\r" + FormatText(strings::Text(strings::kReplaceSummaryMore), static_cast<long>(left_.size() - shown));
    return text;
}

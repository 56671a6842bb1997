#include "tools/replacing_host.h"

#include "base/full_path.h"
#include "search/file_replacement.h"
#include "search/matcher_factory.h"
#include "search/unified_diff.h"

#include <sys/stat.h>

ReplacingHost::ReplacingHost(Mode mode, std::FILE* out)
    : CommandLineHost(out), mode_(mode), out_(out), current_directory_(FullPath("."))
{
}

void ReplacingHost::AppendHit(const GrepHit& hit)
{
    ++hits_;
    // A dry run's standard output is the diff alone.
    if (mode_ == Mode::kReplace) CommandLineHost::AppendHit(hit);
}

void ReplacingHost::ReplacementStarts(const std::string& top_dir)
{
    run_.Start({top_dir});
}

bool ReplacingHost::ReplaceInFile(const std::string& path, bool in_hidden_directory, GrepEngine::Options_t options)
{
    if (mode_ == Mode::kMeasure) {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0) measured_bytes_ += static_cast<std::uint64_t>(st.st_size);
        return false;
    }
    if (run_.Check(path, in_hidden_directory) != ReplacementRun::Verdict::kReplace) return false;
    if (mode_ == Mode::kReplace) return run_.Replace(path, options, {&journal_});
    const std::unique_ptr<const Matcher> matcher = MakeMatcher(options);
    FileOccurrences found;
    if (!FindOccurrences(path, *matcher, options.show_lines, found)) {
        run_.Leave(ReplacementRun::Reason::kNotOpened, path);
        return false;
    }
    const std::string diff =
        UnifiedDiff(DiffLabel(FullPath(path), current_directory_), found.bytes, found.spans, options.replacement);
    if (diff.empty()) {
        run_.Leave(ReplacementRun::Reason::kNoOccurrence, path);
        return false;
    }
    std::fwrite(diff.data(), 1, diff.size(), out_);
    run_.CountReplaced(path);
    return true;
}

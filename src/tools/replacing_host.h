#pragma once
// The grep tool's host when it replaces: each file with a hit passes the
// same checks as in the Grep window (ReplacementRun) and is replaced
// through the replacement journal, or, in a dry run, its change is
// printed as a unified diff instead. A first run of the kind kMeasure only
// adds up the sizes of the files with hits, so that a run too large for
// the journal can be refused before anything is written.

#include "search/replacement_journal.h"
#include "search/replacement_run.h"
#include "tools/command_line_host.h"

#include <cstdint>

class ReplacingHost : public CommandLineHost {
public:
    enum class Mode { kMeasure, kDryRun, kReplace };
    // Diffs name files against the current directory as it is now.
    explicit ReplacingHost(Mode mode, std::FILE* out = stdout);

    void AppendHit(const GrepHit& hit) override;
    void ReplacementStarts(const std::string& top_dir) override;
    bool ReplaceInFile(const std::string& path, bool in_hidden_directory, GrepEngine::Options_t options) override;

    // For kReplace: the journal to write (begun before the run).
    replacement_journal::Writer& journal() { return journal_; }
    const ReplacementRun& run() const { return run_; }
    long hits() const { return hits_; }
    std::uint64_t measured_bytes() const { return measured_bytes_; }

private:
    Mode mode_;
    std::FILE* out_;
    ReplacementRun run_;
    replacement_journal::Writer journal_;
    std::string current_directory_;
    long hits_ = 0;
    std::uint64_t measured_bytes_ = 0;
};

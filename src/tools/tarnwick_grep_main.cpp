// tarnwick-grep: the grep engine of the Grep window on the command line.

#include "search/grep_engine.h"
#include "search/replacement_journal.h"
#include "tools/command_line_host.h"
#include "tools/replacing_host.h"

#include <algorithm>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace {

const char kUsage[] =
    "Usage: tarnwick-grep [--case] [--words] [--subdirs] [--all-lines]\n"
    "                     [--exclude PATTERNS]... [--gitignore]\n"
    "                     [--text [--context N] | --json [--context N]] PATTERN PATH\n"
    "       tarnwick-grep [options] --replace TEXT [--dry-run] [--yes] PATTERN PATH\n"
    "       tarnwick-grep --list-replacements\n"
    "       tarnwick-grep --undo-replacement [RUN]\n"
    "\n"
    "Lists the lines of the files named by PATH that hold the literal text\n"
    "PATTERN, one line per hit: the file's path, a TAB and the line number.\n"
    "The final status line goes to standard error.\n"
    "\n"
    "  --case       match case (default: ASCII letters of either case match)\n"
    "  --words      whole words only: no letter or digit may touch the text\n"
    "  --subdirs    search every sub-directory as well, depth-first\n"
    "  --all-lines  list every matching line (default: the first per file)\n"
    "  --exclude PATTERNS  leave out files and folders whose names match\n"
    "  --gitignore  leave out what git ignores in the tree, and the .git folder\n"
    "  --text       add a TAB and the line's text (its bytes, line end dropped)\n"
    "  --context N  with --text: N lines before and after each hit, in grep's\n"
    "               form (path:line:text for a hit, path-line-text around it,\n"
    "               -- between groups); with --json: context messages\n"
    "  --json       one JSON message a line in ripgrep's --json form (begin,\n"
    "               match with submatches as byte offsets, context, end,\n"
    "               summary); a text that is not UTF-8 is {\"bytes\": base64}\n"
    "  --replace TEXT\n"
    "               replace the hits (every one with --all-lines, else the\n"
    "               first per file) by TEXT, as the Grep window does; each\n"
    "               file's original bytes are kept first, so the run can be\n"
    "               undone. Files left alone are listed on standard error.\n"
    "  --dry-run    with --replace: write nothing, print a unified diff of\n"
    "               every change instead (apply it with patch -p0)\n"
    "  --yes        with --replace: go on when the originals need more room\n"
    "               than the undo journal's budget\n"
    "  --list-replacements\n"
    "               list the replacement runs that can be undone, newest first\n"
    "  --undo-replacement [RUN]\n"
    "               give every file of the last run (or of RUN, as listed)\n"
    "               its original bytes back; files changed since are left\n"
    "  --help       show this text\n"
    "\n"
    "Exit status: 0 when a line was listed (a run listed or undone), 1 when\n"
    "none was, 2 for a usage error or a directory that cannot be searched.\n";

// More context lines than this are surely a typing error.
constexpr int kMostContext = 1000000;

constexpr const char* kTool = "tarnwick-grep";

int ListReplacements()
{
    const std::vector<replacement_journal::RunInfo> runs = replacement_journal::ListRuns();
    for (const auto& run : runs) std::printf("%s\t%s\n", run.id.c_str(), replacement_journal::DescribeRun(run).c_str());
    return runs.empty() ? 1 : 0;
}

int UndoReplacement(const std::vector<std::string>& operands)
{
    std::string id;
    if (operands.empty()) {
        const auto runs = replacement_journal::ListRuns();
        if (!runs.empty()) id = runs.front().id;
    } else {
        id = operands[0];
    }
    const replacement_journal::RestoreResult result =
        id.empty() ? replacement_journal::RestoreResult{} : replacement_journal::Restore(id);
    if (!result.found) {
        std::fprintf(
            stderr, "%s: %s\n", kTool,
            id.empty() ? "no replacement run to undo" : ("no replacement run " + id + " (or it is in use)").c_str());
        return 1;
    }
    std::fprintf(stderr, "Restored %ld files; %ld were never written; %zu changed since were left as they are.\n",
                 result.restored, result.untouched, result.changed.size());
    for (const std::string& path : result.changed) std::fprintf(stderr, "    changed since: %s\n", path.c_str());
    for (const std::string& path : result.failed) std::fprintf(stderr, "    could not be written: %s\n", path.c_str());
    return result.failed.empty() ? 0 : 1;
}

// The replacement's summary as the window shows it, a line per line.
void PrintSummary(const ReplacementRun& run)
{
    if (run.left().empty()) return;
    std::string text = run.SummaryText(run.left().size());
    std::replace(text.begin(), text.end(), '\r', '\n');
    std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    GrepEngine::Options_t o;
    bool dry_run = false, yes = false, list = false, undo = false;
    std::vector<std::string> operands;
    bool text = false, json = false;
    int context = -1;
    const int parsed = ParseToolArguments(argc, argv, kTool, kUsage,
                                          {{"--case", &o.case_sensitive},
                                           {"--words", &o.whole_words},
                                           {"--subdirs", &o.sub_dir},
                                           {"--all-lines", &o.show_lines},
                                           {"--gitignore", &o.exclusions.ignore_files},
                                           {"--text", &text},
                                           {"--json", &json},
                                           {"--context", nullptr, nullptr, &context, kMostContext},
                                           {"--replace", &o.replace, &o.replacement},
                                           {"--dry-run", &dry_run},
                                           {"--yes", &yes},
                                           {"--list-replacements", &list},
                                           {"--undo-replacement", &undo}},
                                          kAnyOperandCount, operands, {{"--exclude", &o.exclusions.patterns}});
    if (parsed >= 0) return parsed;
    if (list || undo) {
        if (list && undo)
            return UsageFault(kTool, kUsage, "--list-replacements and --undo-replacement exclude each other");
        if (operands.size() > (undo ? 1u : 0u)) return UsageFault(kTool, kUsage, "wrong number of arguments");
        return list ? ListReplacements() : UndoReplacement(operands);
    }
    if (operands.size() != 2) return UsageFault(kTool, kUsage, "wrong number of arguments");
    for (const std::string& operand : operands)
        if (operand.empty()) return UsageFault(kTool, kUsage, "an argument is empty");
    if (text && json) return UsageFault(kTool, kUsage, "--text and --json exclude each other");
    if (context >= 0 && !text && !json) return UsageFault(kTool, kUsage, "--context needs --text or --json");
    if ((text || json) && o.replace) return UsageFault(kTool, kUsage, "--text and --json do not go with --replace");
    if ((dry_run || yes) && !o.replace) return UsageFault(kTool, kUsage, "--dry-run and --yes go with --replace");
    if (o.replace && o.replacement.empty()) return UsageFault(kTool, kUsage, "the replacement text is empty");
    o.pattern = operands[0];
    o.path = SearchPathArgument(operands[1]);
    if (!o.replace) {
        CommandLineHost host;
        GrepEngine engine(host);
        engine.options = o;
        const TextMatcher matcher(o.pattern, o.case_sensitive, o.whole_words);
        if (text || json) {
            const auto form = json ? HitPrinter::Form::kJson
                                   : (context >= 0 ? HitPrinter::Form::kContext : HitPrinter::Form::kText);
            host.PrintHitsAs(std::make_unique<HitPrinter>(form, std::max(context, 0), matcher));
            engine.keep_line_texts = true;
        }
        const bool entered = engine.RunSearch();
        host.FinishHits(engine.files);
        return host.Finish(entered);
    }

    if (!dry_run && !yes) {
        // The size of the originals before anything is written.
        const int start_dir = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ReplacingHost measure(ReplacingHost::Mode::kMeasure);
        GrepEngine engine(measure);
        engine.options = o;
        engine.RunSearch();
        if (start_dir < 0 || ::fchdir(start_dir) != 0) {
            std::fprintf(stderr, "%s: the current directory cannot be entered again\n", kTool);
            return kUsageError;
        }
        ::close(start_dir);
        if (measure.measured_bytes() > replacement_journal::kMaxBytes) {
            std::fprintf(stderr,
                         "%s: the files to replace hold %llu MB, more than the %llu MB the undo journal keeps;\n"
                         "nothing was replaced. Run again with --yes to replace them all the same (older runs\n"
                         "are then dropped from the journal).\n",
                         kTool, static_cast<unsigned long long>(measure.measured_bytes() >> 20),
                         static_cast<unsigned long long>(replacement_journal::kMaxBytes >> 20));
            return 1;
        }
    }
    ReplacingHost host(dry_run ? ReplacingHost::Mode::kDryRun : ReplacingHost::Mode::kReplace);
    if (!dry_run) {
        if (!host.journal().Begin(o.pattern, o.replacement)) {
            std::fprintf(stderr, "%s: the undo journal cannot be written; nothing was replaced\n", kTool);
            return 1;
        }
        if (yes) host.journal().AllowOverBudget();
    }
    GrepEngine engine(host);
    engine.options = o;
    engine.replacement_is_dry_run = dry_run;
    const bool entered = engine.RunSearch();
    host.journal().End();
    const int code = host.Finish(entered);
    PrintSummary(host.run());
    if (!host.journal().id().empty() && host.journal().files() > 0)
        std::fprintf(stderr, "Undo with: %s --undo-replacement %s\n", kTool, host.journal().id().c_str());
    return code == 1 && host.hits() > 0 ? 0 : code;
}

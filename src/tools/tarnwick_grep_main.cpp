// tarnwick-grep: the grep engine of the Grep window on the command line.

#include "tools/command_line_host.h"
#include "search/grep_engine.h"

#include <algorithm>
#include <memory>

namespace {

const char kUsage[] =
    "Usage: tarnwick-grep [--case] [--words] [--subdirs] [--all-lines]\n"
    "                     [--exclude PATTERNS]... [--gitignore]\n"
    "                     [--text [--context N] | --json [--context N]] PATTERN PATH\n"
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
    "  --help       show this text\n"
    "\n"
    "Exit status: 0 when a line was listed, 1 when none was, 2 for a usage\n"
    "error or a directory that cannot be searched.\n";

// More context lines than this are surely a typing error.
constexpr int kMostContext = 1000000;

} // namespace

int main(int argc, char** argv)
{
    CommandLineHost host;
    GrepEngine engine(host);
    GrepEngine::Options_t& o = engine.options;
    std::vector<std::string> operands;
    bool text = false, json = false;
    int context = -1;
    const int parsed = ParseToolArguments(argc, argv, "tarnwick-grep", kUsage,
                                          {{"--case", &o.case_sensitive},
                                           {"--words", &o.whole_words},
                                           {"--subdirs", &o.sub_dir},
                                           {"--all-lines", &o.show_lines},
                                           {"--gitignore", &o.exclusions.ignore_files},
                                           {"--text", &text},
                                           {"--json", &json},
                                           {"--context", nullptr, &context, kMostContext}},
                                          2, operands, {{"--exclude", &o.exclusions.patterns}});
    if (parsed >= 0) return parsed;
    if ((text && json) || (context >= 0 && !text && !json)) {
        std::fprintf(stderr, "tarnwick-grep: %s\n\n%s\n%s",
                     text && json ? "--text and --json exclude each other" : "--context needs --text or --json",
                     kUsage, kPathHelp);
        return kUsageError;
    }
    o.pattern = operands[0];
    o.path = SearchPathArgument(operands[1]);
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

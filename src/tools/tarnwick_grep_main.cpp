// tarnwick-grep: the grep engine of the Grep window on the command line.

#include "tools/command_line_host.h"
#include "search/grep_engine.h"

namespace {

const char kUsage[] =
    "Usage: tarnwick-grep [--case] [--words] [--subdirs] [--all-lines]\n"
    "                     [--exclude PATTERNS]... [--gitignore] PATTERN PATH\n"
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
    "  --help       show this text\n"
    "\n"
    "Exit status: 0 when a line was listed, 1 when none was, 2 for a usage\n"
    "error or a directory that cannot be searched.\n";

} // namespace

int main(int argc, char** argv)
{
    CommandLineHost host;
    GrepEngine engine(host);
    GrepEngine::Options_t& o = engine.options;
    std::vector<std::string> operands;
    const int parsed = ParseToolArguments(argc, argv, "tarnwick-grep", kUsage,
                                          {{"--case", &o.case_sensitive},
                                           {"--words", &o.whole_words},
                                           {"--subdirs", &o.sub_dir},
                                           {"--all-lines", &o.show_lines},
                                           {"--gitignore", &o.exclusions.ignore_files}},
                                          2, operands, {{"--exclude", &o.exclusions.patterns}});
    if (parsed >= 0) return parsed;
    o.pattern = operands[0];
    o.path = SearchPathArgument(operands[1]);
    const bool entered = engine.RunSearch();
    return host.Finish(entered);
}

// tarnwick-count: the line counter of the Line Count window on the command
// line.

#include "tools/command_line_host.h"
#include "search/line_counter.h"

namespace {

const char kUsage[] =
    "Usage: tarnwick-count [--subdirs] [--exclude PATTERNS]... [--gitignore] PATH\n"
    "\n"
    "Lists the line count of every file named by PATH: the file's path, a TAB\n"
    "and the number of lines (a last line without a line feed counts, an\n"
    "empty file has 0). The final status line, with the total, goes to\n"
    "standard error.\n"
    "\n"
    "  --subdirs    count in every sub-directory as well, depth-first\n"
    "  --exclude PATTERNS  leave out files and folders whose names match\n"
    "  --gitignore  leave out what git ignores in the tree, and the .git folder\n"
    "  --help       show this text\n"
    "\n"
    "Exit status: 0 when a file was listed, 1 when none was, 2 for a usage\n"
    "error or a directory that cannot be searched.\n";

} // namespace

int main(int argc, char** argv)
{
    CommandLineHost host;
    LineCounter counter(host);
    std::vector<std::string> operands;
    const int parsed = ParseToolArguments(argc, argv, "tarnwick-count", kUsage,
                                          {{"--subdirs", &counter.options.sub_dir},
                                           {"--gitignore", &counter.options.exclusions.ignore_files}},
                                          1, operands, {{"--exclude", &counter.options.exclusions.patterns}});
    if (parsed >= 0) return parsed;
    counter.options.path = SearchPathArgument(operands[0]);
    const bool entered = counter.RunCount(true);
    return host.Finish(entered);
}

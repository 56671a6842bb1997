#include "app/start_options.h"

#include "settings/settings_path.h"
#include "version_info.h"

#include <string_view>

namespace {

const char kUsage[] =
    "Usage: tarnwick [FILE]...\n"
    "\n"
    "Starts the Tarnwick frame and opens each FILE in a text window.\n"
    "Grep and Line Count are in its File menu; the same searches run on the\n"
    "command line as tarnwick-grep and tarnwick-count.\n"
    "\n"
    "  -h, --help  show this text and exit\n"
    "  --version   show the version and exit\n"
    "\n"
    "Settings file: %s\n"
    "  (beside the program when its directory can be written, otherwise\n"
    "  $XDG_CONFIG_HOME/tarnwick/TARNWICK.INI, by default in ~/.config;\n"
    "  the environment variable TARNWICK_INI names another file)\n";

} // namespace

std::optional<int> AnswerStartOption(int argc, char** argv, std::FILE* out)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fprintf(out, kUsage, SettingsLocation().c_str());
            return 0;
        }
        if (arg == "--version") {
            std::fprintf(out, "tarnwick %s\n", version_info::kProductVersion);
            return 0;
        }
    }
    return std::nullopt;
}

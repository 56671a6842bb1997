#include "tools/command_line_host.h"

#include <charconv>
#include <cstring>

namespace {

constexpr std::size_t kFlushSize = 256 * 1024;

} // namespace

CommandLineHost::CommandLineHost(std::FILE* out) : out_(out)
{
    pending_.reserve(kFlushSize + 4096);
}

CommandLineHost::~CommandLineHost()
{
    Flush();
}

void CommandLineHost::AppendHit(const GrepHit& hit)
{
    if (!printer_) {
        AppendLine(hit.path, hit.line);
        return;
    }
    printer_->Hit(pending_, hit);
    ++listed_;
    if (pending_.size() >= kFlushSize) Flush();
}

void CommandLineHost::FinishHits(long files_searched)
{
    if (printer_) printer_->Finish(pending_, files_searched);
}

void CommandLineHost::AppendCount(const CountResult& count)
{
    AppendLine(count.path, count.lines);
}

void CommandLineHost::AppendLine(std::string_view path, long number)
{
    AppendResultLine(pending_, path, static_cast<std::uint64_t>(number));
    pending_ += '\n';
    ++listed_;
    if (pending_.size() >= kFlushSize) Flush();
}

void CommandLineHost::Flush()
{
    if (pending_.empty()) return;
    std::fwrite(pending_.data(), 1, pending_.size(), out_);
    std::fflush(out_);
    pending_.clear();
}

int CommandLineHost::Finish(bool top_directory_entered, std::FILE* err)
{
    Flush();
    if (!status_.empty()) std::fprintf(err, "%s\n", status_.c_str());
    if (!top_directory_entered) return kUsageError;
    return listed_ > 0 ? 0 : 1;
}

const char kPathHelp[] =
    "PATH is a directory, '/' and a file name pattern (\"src/*.c\"; '*' any run\n"
    "of characters, '?' one character, letters of either case; \"*.*\" every\n"
    "file), or a directory alone, which means every file in it. Hidden files\n"
    "(names starting with '.') and anything that is not a regular file are\n"
    "skipped; links to directories are not followed.\n"
    "\n"
    "PATTERNS of --exclude are file name patterns separated by ';'\n"
    "(\"*.min.js;node_modules/;build*/\"), each matching names of files and\n"
    "folders, or of folders only when it ends in '/'; an excluded folder is not\n"
    "entered. --gitignore reads the .gitignore files of the tree and of the\n"
    "folders above it up to the repository's top, .git/info/exclude and .ignore\n"
    "files, as git does. Files and folders left out are counted in the status.\n";

int UsageFault(const char* tool, const char* usage, const std::string& what)
{
    std::fprintf(stderr, "%s: %s\n\n%s\n%s", tool, what.c_str(), usage, kPathHelp);
    return kUsageError;
}

int ParseToolArguments(int argc, char** argv, const char* tool, const char* usage,
                       std::initializer_list<ToolSwitch> switches, std::size_t operand_count,
                       std::vector<std::string>& operands, std::initializer_list<ToolListOption> list_options)
{
    const auto fault = [&](const std::string& what) { return UsageFault(tool, usage, what); };
    bool switches_done = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (switches_done || arg[0] != '-' || arg[1] == '\0') {
            operands.emplace_back(arg);
            continue;
        }
        if (std::strcmp(arg, "--") == 0) {
            switches_done = true;
            continue;
        }
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            std::printf("%s\n%s", usage, kPathHelp);
            return 0;
        }
        bool known = false;
        for (const ToolListOption& o : list_options) {
            const std::size_t length = std::strlen(o.name);
            if (std::strncmp(arg, o.name, length) != 0 || (arg[length] != '\0' && arg[length] != '=')) continue;
            const char* value = arg[length] == '=' ? arg + length + 1 : (i + 1 < argc ? argv[++i] : nullptr);
            if (!value) return fault(std::string("option ") + o.name + " needs a value");
            if (!o.list->empty()) *o.list += ';';
            *o.list += value;
            known = true;
        }
        for (const ToolSwitch& s : switches) {
            const std::size_t name_length = std::strlen(s.name);
            if (s.number && std::strncmp(arg, s.name, name_length) == 0 &&
                (arg[name_length] == '\0' || arg[name_length] == '=')) {
                const char* value = arg[name_length] == '=' ? arg + name_length + 1 : (i + 1 < argc ? argv[++i] : "");
                int n = 0;
                const char* end = value + std::strlen(value);
                const auto read = std::from_chars(value, end, n);
                if (*value == '\0' || read.ec != std::errc() || read.ptr != end || n < 0 || n > s.most)
                    return fault(std::string("bad number for ") + s.name + ": " + value);
                *s.number = n;
                known = true;
            } else if (!s.number && std::strcmp(arg, s.name) == 0) {
                if (s.text) {
                    if (i + 1 == argc) return fault(std::string(arg) + " needs a value");
                    *s.text = argv[++i];
                }
                *s.value = true;
                known = true;
            }
        }
        if (!known) return fault(std::string("unknown option ") + arg);
    }
    if (operand_count != kAnyOperandCount && operands.size() != operand_count) return fault("wrong number of arguments");
    if (operand_count == kAnyOperandCount) return -1;
    for (const std::string& operand : operands)
        if (operand.empty()) return fault("an argument is empty");
    return -1;
}

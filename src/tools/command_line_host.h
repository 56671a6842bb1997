#pragma once
// What the command-line tools share: a host that prints result lines on
// standard output (well buffered) and keeps the last status line for
// standard error, and the tools' reading of a PATH argument.

#include "search/grep_engine.h"
#include "search/search_path_rule.h"  // SearchPathArgument
#include "tools/hit_printer.h"

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <vector>
#include <string>
#include <string_view>

class CommandLineHost : public GrepHost {
public:
    explicit CommandLineHost(std::FILE* out = stdout);
    ~CommandLineHost() override;

    void ClearResults() override {}
    void AppendHit(const GrepHit& hit) override;
    void AppendCount(const CountResult& count) override;
    void SetStatusText(std::string_view text) override { status_.assign(text); }
    void PumpWaitingEvents() override {}
    bool ReplaceInFile(const std::string&, bool, GrepEngine::Options_t) override { return false; }

    // Hits are printed in `printer`'s form rather than as result lines.
    void PrintHitsAs(std::unique_ptr<HitPrinter> printer) { printer_ = std::move(printer); }
    // What the printer owes after the last hit (`files_searched` files).
    void FinishHits(long files_searched);

    long listed() const { return listed_; }
    const std::string& status() const { return status_; }

    // Flushes the results, writes the status line to `err` and returns the
    // exit code: 2 when the top directory was invalid, else 0 when
    // something was listed and 1 when nothing was.
    int Finish(bool top_directory_entered, std::FILE* err = stderr);

private:
    void Flush();
    void AppendLine(std::string_view path, long number);

    std::FILE* out_;
    std::string pending_;
    std::string status_;
    long listed_ = 0;
    std::unique_ptr<HitPrinter> printer_;
};

// Exit code of a usage error.
constexpr int kUsageError = 2;

// The help text's paragraph on PATH, shared by both tools.
extern const char kPathHelp[];

// A switch of a tool: "--name" sets `*value`; with `text`, the argument
// after it is its value; with `number` given instead of `value`,
// "--name N" or "--name=N" stores N (0 up to `most`).
struct ToolSwitch {
    const char* name;
    bool* value;
    std::string* text = nullptr;
    int* number = nullptr;
    int most = 0;
};

// An option of a tool that takes a value, "--name VALUE" or "--name=VALUE",
// and may be given again: each value is added to `*list`, after a ';'
// when the list holds one already.
struct ToolListOption {
    const char* name;
    std::string* list;
};

// Any number of operands: the tool checks them itself.
inline constexpr std::size_t kAnyOperandCount = static_cast<std::size_t>(-1);

// Prints the fault and the usage; returns kUsageError.
int UsageFault(const char* tool, const char* usage, const std::string& what);

// Reads the arguments: switches and options anywhere (until "--"),
// everything else an operand. Prints `usage` and returns 0 for --help,
// prints the fault and the usage and returns kUsageError for an unknown
// switch, an option without its value or a wrong number of operands
// (unless kAnyOperandCount), returns -1 when the tool should run.
int ParseToolArguments(int argc, char** argv, const char* tool, const char* usage,
                       std::initializer_list<ToolSwitch> switches, std::size_t operand_count,
                       std::vector<std::string>& operands, std::initializer_list<ToolListOption> list_options = {});

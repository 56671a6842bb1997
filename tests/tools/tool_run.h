#pragma once
// Runs a command-line tool as a user would, catching its output streams
// and exit code.

#include "support/temp_tree.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>

struct ToolRun {
    int exit_code = -1;
    std::string out, err;
};

// `arguments` as the shell reads them, run in the directory `cwd` (the
// test's own when empty); the streams go through files in `scratch`.
inline ToolRun RunTool(const TempTree& scratch, const std::string& tool, const std::string& arguments,
                       const std::string& cwd = {})
{
    const std::string out = scratch.Path("stdout"), err = scratch.Path("stderr");
    const std::string command = (cwd.empty() ? "" : "cd '" + cwd + "' && ") + "'" + tool + "' " + arguments + " >'" +
                                out + "' 2>'" + err + "'";
    const int status = std::system(command.c_str());
    ToolRun run;
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = scratch.Read("stdout");
    run.err = scratch.Read("stderr");
    return run;
}

// A shell word that the shell leaves alone (no wildcard expansion).
inline std::string Quoted(const std::string& text)
{
    return "'" + text + "'";
}

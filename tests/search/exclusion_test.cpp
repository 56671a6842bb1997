// Exclusions of a run: the Exclude patterns, the ignore files checked
// against git itself on generated repositories, and what the status says.

#include "recording_host.h"
#include "search/grep_engine.h"
#include "search/ignore_rules.h"
#include "search/line_counter.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Paths = std::set<std::string>;

// The files a line count lists below `top`, relative to it.
struct Count {
    RecordingHost host;
    LineCounter counter{host};

    Paths Run(const std::string& top, const std::string& exclude, bool gitignore, bool ahead = false)
    {
        counter.options.path = top + "/*.*";
        counter.options.sub_dir = true;
        counter.options.exclusions = {exclude, gitignore};
        counter.scan_ahead = ahead;
        const fs::path cwd = fs::current_path();  // the run makes its top folder current
        counter.RunCount(true);
        fs::current_path(cwd);
        const std::string prefix = Canonical(top) + "/";
        Paths listed;
        for (const std::string& line : host.results) {
            const std::string path = line.substr(0, line.find('\t'));
            listed.insert(path.compare(0, prefix.size(), prefix) == 0 ? path.substr(prefix.size()) : path);
        }
        return listed;
    }
};

TEST(ExcludePatterns, NamesOfFilesAndFoldersAreLeftOutAndCounted)
{
    TempTree t;
    for (const char* f : {"app.js", "app.min.js", "lib/x.MIN.JS", "lib/keep.c", "node_modules/a/b.js",
                          "node_modules/c.js", "build-x/o.c", "build-y/sub/o.c", "buildnote.txt", "src/build/z.c"})
        t.Write(f, "x\n");
    struct Case {
        const char* patterns;
        Paths listed;
        const char* status_tail;
    } cases[] = {
        {"",
         {"app.js", "app.min.js", "lib/x.MIN.JS", "lib/keep.c", "node_modules/a/b.js", "node_modules/c.js",
          "build-x/o.c", "build-y/sub/o.c", "buildnote.txt", "src/build/z.c"},
         "lines."},
        // The example of the help text; letters of either case; a folder is not
        // entered, so the files below it are not counted one by one.
        {"*.min.js;node_modules/;build*/",
         {"app.js", "lib/keep.c", "buildnote.txt"},
         "  Excluded: 2 files, 4 folders."},
        // Without the '/', a pattern takes files and folders alike; spaces and
        // empty items between the ';' count for nothing.
        {" build* ;; ",
         {"app.js", "app.min.js", "lib/x.MIN.JS", "lib/keep.c", "node_modules/a/b.js", "node_modules/c.js"},
         "  Excluded: 1 files, 3 folders."},
        {"o.c/;a",
         {"app.js", "app.min.js", "lib/x.MIN.JS", "lib/keep.c", "node_modules/c.js", "build-x/o.c", "build-y/sub/o.c",
          "buildnote.txt", "src/build/z.c"},
         "  Excluded: 0 files, 1 folders."},
    };
    for (const Case& c : cases) {
        for (const bool ahead : {false, true}) {
            SCOPED_TRACE(std::string(c.patterns) + (ahead ? " (scanning ahead)" : ""));
            Count count;
            EXPECT_EQ(count.Run(t.root(), c.patterns, false, ahead), c.listed);
            const std::string status = count.host.last_status();
            EXPECT_EQ(status.substr(status.size() - std::string(c.status_tail).size()), c.status_tail);
            EXPECT_EQ(count.counter.files, static_cast<long>(c.listed.size()));
        }
    }
}

TEST(ExcludePatterns, GrepSummaryKeepsItsTextAndAddsTheExcludedCount)
{
    TempTree t;
    t.Write("a.txt", "needle\n");
    t.Write("b.log", "needle\n");
    t.Write("skip/c.txt", "needle\n");
    const fs::path cwd = fs::current_path();
    RecordingHost host;
    GrepEngine engine(host);
    engine.options.pattern = "needle";
    engine.options.path = t.root() + "/*.*";
    engine.options.sub_dir = true;
    engine.options.exclusions.patterns = "*.log;skip/";
    engine.RunSearch();
    EXPECT_EQ(host.last_status(), "Processed 1 files.  Found 1 matches.  Excluded: 1 files, 1 folders.");
    // The counters start afresh with the next run.
    engine.options.exclusions.patterns.clear();
    engine.RunSearch();
    EXPECT_EQ(host.last_status(), "Processed 3 files.  Found 3 matches.");
    fs::current_path(cwd);
}

// ---- the ignore files, with git as the judge ----

std::string Quote(const std::string& s)
{
    std::string q = "'";
    for (const char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs git in `dir`; its standard output, or nullopt when it failed.
std::optional<std::string> Git(const std::string& dir, const std::string& args)
{
    const std::string command = "git -C " + Quote(dir) + " " + args + " 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    return ::pclose(pipe) == 0 ? std::optional<std::string>(out) : std::nullopt;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::size_t feed; (feed = text.find('\0', at)) != std::string::npos; at = feed + 1)
        lines.push_back(text.substr(at, feed - at));
    return lines;
}

bool Hidden(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return path[slash == std::string::npos ? 0 : slash + 1] == '.';
}

// What git leaves of the tree below `dir`: the untracked files it does
// not ignore, repository by repository (git names a repository inside
// another as a folder of its own), every file where no repository is.
void GitListing(const fs::path& dir, const std::string& prefix, Paths& out)
{
    if (Git(dir, "rev-parse --is-inside-work-tree")) {
        for (const std::string& line : Lines(*Git(dir, "ls-files -z --others --exclude-standard"))) {
            if (!line.empty() && line.back() == '/')
                GitListing(dir / line, prefix + line, out);
            else if (!Hidden(line))
                out.insert(prefix + line);
        }
        return;
    }
    for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        if (e.is_directory())
            GitListing(e.path(), prefix + name + "/", out);
        else if (name.front() != '.')
            out.insert(prefix + name);
    }
}

class IgnoreFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!Git(".", "--version")) GTEST_SKIP() << "git is not installed: the ignore rules are not checked";
        // No user's or system's settings (core.excludesFile among them).
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "GIT_CONFIG_NOSYSTEM", "GIT_DIR", "GIT_WORK_TREE"}) {
            const char* old = std::getenv(name);
            saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        }
        ::setenv("HOME", home_.root().c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", home_.root().c_str(), 1);
        ::setenv("GIT_CONFIG_NOSYSTEM", "1", 1);
        ::unsetenv("GIT_DIR");
        ::unsetenv("GIT_WORK_TREE");
    }
    void TearDown() override
    {
        for (const auto& [name, value] : saved_) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }

    // Writes `files` (name: text) below the tree and makes a repository in
    // each of `repositories`.
    void Make(const std::map<std::string, std::string>& files, const std::vector<std::string>& repositories)
    {
        for (const std::string& repo : repositories) {
            tree_->MakeDir(repo);
            ASSERT_TRUE(Git(tree_->Path(repo), "init -q ."));
        }
        for (const auto& [name, text] : files) tree_->Write(name, text);
    }

    // Our listing below `top` against git's.
    void Check(const std::string& top = ".")
    {
        const std::string dir = tree_->Path(top);
        Paths expected;
        GitListing(dir, "", expected);
        for (const bool ahead : {false, true}) {
            SCOPED_TRACE(ahead ? "scanning ahead" : "walk alone");
            Count count;
            EXPECT_EQ(count.Run(dir, "", true, ahead), expected);
        }
    }

    std::unique_ptr<TempTree> tree_ = std::make_unique<TempTree>();

private:
    TempTree home_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(IgnoreFiles, PatternsOfOneFileDecideAsGitDoes)
{
    Make({{".gitignore",
           "# a comment\n"
           "*.log\n!keep.log\n"
           "build/\n/rooted.txt\ndocs/*.md\n**/deep/x\na/**/z\ntrail/**\n!trail/back\n"
           "\\#hash\n\\!bang\nspace\\ \nspaces   \n[abc].c\n[!a]x.c\n[[:digit:]]*.num\n?.one\n"
           "out/\n!out/keep\ncrlf\r\n"},
          {"x.log", ""},
          {"sub/keep.log", ""},
          {"sub/y.log", ""},
          {"build/o", ""},
          {"src/build/o", ""},
          {"rooted.txt", ""},
          {"src/rooted.txt", ""},
          {"docs/a.md", ""},
          {"docs/n/a.md", ""},
          {"src/docs/a.md", ""},
          {"p/q/deep/x", ""},
          {"deep/x", ""},
          {"a/z", ""},
          {"a/b/c/z", ""},
          {"b/a/z", ""},
          {"trail/t", ""},
          {"trail/back", ""},
          {"trail/u/v", ""},
          {"#hash", ""},
          {"!bang", ""},
          {"space ", ""},
          {"space", ""},
          {"spaces", ""},
          {"a.c", ""},
          {"d.c", ""},
          {"ax.c", ""},
          {"bx.c", ""},
          {"1st.num", ""},
          {"x1.num", ""},
          {"q.one", ""},
          {"qq.one", ""},
          {"out/keep", ""},
          {"out/o", ""},
          {"crlf", ""},
          {"plain.txt", ""}},
         {"."});
    Check();
}

TEST_F(IgnoreFiles, NestedFilesAndInfoExcludeDecideAsGitDoes)
{
    Make({{".gitignore", "*.tmp\n/local\ncache/\n"},
          {"sub/.gitignore", "!*.tmp\nlocal\n/anchored\n"},
          {"sub/deeper/.gitignore", "*.tmp\n!x.tmp\n"},
          {"a.tmp", ""},
          {"local", ""},
          {"sub/a.tmp", ""},
          {"sub/local", ""},
          {"sub/anchored", ""},
          {"sub/deeper/anchored", ""},
          {"sub/deeper/a.tmp", ""},
          {"sub/deeper/x.tmp", ""},
          {"cache", ""},
          {"sub/cache/c", ""},
          {"info-excluded.txt", ""},
          {"sub/info-excluded.txt", ""}},
         {"."});
    tree_->Write(".git/info/exclude", "info-excluded.txt\n");
    Check();
}

TEST_F(IgnoreFiles, RepositoriesInsideAndAboveTheSearchedFolder)
{
    // The top is no repository: its .gitignore means nothing, that of the
    // repository inside it applies there; a repository inside a repository
    // does not see the rules of the outer one.
    Make({{".gitignore", "*.c\n"},
          {"plain.c", ""},
          {"inner/.gitignore", "*.o\n"},
          {"inner/a.o", ""},
          {"inner/a.c", ""},
          {"inner/sub/b.o", ""},
          {"inner/sub/b.h", ""},
          {"inner/nested/.gitignore", "*.h\n"},
          {"inner/nested/n.o", ""},
          {"inner/nested/n.h", ""}},
         {"inner", "inner/nested"});
    Check();
    // Started below the repository's top, the rules above still hold, the
    // anchored ones from their own folder.
    tree_->Write("inner/.gitignore", "*.o\n/sub/only.txt\nsub/two/*.txt\n");
    tree_->Write("inner/sub/only.txt", "");
    tree_->Write("inner/sub/two/t.txt", "");
    tree_->Write("inner/sub/two/t.md", "");
    Check("inner/sub");
}

TEST_F(IgnoreFiles, GeneratedPatternsDecideAsGitDoes)
{
    const std::vector<std::string> folders = {"", "a/", "b/", "a/b/", "a/c/", "b/a/", "d/e/f/", "build/"};
    const std::vector<std::string> names = {"x.c", "y.log", "an", "b.txt", "ab"};
    const std::vector<std::string> heads = {"", "", "/", "**/", "a/", "*/", "a/**/"};
    const std::vector<std::string> cores = {"a", "b", "*.c", "*.log", "?b", "[ab]*", "x*", "*", "a*b", "b.txt", "e"};
    const std::vector<std::string> tails = {"", "", "/", "/**", "/*.c", "/x.c"};
    unsigned seed = 12345;
    auto pick = [&seed](const std::vector<std::string>& from) -> const std::string& {
        seed = seed * 1103515245u + 12345u;
        return from[(seed >> 16) % from.size()];
    };
    for (int round = 0; round < 24; ++round) {
        tree_ = std::make_unique<TempTree>();
        std::map<std::string, std::string> files;
        for (const std::string& f : folders)
            for (const std::string& n : names) files[f + n] = "";
        for (const std::string& where : {std::string(), pick(folders)}) {
            std::string rules;
            for (int i = 0; i < 4; ++i)
                rules += (pick(names) == "an" ? "!" : "") + pick(heads) + pick(cores) + pick(tails) + "\n";
            files[where + ".gitignore"] += rules;
        }
        SCOPED_TRACE("round " + std::to_string(round) + "\n" + files[".gitignore"]);
        Make(files, {"."});
        Check();
    }
}

TEST(DotIgnoreFiles, ApplyOutsideRepositoriesAndDecideBeforeGitignore)
{
    TempTree t;
    t.Write(".ignore", "*.bak\n");
    t.Write("a.bak", "");
    t.Write("a.txt", "");
    t.Write("repo/.gitignore", "*.log\nvendor/\n");
    t.Write("repo/.ignore", "!keep.log\n");
    t.MakeDir("repo/.git");
    t.Write("repo/x.log", "");
    t.Write("repo/keep.log", "");
    t.Write("repo/b.bak", "");
    t.Write("repo/vendor/v.c", "");
    Count count;
    EXPECT_EQ(count.Run(t.root(), "", true), (Paths{"a.txt", "repo/keep.log"}));
    EXPECT_EQ(count.counter.excluded_files, 3);
    EXPECT_EQ(count.counter.excluded_dirs, 2);  // vendor and .git
    // Off, the same tree lists every file.
    EXPECT_EQ(count.Run(t.root(), "", false).size(), 6u);
}

TEST(IgnoreGlob, EdgesOfTheMatcher)
{
    struct Case {
        const char* glob;
        const char* path;
        bool matches;
    } cases[] = {
        {"a/**/b", "a/b", true},     {"a/**/b", "a/x/y/b", true}, {"**/b", "b", true},     {"a/**", "a/x/y", true},
        {"a/**", "a", false},        {"a*b", "a/b", false},       {"a**b", "ax/b", false}, {"[]]", "]", true},
        {"[!]]", "a", true},         {"[a-c]", "b", true},        {"[a-c]", "/", false},   {"[[:upper:]]", "Q", true},
        {"[[:upper:]]", "q", false}, {"\\*", "*", true},          {"\\*", "x", false},     {"[a", "[a", false},
        {"*.c", "x.c", true},        {"*.c", "d/x.c", false},
    };
    for (const Case& c : cases) EXPECT_EQ(ignore::GlobMatches(c.glob, c.path), c.matches) << c.glob << " on " << c.path;
}

}  // namespace

// Runs that scan ahead on a second thread report exactly what the same run
// on one thread reports: the same result lines, status texts and pumps in
// the same order, the same stop point, the same replacement hand-offs on
// the caller's thread, also when files change under the run.

#include "recording_host.h"
#include "search/grep_engine.h"
#include "search/line_counter.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Everything a run told its host.
struct Report {
    std::vector<std::string> results;
    std::vector<std::string> statuses;
    std::vector<std::string> replaced;
    int pumps = 0;
    long files = 0;
    long numbers = 0;  // matches or lines
    bool operator==(const Report&) const = default;
};

// Keeps the process's current directory across a run (runs change it);
// one that has gone since is left for the temporary directory.
struct KeepDirectory {
    fs::path saved;
    KeepDirectory()
    {
        std::error_code error;
        saved = fs::current_path(error);
        if (error) saved = fs::temp_directory_path();
    }
    ~KeepDirectory()
    {
        std::error_code error;
        fs::current_path(saved, error);
    }
};

Report ReportOf(const RecordingHost& host, long files, long numbers)
{
    Report r{host.results, host.statuses, {}, host.pumps, files, numbers};
    for (const auto& [path, options] : host.replaced) r.replaced.push_back(path);
    return r;
}

Report Grep(const std::string& top, GrepEngine::Options_t options, bool ahead, RecordingHost&& host = {})
{
    KeepDirectory keep;
    GrepEngine engine(host);
    engine.scan_ahead = ahead;
    engine.options = options;
    engine.options.path = top + "/*.*";
    engine.options.sub_dir = true;
    engine.RunSearch();
    return ReportOf(host, engine.files, engine.matches);
}

Report Count(const std::string& top, bool ahead)
{
    KeepDirectory keep;
    RecordingHost host;
    LineCounter counter(host);
    counter.scan_ahead = ahead;
    counter.options.path = top + "/*.*";
    counter.options.sub_dir = true;
    counter.RunCount(true);
    return ReportOf(host, counter.files, counter.lines);
}

// A tree of a few hundred files over nested directories: files without
// hits, with one, with thousands, longer than a read block, with CRLF
// lines, words glued to letters, and empty files.
void FillTree(const TempTree& tree, unsigned seed)
{
    std::mt19937 random(seed);
    const char* const pieces[] = {"needle", "Needle", "xneedle", "needles", "NEEDLE_", "(needle)", "hay", "stack",
                                  "\r\n",   "\n",     "\n",      " ",       "\t",      "nee",      "dle"};
    for (int d = 0; d < 12; ++d) {
        const std::string dir = (d % 3 == 0 ? "Dir" : "dir") + std::to_string(d) + (d % 4 == 1 ? "/sub" : "");
        for (int f = 0; f < 30; ++f) {
            std::string text;
            const int words = f % 10 == 0 ? 30000 : static_cast<int>(random() % 400);
            for (int w = 0; w < words; ++w) text += pieces[random() % std::size(pieces)];
            tree.Write(dir + "/f" + std::to_string(f) + (f % 7 == 0 ? ".dat" : ".txt"), text);
        }
    }
    tree.Write("top.txt", "needle\n");
    tree.Write("empty.txt", "");
}

GrepEngine::Options_t Options(bool case_sensitive, bool whole_words, bool show_lines)
{
    GrepEngine::Options_t o;
    o.pattern = "needle";
    o.case_sensitive = case_sensitive;
    o.whole_words = whole_words;
    o.show_lines = show_lines;
    return o;
}

} // namespace

TEST(ScanAhead, GrepReportsWhatTheRunOnOneThreadReportsInEveryMode)
{
    TempTree tree;
    FillTree(tree, 1);
    for (const bool case_sensitive : {false, true})
        for (const bool whole_words : {false, true})
            for (const bool show_lines : {false, true}) {
                const auto o = Options(case_sensitive, whole_words, show_lines);
                const Report alone = Grep(tree.root(), o, false);
                ASSERT_GT(alone.numbers, 10);
                EXPECT_EQ(Grep(tree.root(), o, true), alone)
                    << "case " << case_sensitive << " words " << whole_words << " lines " << show_lines;
            }
}

TEST(ScanAhead, LineCountReportsWhatTheRunOnOneThreadReports)
{
    TempTree tree;
    FillTree(tree, 2);
    const Report alone = Count(tree.root(), false);
    ASSERT_GT(alone.files, 300);
    EXPECT_EQ(Count(tree.root(), true), alone);
}

TEST(ScanAhead, TreesDeeperThanTheHelperGoesAreSearchedAlike)
{
    TempTree tree;
    std::string dir;
    for (int level = 0; level < 80; ++level) {
        dir += "d" + std::to_string(level) + "/";
        tree.Write(dir + "a.txt", "x\nneedle\n");
        if (level % 9 == 0) tree.Write(dir + "b.txt", "needle\n");
    }
    const auto o = Options(false, false, true);
    const Report alone = Grep(tree.root(), o, false);
    EXPECT_EQ(alone.numbers, 80 + 9);
    EXPECT_EQ(Grep(tree.root(), o, true), alone);
}

TEST(ScanAhead, StopEndsTheRunAtTheSameFile)
{
    TempTree tree;
    FillTree(tree, 3);
    const auto o = Options(false, false, true);
    for (const int stop_at : {1, 40, 200}) {
        const auto stopping = [&](bool ahead) {
            KeepDirectory keep;
            RecordingHost host;
            GrepEngine engine(host);
            engine.scan_ahead = ahead;
            engine.options = o;
            engine.options.path = tree.root() + "/*.*";
            engine.options.sub_dir = true;
            host.on_pump = [&] {
                if (host.pumps == stop_at) engine.StopSearch();
            };
            engine.RunSearch();
            return ReportOf(host, engine.files, engine.matches);
        };
        const Report alone = stopping(false);
        EXPECT_LT(alone.files, 361);
        EXPECT_EQ(stopping(true), alone) << "stopped at pump " << stop_at;
    }
}

namespace {

// Changes the tree at the first pump, while the helper is ahead of the
// walk: files vanish, one turns into a FIFO, a directory goes.
class ChangingHost : public RecordingHost {
public:
    explicit ChangingHost(const TempTree& tree) : tree_(tree)
    {
        on_pump = [this] {
            if (pumps != 1) return;
            for (int f = 0; f < 30; f += 2) fs::remove(tree_.Path("dir11/f" + std::to_string(f) + ".txt"));
            fs::remove(tree_.Path("dir11/f1.txt"));
            ::mkfifo(tree_.Path("dir11/f1.txt").c_str(), 0644);
            fs::remove_all(tree_.Path("dir10"));
        };
    }

private:
    const TempTree& tree_;
};

} // namespace

TEST(ScanAhead, FilesThatVanishOrChangeKindMidRunAreReportedWholeOrNotAtAll)
{
    TempTree before;
    FillTree(before, 4);
    const auto o = Options(false, false, true);
    const Report full = Grep(before.root(), o, false);

    TempTree tree;
    FillTree(tree, 4);
    const Report changed = Grep(tree.root(), o, true, ChangingHost(tree));
    EXPECT_EQ(changed.statuses.back().rfind("Processed ", 0), 0u) << changed.statuses.back();

    // Per file, its lines in the changed run are all those of the full run
    // or none; untouched files keep all of theirs.
    const auto by_file = [](const std::vector<std::string>& results, const std::string& root) {
        std::map<std::string, std::vector<std::string>> files;
        for (const std::string& r : results) {
            const std::string path = r.substr(0, r.rfind('\t'));
            files[path.substr(fs::canonical(root).string().size())].push_back(r.substr(r.rfind('\t')));
        }
        return files;
    };
    const auto full_files = by_file(full.results, before.root());
    const auto changed_files = by_file(changed.results, tree.root());
    for (const auto& [name, lines] : full_files) {
        const auto found = changed_files.find(name);
        const bool touched = name.rfind("/dir10/", 0) == 0 || name.rfind("/dir11/", 0) == 0;
        if (!touched) {
            ASSERT_NE(found, changed_files.end()) << name;
        }
        if (found != changed_files.end()) {
            EXPECT_EQ(found->second, lines) << name;
        }
    }
    EXPECT_LE(changed_files.size(), full_files.size());
}

namespace {

// Replaces each file it is handed: waits a little first, so that the
// helper has scanned further files meanwhile, then writes the file anew
// in place or through a new file renamed over it, as text windows save.
class ReplacingHost : public RecordingHost {
public:
    explicit ReplacingHost(bool rename) : rename_(rename) {}
    std::set<std::thread::id> threads;

    bool ReplaceInFile(const std::string& path, bool hidden, GrepEngine::Options_t options) override
    {
        threads.insert(std::this_thread::get_id());
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::string text;
        {
            std::ifstream in(path, std::ios::binary);
            text.assign(std::istreambuf_iterator<char>(in), {});
        }
        for (std::size_t at = text.find("needle"); at != std::string::npos; at = text.find("needle", at))
            text.replace(at, 6, "thread");
        const std::string target = rename_ ? path + ".new" : path;
        std::ofstream(target, std::ios::binary | std::ios::trunc) << text;
        if (rename_) fs::rename(target, path);
        return RecordingHost::ReplaceInFile(path, hidden, options);
    }

private:
    bool rename_;
};

// Files and links to them: a file replaced under one name is reached again
// under another.
void FillLinkedTree(const TempTree& tree)
{
    for (int f = 0; f < 20; ++f) tree.Write("d/f" + std::to_string(f) + ".txt", "a\nneedle\nb needle\n");
    tree.Write("d/plain.txt", "hay\n");
    for (int f = 0; f < 20; f += 3) {
        const std::string link = tree.Path("d/z" + std::to_string(f) + ".txt");
        ::symlink(tree.Path("d/f" + std::to_string(f) + ".txt").c_str(), link.c_str());
    }
    ::link(tree.Path("d/f1.txt").c_str(), tree.Path("d/zz-hard.txt").c_str());
}

} // namespace

TEST(ScanAhead, ReplacementsAreHandedOnInOrderOnTheCallersThreadAndLinksAreScannedAfresh)
{
    for (const bool rename : {false, true}) {
        auto o = Options(true, false, true);
        o.replace = true;
        o.replacement = "pin";
        TempTree alone_tree, ahead_tree;
        FillLinkedTree(alone_tree);
        FillLinkedTree(ahead_tree);
        ReplacingHost alone_host(rename), ahead_host(rename);
        const Report alone = Grep(alone_tree.root(), o, false, std::move(alone_host));
        ASSERT_GE(alone.replaced.size(), 20u);

        KeepDirectory keep;
        GrepEngine engine(ahead_host);
        engine.options = o;
        engine.options.path = ahead_tree.root() + "/*.*";
        engine.options.sub_dir = true;
        engine.RunSearch();
        const Report ahead = ReportOf(ahead_host, engine.files, engine.matches);
        // Paths differ by their tree; the rest must agree.
        const auto strip = [](std::vector<std::string> lines, const std::string& root) {
            const std::string prefix = fs::canonical(root).string();
            for (std::string& l : lines) l.erase(0, l.find(prefix) == 0 ? prefix.size() : 0);
            return lines;
        };
        EXPECT_EQ(strip(ahead.results, ahead_tree.root()), strip(alone.results, alone_tree.root())) << rename;
        EXPECT_EQ(strip(ahead.replaced, ahead_tree.root()), strip(alone.replaced, alone_tree.root())) << rename;
        EXPECT_EQ(ahead_host.threads, std::set<std::thread::id>{std::this_thread::get_id()});
    }
}

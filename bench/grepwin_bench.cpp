// Drives a Grep window offscreen over a tree and prints how long its runs
// take, so that the window's overhead (event pumps, list and status
// updates) can be set against the command-line tool on the same tree.
//
//   grepwin_bench [--case] [--subdirs] [--all-lines] [--runs N] PATTERN DIR
//
// Prints one line per run ("run N: S seconds, C cpu seconds, F files, M
// matches") and the best wall time last ("best: S"). The machine's load
// inflates wall times; the processor time of the process is printed beside
// them for that reason.
#include "search/grep_dlog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <time.h>

static double CpuSeconds()
{
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    bool case_sensitive = false, sub_dirs = false, all_lines = false;
    int runs = 3;
    std::string pattern, dir;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--case") case_sensitive = true;
        else if (a == "--subdirs") sub_dirs = true;
        else if (a == "--all-lines") all_lines = true;
        else if (a == "--runs" && i + 1 < argc) runs = std::atoi(argv[++i]);
        else if (pattern.empty()) pattern = a;
        else {
            char* full = ::realpath(a.c_str(), nullptr);  // runs change the current directory
            dir = full ? full : a;
            std::free(full);
        }
    }
    if (pattern.empty() || dir.empty() || runs < 1) {
        std::fprintf(stderr, "usage: grepwin_bench [--case] [--subdirs] [--all-lines] [--runs N] PATTERN DIR\n");
        return 2;
    }

    GrepDlog window;
    window.resize(540, 408);
    window.show();
    window.PatternBox()->setEditText(QString::fromLocal8Bit(pattern.c_str()));
    window.PathBox()->setEditText(QString::fromLocal8Bit((dir + "/*.*").c_str()));
    window.CaseCheck()->setChecked(case_sensitive);
    window.SubDirCheck()->setChecked(sub_dirs);
    window.ShowLinesCheck()->setChecked(all_lines);
    QApplication::processEvents();

    double best = 1e9;
    for (int run = 1; run <= runs; ++run) {
        const double cpu_before = CpuSeconds();
        QElapsedTimer timer;
        timer.start();
        window.GoButton()->click();
        const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        best = std::min(best, seconds);
        std::printf("run %d: %.3f seconds, %.3f cpu seconds, %ld files, %ld matches\n", run, seconds,
                    CpuSeconds() - cpu_before, window.files, window.matches);
    }
    std::printf("best: %.3f\n", best);
    return 0;
}

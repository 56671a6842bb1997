// Drives a Grep window offscreen over a tree and prints how long its runs
// take, so that the window's overhead (event pumps, list and status
// updates) can be set against the command-line tool on the same tree.
//
//   grepwin_bench [--case] [--subdirs] [--all-lines] [--runs N] [--stop-after MS] [--interact] PATTERN DIR
//
// With --interact, what a user does with the full list afterwards is timed
// too: scrolling to its end and to its middle, a click on a row, selecting
// every row, each until the view has painted.
// With --stop-after, Stop is due MS milliseconds into each run; the time
// from then to the end of the run (the press waits for the run's next event
// pump) is printed ("stop latency").
// Prints one line per run ("run N: S seconds, C cpu seconds, F files, M
// matches") and the best wall time last ("best: S"). The machine's load
// inflates wall times; the processor time of the process is printed beside
// them for that reason.
#include "searchwin/grep_dlog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <time.h>

static double CpuSeconds()
{
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Runs `step`, lets the view paint, and prints how long both took.
static void Timed(const char* what, QTableView* view, const std::function<void()>& step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    view->viewport()->repaint();
    QApplication::processEvents();
    std::printf("%s: %.1f ms\n", what, static_cast<double>(timer.nsecsElapsed()) / 1e6);
}

static void TimeInteraction(GrepDlog& window)
{
    QTableView* view = window.ResultsView();
    const int rows = view->model()->rowCount();
    std::printf("rows: %d\n", rows);
    if (rows == 0) return;
    Timed("scroll to end", view, [&] { view->scrollToBottom(); });
    Timed("scroll to middle", view, [&] { view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2); });
    Timed("page down", view, [&] { view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd); });
    Timed("click a row", view, [&] { view->setCurrentIndex(view->model()->index(rows / 2, 0)); });
    Timed("select all", view, [&] { view->selectAll(); });
    Timed("clear selection", view, [&] { view->clearSelection(); });
}

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    bool case_sensitive = false, sub_dirs = false, all_lines = false;
    int runs = 3;
    int stop_after_ms = -1;
    bool interact = false;
    std::string pattern, dir;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--case") case_sensitive = true;
        else if (a == "--subdirs") sub_dirs = true;
        else if (a == "--all-lines") all_lines = true;
        else if (a == "--runs" && i + 1 < argc) runs = std::atoi(argv[++i]);
        else if (a == "--stop-after" && i + 1 < argc) stop_after_ms = std::atoi(argv[++i]);
        else if (a == "--interact") interact = true;
        else if (pattern.empty()) pattern = a;
        else {
            char* full = ::realpath(a.c_str(), nullptr);  // runs change the current directory
            dir = full ? full : a;
            std::free(full);
        }
    }
    if (pattern.empty() || dir.empty() || runs < 1) {
        std::fprintf(stderr,
                     "usage: grepwin_bench [--case] [--subdirs] [--all-lines] [--runs N] [--stop-after MS] PATTERN DIR\n");
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
        if (stop_after_ms >= 0)
            QTimer::singleShot(stop_after_ms, Qt::PreciseTimer, &window, [&] { window.StopButton()->click(); });
        timer.start();
        window.GoButton()->click();
        if (stop_after_ms >= 0)
            std::printf("stop latency: %.3f seconds\n",
                        static_cast<double>(timer.nsecsElapsed()) / 1e9 - stop_after_ms / 1000.0);
        const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        best = std::min(best, seconds);
        std::printf("run %d: %.3f seconds, %.3f cpu seconds, %ld files, %ld matches\n", run, seconds,
                    CpuSeconds() - cpu_before, window.files, window.matches);
    }
    std::printf("best: %.3f\n", best);
    if (interact) TimeInteraction(window);
    return 0;
}

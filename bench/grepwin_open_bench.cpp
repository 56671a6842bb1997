// Times the opening of a Grep window whose settings file holds long history
// lists: the window reads every stored item when it is set up.
//
//   grepwin_open_bench [--items N] [--runs R]
//
// Writes a settings file with N items in the search-text history (and N / 10
// in the path and replacement histories) to a temporary directory, then
// builds the window R times offscreen and prints each opening time and the
// best ("best: S").
#include "searchwin/grep_dlog.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

void WriteList(std::ofstream& out, const char* section, const char* prefix, int items)
{
    out << "[" << section << "]\ncount=" << items << "\n";
    for (int i = 1; i <= items; ++i) out << prefix << i << "=" << section << " item number " << i << "\n";
    out << "selected=" << section << " item number " << (items + 1) / 2 << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int items = 5000;
    int runs = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--items") items = std::atoi(argv[i + 1]);
        else if (a == "--runs") runs = std::atoi(argv[i + 1]);
    }
    char dir[] = "/tmp/grepwin-open-XXXXXX";
    if (!::mkdtemp(dir)) return 2;
    const std::string ini = std::string(dir) + "/TARNWICK.INI";
    {
        std::ofstream out(ini);
        WriteList(out, "search_patterns", "pattern_", items);
        WriteList(out, "search_paths", "path_", items / 10);
        WriteList(out, "replace_patterns", "pattern_", items / 10);
    }
    ::setenv("TARNWICK_INI", ini.c_str(), 1);
    QApplication app(argc, argv);
    double best = 1e9;
    for (int run = 1; run <= runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        GrepDlog window;
        const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        best = std::min(best, seconds);
        std::printf("run %d: %.3f seconds, %d items listed\n", run, seconds, window.PatternBox()->count());
    }
    std::printf("best: %.3f\n", best);
    ::unlink(ini.c_str());
    ::rmdir(dir);
    return 0;
}

// Measures a hex window in the running frame on the file named on the
// command line: how soon its first screen of rows is painted after File
// Open, when the load is done, what paging, Ctrl+End / Ctrl+Home and Go to
// offset cost once it is shown, and the process's peak memory. With
// "save" after the path it also writes the whole dump (Save As) and times it.
// Prints one line per figure.
#include "app/tw_app.h"
#include "app/window_factories.h"
#include "docs/hex_doc.h"
#include "framework/message_box.h"
#include "framework/message_pump.h"
#include "views/hex_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

double Ms(qint64 ns) { return double(ns) / 1e6; }

// The process's peak resident memory so far, in MB.
double PeakRssMb()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long kib = 0;
    while (status >> key) {
        if (key == "VmHWM:") {
            status >> kib;
            break;
        }
    }
    return kib / 1024.0;
}

// Notes the first paint of a hex view's rows.
class FirstRows : public QObject {
public:
    explicit FirstRows(QElapsedTimer& clock) : clock_(clock) {}
    qint64 shown = -1;

protected:
    bool eventFilter(QObject* object, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && shown < 0) {
            auto* view = object->parent() ? qobject_cast<HexView*>(object->parent()) : nullptr;
            if (view && view->viewport() == object && view->Doc()->LineCount() > 0) shown = clock_.nsecsElapsed();
        }
        return false;
    }

private:
    QElapsedTimer& clock_;
};

HexView* ActiveHexView(TWApp& app)
{
    QMdiSubWindow* child = app.Client()->activeSubWindow();
    return child ? qobject_cast<HexView*>(child->widget()) : nullptr;
}

// The mean cost of `step` followed by a synchronous repaint, over n runs.
template <typename Step>
double PerStep(HexView& view, int n, Step step)
{
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < n; ++i) {
        step(i);
        view.viewport()->repaint();
    }
    return Ms(t.nsecsElapsed()) / n;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: hex_bench FILE [save]\n");
        return 2;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication qt(argc, argv);
    InstallWindowFactories();
    fw::SetMessageHook([](const fw::MessageRequest&) { return int(fw::kIdOk); });
    const std::string path = argv[1];

    // The document alone, without a window: the load, the first screenful
    // of rows and the last one.
    {
        HexDoc probe(path);
        QElapsedTimer t;
        t.start();
        const bool ok = probe.Load();
        const qint64 load = t.nsecsElapsed();
        for (int i = 0; i < 60; ++i) probe.GetLine(i);
        const qint64 first = t.nsecsElapsed();
        for (int i = std::max(0, probe.LineCount() - 60); i < probe.LineCount(); ++i) probe.GetLine(i);
        std::printf("document alone: load %s %.3f ms, 60 first rows %.3f ms, 60 last rows %.3f ms\n",
                    ok ? "done in" : "FAILED in", Ms(load), Ms(first - load), Ms(t.nsecsElapsed() - first));
    }

    char* args[] = {argv[0], nullptr};
    TWApp app("Tarnwick", 1, args);
    app.InitMainWindow();
    app.InitInstance();
    for (int i = 0; i < 20; ++i) PumpWaitingMessages();
    const double idleMb = PeakRssMb();

    QElapsedTimer clock;
    FirstRows watch(clock);
    qt.installEventFilter(&watch);
    clock.start();
    app.OpenHex(path, false);
    HexView* view = nullptr;
    while (!(view = ActiveHexView(app)) || !view->Loaded()) PumpWaitingMessages();
    const qint64 loaded = clock.nsecsElapsed();
    while (watch.shown < 0 && clock.nsecsElapsed() < loaded + 2'000'000'000) PumpWaitingMessages();
    qt.removeEventFilter(&watch);
    HexDoc& doc = *view->Doc();
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("file: %llu bytes, %d rows, error %d\n", static_cast<unsigned long long>(doc.FileSize()),
                doc.LineCount(), doc.Error());
    std::printf("open to load finished: %.1f ms; open to first rows painted: %.1f ms\n", Ms(loaded),
                Ms(watch.shown));
    std::printf("peak RSS after the first screen: %.1f MB (the frame alone: %.1f MB)\n", PeakRssMb(), idleMb);

    const int pages = 200;
    const double page = PerStep(*view, pages, [&](int i) {
        if (i % 50 == 0) view->MoveCaretTo({0, 0});
        QTest::keyClick(view, Qt::Key_PageDown);
    });
    const double end = PerStep(*view, 40, [&](int i) {
        QTest::keyClick(view, i % 2 ? Qt::Key_Home : Qt::Key_End, Qt::ControlModifier);
    });
    // Go to offset without its dialog: the typed offset, its row, the caret there.
    const unsigned long long size = doc.FileSize();
    const double go = PerStep(*view, 40, [&](int i) {
        char offset[32];
        std::snprintf(offset, sizeof offset, "%llX", size / 40 * static_cast<unsigned long long>(i));
        if (const auto row = view->RowOfOffset(offset)) view->MoveCaretTo({*row, 0});
    });
    std::printf("Page Down: %.3f ms; Ctrl+End / Ctrl+Home: %.3f ms; Go to offset: %.3f ms\n", page, end, go);
    std::printf("peak RSS after browsing: %.1f MB\n", PeakRssMb());

    if (argc > 2 && std::strcmp(argv[2], "save") == 0) {
        const std::string dump = path + ".dump.txt";
        QElapsedTimer t;
        t.start();
        const bool ok = doc.Save(dump);
        std::printf("Save As of the dump: %s in %.1f ms; peak RSS %.1f MB\n", ok ? "written" : "FAILED",
                    Ms(t.nsecsElapsed()), PeakRssMb());
        std::remove(dump.c_str());
    }
    return 0;
}

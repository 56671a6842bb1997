// Measures the text window on a large file: how soon the first screen
// shows against the end of the load, and what paging, scrolling to the end,
// typing and Enter cost once loaded, next to the same steps in a small
// file; then a Replace All of many occurrences and how fast Escape stops
// one. Prints one line per figure.
#include "framework/message_pump.h"
#include "views/text_view.h"
#include "docs/text_doc.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// Records when the view's lines are first painted.
class PaintWatch : public QObject {
public:
    PaintWatch(QElapsedTimer& clock, TextView*& view) : clock_(clock), view_(view) {}
    qint64 first = -1;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && first < 0 && view_ && view_->Doc()->LineCount() > 0)
            first = clock_.nsecsElapsed();
        return false;
    }

private:
    QElapsedTimer& clock_;
    TextView*& view_;
};

void WriteLines(const std::string& path, long lines, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    std::string block;
    for (long i = 0; i < lines; ++i) {
        block += text;
        block += '\n';
        if (block.size() > (1 << 20)) {
            out << block;
            block.clear();
        }
    }
    out << block;
}

double Ms(qint64 ns) { return double(ns) / 1e6; }

struct StepCosts {
    double page, end, type, enter;
};

// Costs per step, each step followed by a synchronous repaint as a user sees it.
StepCosts Steps(TextView& view)
{
    StepCosts costs{};
    QElapsedTimer t;
    const int n = 200;
    t.start();
    // Twenty pages down, then back to the top: the small file has as many.
    for (int i = 0; i < n; ++i) {
        if (i % 20 == 0) view.MoveCaretTo({0, 0});
        QTest::keyClick(&view, Qt::Key_PageDown);
        view.viewport()->repaint();
    }
    costs.page = Ms(t.nsecsElapsed()) / n;
    t.restart();
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
        view.viewport()->repaint();
        QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
        view.viewport()->repaint();
    }
    costs.end = Ms(t.nsecsElapsed()) / 40;
    view.MoveCaretTo({view.Doc()->LineCount() / 2, 3});
    t.restart();
    for (int i = 0; i < n; ++i) {
        QTest::keyClick(&view, Qt::Key_A);
        view.viewport()->repaint();
    }
    costs.type = Ms(t.nsecsElapsed()) / n;
    t.restart();
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(&view, Qt::Key_Return);
        view.viewport()->repaint();
        QTest::keyClick(&view, Qt::Key_Backspace);
        view.viewport()->repaint();
    }
    costs.enter = Ms(t.nsecsElapsed()) / 40;
    return costs;
}

// Opens the file as the frame does: the view is shown, and its load runs
// from the event it posts to itself.
std::unique_ptr<TextView> OpenShown(const std::string& path, QElapsedTimer& clock, qint64* loadEnd,
                                     PaintWatch* watch = nullptr, TextView** watched = nullptr)
{
    auto view = std::make_unique<TextView>(path);
    view->resize(1000, 700);
    if (watched) *watched = view.get();
    if (watch) view->viewport()->installEventFilter(watch);
    clock.restart();
    view->show();
    while (!view->Loaded()) PumpWaitingMessages();
    if (loadEnd) *loadEnd = clock.nsecsElapsed();
    return view;
}

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const std::string dir = argc > 1 ? argv[1] : "/tmp";
    const long megabytes = argc > 2 ? std::atol(argv[2]) : 200;
    const std::string line = "    the quick brown fox jumps over the lazy dog, again and again 0123456789";
    const long lines = megabytes * 1024 * 1024 / long(line.size() + 1);

    const std::string big = dir + "/big.txt";
    const std::string small = dir + "/small.txt";
    WriteLines(big, lines, line);
    WriteLines(small, 1000, line);

    QElapsedTimer clock;
    clock.start();
    TextView* watched = nullptr;
    PaintWatch watch(clock, watched);
    qint64 loadEnd = 0;
    auto view = OpenShown(big, clock, &loadEnd, &watch, &watched);
    std::printf("file: %ld MB, %d lines\n", megabytes, view->Doc()->LineCount());
    std::printf("first screen painted: %.1f ms; load finished: %.1f ms\n", Ms(watch.first), Ms(loadEnd));
    const StepCosts large = Steps(*view);
    watched = nullptr;
    view.reset();

    auto little = OpenShown(small, clock, nullptr);
    const StepCosts few = Steps(*little);
    little.reset();
    std::printf("per step, 200 MB file vs 1000-line file (ms, each with its repaint):\n");
    std::printf("  page down      %.3f vs %.3f\n", large.page, few.page);
    std::printf("  Ctrl+End/Home  %.3f vs %.3f\n", large.end, few.end);
    std::printf("  type a char    %.3f vs %.3f\n", large.type, few.type);
    std::printf("  Enter/Backsp.  %.3f vs %.3f\n", large.enter, few.enter);

    // Replace All of 100,000 occurrences, ten to a line.
    const std::string many = dir + "/many.txt";
    WriteLines(many, 10000, "foo bar foo bar foo bar foo bar foo bar foo bar foo bar foo bar foo bar foo bar");
    auto target = OpenShown(many, clock, nullptr);
    GrepEngine::Options_t options;
    options.pattern = "foo";
    options.replacement = "quux";
    options.case_sensitive = true;
    options.show_lines = true;
    clock.restart();
    target->GrepReplace(options);
    std::printf("Replace All of 100000 occurrences (and save): %.1f ms\n", Ms(clock.nsecsElapsed()));
    target.reset();

    // Escape during a long Replace All: how long until it stops.
    WriteLines(many, 200000, "foo bar foo bar foo bar foo bar foo bar");
    target = OpenShown(many, clock, nullptr);
    qint64 pressed = 0;
    QTimer::singleShot(200, [&] {
        pressed = clock.nsecsElapsed();
        QTest::keyClick(target.get(), Qt::Key_Escape);
    });
    clock.restart();
    options.replacement = "x";
    target->GrepReplace(options);
    const qint64 ended = clock.nsecsElapsed();
    const int left = [&] {
        int n = 0;
        for (int i = 0; i < target->Doc()->LineCount(); ++i)
            if (target->Doc()->GetLine(i)->View().find("foo") != std::string_view::npos) ++n;
        return n;
    }();
    std::printf("Escape after %.0f ms of a 1,000,000-occurrence Replace All: stopped %.1f ms later, %d lines untouched\n",
                Ms(pressed), Ms(ended - pressed), left);
    std::remove(big.c_str());
    std::remove(small.c_str());
    std::remove(many.c_str());
    return 0;
}

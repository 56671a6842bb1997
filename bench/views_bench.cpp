// Measures the text windows in the running frame: for a large file named
// on the command line, how soon the frame and then the first screen show
// against the end of the load; what paging, scrolling to the end, typing
// and Enter cost once loaded, next to the same steps in a small file; then
// a Replace All of many occurrences from the Replace dialog and how fast
// Escape stops one. Prints one line per figure.
#include "app/tw_app.h"
#include "app/install_windows.h"
#include "docs/text_doc.h"
#include "framework/message_box.h"
#include "framework/message_pump.h"
#include "views/text_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

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

// Watches the whole program for the moments a user would notice: the frame
// first exposed on the screen and a text view first painted with lines.
class ScreenWatch : public QObject {
public:
    explicit ScreenWatch(QElapsedTimer& clock) : clock_(clock) {}
    qint64 frameShown = -1;
    qint64 linesShown = -1;
    void Reset()
    {
        frameShown = linesShown = -1;
    }

protected:
    bool eventFilter(QObject* object, QEvent* e) override
    {
        if (e->type() == QEvent::Expose && frameShown < 0) {
            auto* window = qobject_cast<QWindow*>(object);
            if (window && window->isExposed()) frameShown = clock_.nsecsElapsed();
        }
        if (e->type() == QEvent::Paint && linesShown < 0) {
            auto* view = object->parent() ? qobject_cast<TextView*>(object->parent()) : nullptr;
            if (view && view->viewport() == object && view->Doc()->LineCount() > 0)
                linesShown = clock_.nsecsElapsed();
        }
        return false;
    }

private:
    QElapsedTimer& clock_;
};

TextView* ActiveTextView(TWApp& app)
{
    QMdiSubWindow* child = app.Client()->activeSubWindow();
    return child ? qobject_cast<TextView*>(child->widget()) : nullptr;
}

TextView* WaitLoaded(TWApp& app)
{
    TextView* view = nullptr;
    while (!(view = ActiveTextView(app)) || !view->Loaded()) PumpWaitingMessages();
    return view;
}

// Opens a file in the frame as File Open does and waits for its load.
TextView* OpenInFrame(TWApp& app, const std::string& path)
{
    app.OpenText(path, false);
    return WaitLoaded(app);
}

// Replace All from the Replace dialog, as a user presses it.
double ReplaceAllFromDialog(TextView& view, const char* find, const char* replace)
{
    view.MoveCaretTo({0, 0});
    view.CmReplace();
    FindReplaceDialog* dialog = view.Dialog();
    dialog->findField()->setText(find);
    dialog->replaceField()->setText(replace);
    dialog->downButton()->setChecked(true);
    QElapsedTimer t;
    t.start();
    dialog->replaceAllButton()->click();
    PumpWaitingMessages();
    return Ms(t.nsecsElapsed());
}

} // namespace

int main(int argc, char** argv)
{
    // Offscreen unless a platform is asked for (bench-views.sh also runs it
    // against a real X server, where the costs of drawing and of the
    // clipboard show).
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication qt(argc, argv);
    InstallWindowFactories();
    fw::SetMessageHook([](const fw::MessageRequest&) { return int(fw::kIdOk); });
    const std::string dir = argc > 1 ? argv[1] : "/tmp";
    const long megabytes = argc > 2 ? std::atol(argv[2]) : 200;
    const std::string line = "    the quick brown fox jumps over the lazy dog, again and again 0123456789";
    const long lines = megabytes * 1024 * 1024 / long(line.size() + 1);
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));

    std::string big = dir + "/big.txt";
    const std::string small = dir + "/small.txt";
    WriteLines(big, lines, line);
    WriteLines(small, 1000, line);

    // The big file named on the command line: when the frame is on the
    // screen, when the first lines show, when the load is done.
    QElapsedTimer clock;
    clock.start();
    ScreenWatch watch(clock);
    qt.installEventFilter(&watch);
    char* args[] = {argv[0], big.data(), nullptr};
    TWApp app("Tarnwick", 1, args);
    clock.restart();
    app.InitMainWindow();
    app.InitInstance();
    TextView* view = WaitLoaded(app);
    const qint64 loadEnd = clock.nsecsElapsed();
    qt.removeEventFilter(&watch);
    std::printf("file: %ld MB, %d lines, opened from the command line\n", megabytes, view->Doc()->LineCount());
    std::printf("frame on screen: %.1f ms; first lines painted: %.1f ms; load finished: %.1f ms\n",
                Ms(watch.frameShown), Ms(watch.linesShown), Ms(loadEnd));
    const StepCosts large = Steps(*view);
    view->parentWidget()->close();
    PumpWaitingMessages();

    TextView* little = OpenInFrame(app, small);
    const StepCosts few = Steps(*little);
    little->parentWidget()->close();
    std::printf("per step, %ld MB file vs 1000-line file (ms, each with its repaint):\n", megabytes);
    std::printf("  page down      %.3f vs %.3f\n", large.page, few.page);
    std::printf("  Ctrl+End/Home  %.3f vs %.3f\n", large.end, few.end);
    std::printf("  type a char    %.3f vs %.3f\n", large.type, few.type);
    std::printf("  Enter/Backsp.  %.3f vs %.3f\n", large.enter, few.enter);
    std::remove(big.c_str());

    // Replace All of 100,000 occurrences, ten to a line, from the Replace
    // dialog of a window in the frame.
    const std::string many = dir + "/many.txt";
    WriteLines(many, 10000, "foo bar foo bar foo bar foo bar foo bar foo bar foo bar foo bar foo bar foo bar");
    TextView* target = OpenInFrame(app, many);
    std::printf("Replace All of 100000 occurrences in a frame window: %.1f ms\n",
                ReplaceAllFromDialog(*target, "foo", "quux"));
    target->Doc()->SetModified(false);
    target->parentWidget()->close();
    PumpWaitingMessages();

    // Escape during a long Replace All: how long until it stops.
    WriteLines(many, 200000, "foo bar foo bar foo bar foo bar foo bar");
    target = OpenInFrame(app, many);
    qint64 pressed = 0;
    QTimer::singleShot(200, [&] {
        pressed = clock.nsecsElapsed();
        QTest::keyClick(target, Qt::Key_Escape);
    });
    clock.restart();
    ReplaceAllFromDialog(*target, "foo", "x");
    const qint64 ended = clock.nsecsElapsed();
    const int left = [&] {
        int n = 0;
        for (int i = 0; i < target->Doc()->LineCount(); ++i)
            if (target->Doc()->GetLine(i)->View().find("foo") != std::string_view::npos) ++n;
        return n;
    }();
    std::printf("Escape after %.0f ms of a 1,000,000-occurrence Replace All: stopped %.1f ms later, %d lines untouched\n",
                Ms(pressed), Ms(ended - pressed), left);
    target->Doc()->SetModified(false);
    std::remove(small.c_str());
    std::remove(many.c_str());
    return 0;
}

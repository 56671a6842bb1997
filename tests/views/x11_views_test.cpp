// The text window on a real X server, driven with the real pointer and
// keyboard: the frame is on the screen before a file named on the command
// line is read; a click on column 100 lands on column 100, whose glyph the
// screen shows in that cell; characters typed at the right edge stay in
// view.
#include "app/main_win.h"
#include "app/tw_app.h"
#include "app/install_windows.h"
#include "docs/text_doc.h"
#include "framework/message_box.h"
#include "framework/message_pump.h"
#include "support/temp_tree.h"
#include "support/x_session.h"
#include "views/text_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Where the view puts the cell of a position, from what it tells of its grid.
QPoint CellOf(const TextView& view, TextPosition at)
{
    return {(at.column - view.LeftColumn()) * view.CharWidth(), (at.line - view.TopLine()) * view.LineHeight()};
}

bool WaitFor(const std::function<bool()>& done, int ms = 3000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QTest::qWait(10);
    }
    return true;
}

class RealX : public ::testing::Test {
protected:
    void SetUp() override
    {
        fw::SetMessageHook([](const fw::MessageRequest&) { return int(fw::kIdNo); });
        InstallWindowFactories();
    }
    void TearDown() override
    {
        app.reset();
        fw::SetMessageHook({});
    }
    void Start(std::vector<std::string> files)
    {
        arguments = std::move(files);
        argv = {const_cast<char*>("tarnwick")};
        for (std::string& a : arguments) argv.push_back(a.data());
        argv.push_back(nullptr);
        app = std::make_unique<TWApp>("Tarnwick", int(arguments.size()), argv.data());
        app->InitMainWindow();
    }
    TextView* Active()
    {
        QMdiSubWindow* child = app->Client()->activeSubWindow();
        return child ? qobject_cast<TextView*>(child->widget()) : nullptr;
    }
    // The part of the screen the view's viewport covers, as the X server has it.
    static QImage Screen(QWidget* port)
    {
        const QPoint at = port->mapToGlobal(QPoint(0, 0));
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, at.x(), at.y(), port->width(), port->height())
            .toImage();
    }
    static bool Inked(const QImage& image, int from, int to, int top, int bottom)
    {
        for (int x = std::max(0, from); x < std::min(to, image.width()); ++x)
            for (int y = top; y < bottom; ++y)
                if (qGray(image.pixel(x, y)) < 192) return true;
        return false;
    }

    ScopedSettingsFile ini{"[MainWin]\nX=0\nY=0\nW=1000\nH=700\n"};
    TempTree tree;
    std::vector<std::string> arguments;
    std::vector<char*> argv;
    std::unique_ptr<TWApp> app;
};

// Records whether the view had read its file when the frame first reached
// the screen.
class ExposeWatch : public QObject {
public:
    std::function<bool()> loaded;
    int exposed_before_load = -1;  // -1: never exposed

protected:
    bool eventFilter(QObject* object, QEvent* e) override
    {
        auto* window = qobject_cast<QWindow*>(object);
        if (e->type() == QEvent::Expose && window && window->isExposed() && exposed_before_load < 0)
            exposed_before_load = loaded() ? 0 : 1;
        return false;
    }
};

TEST_F(RealX, TheFrameIsOnTheScreenBeforeAFileOnTheCommandLineIsRead)
{
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i) + "\n";
    Start({tree.Write("big.txt", text)});
    ExposeWatch watch;
    watch.loaded = [this] { return Active() && Active()->Doc()->LineCount() > 0; };
    app->Frame()->winId();
    app->Frame()->windowHandle()->installEventFilter(&watch);
    app->InitInstance();
    ASSERT_TRUE(WaitFor([this] { return Active() && Active()->Loaded(); }));
    EXPECT_EQ(watch.exposed_before_load, 1);
    EXPECT_EQ(Active()->Doc()->LineCount(), 20000);
}

TEST_F(RealX, AClickOnColumn100LandsThereAndTypingAtTheRightEdgeStaysInView)
{
    std::string marked(130, ' ');
    marked[100] = '|';
    Start({tree.Write("marks.txt", "top line\n" + marked + "\n\n")});
    app->InitInstance();
    ASSERT_TRUE(WaitFor([this] { return Active() && Active()->Loaded(); }));
    QMdiSubWindow* child = app->Client()->activeSubWindow();
    child->showMaximized();
    app->Frame()->activateWindow();
    ASSERT_TRUE(WaitFor([this] { return QApplication::activeWindow() == app->Frame(); }));
    TextView* view = Active();
    QWidget* port = view->viewport();
    const int w = view->CharWidth(), h = view->LineHeight();
    ASSERT_GT(view->ColumnsPerPage(), 101) << "the frame is too narrow for the test";

    // The marker's ink on the screen lies in the cell of column 100 (once
    // the window has reached the screen).
    const QPoint cell = CellOf(*view, {1, 100});
    QImage screen;
    EXPECT_TRUE(WaitFor([&] {
        screen = Screen(port);
        return Inked(screen, cell.x(), cell.x() + w, cell.y(), cell.y() + h);
    }));
    EXPECT_FALSE(Inked(screen, cell.x() - 3 * w, cell.x() - 1, cell.y(), cell.y() + h));
    EXPECT_FALSE(Inked(screen, cell.x() + w + 1, cell.x() + 4 * w, cell.y(), cell.y() + h));

    // The real pointer, clicked just right of the cell's left edge.
    ASSERT_TRUE(XSession::Click(port->mapToGlobal(cell + QPoint(1, h / 2))));
    ASSERT_TRUE(WaitFor([view] { return view->Caret().line == 1; }));
    EXPECT_EQ(view->Caret(), (TextPosition{1, 100}));

    // Typing on the empty last line past the right edge: the newest
    // character is in view, left of the scroll bar, and on the screen.
    ASSERT_TRUE(XSession::Click(port->mapToGlobal(QPoint(1, 2 * h + h / 2))));
    ASSERT_TRUE(WaitFor([view] { return view->Caret().line == 2; }));
    const int count = view->ColumnsPerPage() + 10;
    ASSERT_TRUE(XSession::Type(QString(count, QLatin1Char('M'))));
    ASSERT_TRUE(WaitFor([view, count] { return view->Caret().column == count; }));
    const QPoint last = CellOf(*view, {2, count - 1});
    EXPECT_GE(last.x(), 0);
    EXPECT_LE(last.x() + w, port->width());
    EXPECT_TRUE(WaitFor([&] { return Inked(Screen(port), last.x(), last.x() + w, last.y(), last.y() + h); }));
    view->Doc()->SetModified(false);
}

} // namespace

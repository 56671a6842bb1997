// What both document windows share: the scroll bars, the mouse and double
// clicks reach the caret model and the visible area, and the colours. The
// arithmetic of both is told by the editing tables (tests/edit).
#include "view_fixture.h"

#include "docs/text_doc.h"
#include "views/edit_view.h"
#include "views/text_view.h"

#include "settings/profile.h"

#include <QScrollBar>
#include <QTest>

namespace {

class EditViewTest : public ViewTest {};

TEST_F(EditViewTest, LongDocumentsScaleTheVerticalScrollBar)
{
    std::string bytes;
    for (int i = 0; i < 32768; ++i) bytes += "l\n";
    auto view = Open<TextView>(bytes);
    ASSERT_EQ(view->Doc()->LineCount(), 32768);
    EXPECT_EQ(view->ScrollScale(), 2);
    EXPECT_EQ(view->verticalScrollBar()->maximum(), 16383);
    view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(view->TopLine(), 1);
    view->verticalScrollBar()->setSliderPosition(100);
    view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderMove);
    EXPECT_EQ(view->TopLine(), 201);  // two lines a step, plus the remainder
}

TEST_F(EditViewTest, PageDownInAShortFileKeepsTheLastLineShown)
{
    auto view = Open<TextView>("a\nb\nc\n");
    ASSERT_GT(view->LinesPerPage(), 3);
    QTest::keyClick(view.get(), Qt::Key_PageDown);
    EXPECT_EQ(view->TopLine(), 2);
    EXPECT_EQ(view->verticalScrollBar()->value(), view->verticalScrollBar()->maximum());
}

TEST_F(EditViewTest, DoubleClickSelectsAWord)
{
    auto view = Open<TextView>("x abc   def\n");
    const int w = view->CharWidth(), h = view->LineHeight();
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(3 * w, h / 2));
    EXPECT_EQ(view->Anchor(), (TextPosition{0, 2}));
    EXPECT_EQ(view->SelectionEnd(), (TextPosition{0, 5}));
}

TEST_F(EditViewTest, DraggingSelectsAndBelowTheWindowScrollsEvery50ms)
{
    std::string bytes;
    for (int i = 0; i < 200; ++i) bytes += "line\n";
    auto view = Open<TextView>(bytes);
    const int h = view->LineHeight();
    QWidget* port = view->viewport();
    QTest::mousePress(port, Qt::LeftButton, {}, QPoint(1, h / 2));
    QTest::mouseMove(port, QPoint(2 * view->CharWidth(), h + h / 2));
    EXPECT_EQ(view->SelectionEnd(), (TextPosition{1, 2}));
    EXPECT_EQ(view->Anchor(), (TextPosition{0, 0}));

    QMouseEvent below(QEvent::MouseMove, QPointF(1, port->height() + 5), port->mapToGlobal(QPointF(1, port->height() + 5)),
                      Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(port, &below);
    EXPECT_TRUE(view->AutoScrollTimer().isActive());
    EXPECT_EQ(view->AutoScrollTimer().interval(), 50);
    const int top = view->TopLine();
    view->AutoScrollTick();
    view->AutoScrollTick();
    EXPECT_EQ(view->TopLine(), top + 2);
    QTest::mouseRelease(port, Qt::LeftButton, {}, QPoint(1, port->height() + 5));
    EXPECT_EQ(view->Anchor(), (TextPosition{0, 0}));
    EXPECT_GT(view->SelectionEnd().line, view->LinesPerPage());
    // The timer ended with the drag, and a late tick scrolls nothing.
    EXPECT_FALSE(view->AutoScrollTimer().isActive());
    const int after = view->TopLine();
    view->AutoScrollTick();
    EXPECT_EQ(view->TopLine(), after);
}

TEST_F(EditViewTest, FarBelowTheWindowADragStillScrollsOneLineATick)
{
    std::string bytes;
    for (int i = 0; i < 2000; ++i) bytes += "line\n";
    auto view = Open<TextView>(bytes);
    QWidget* port = view->viewport();
    QTest::mousePress(port, Qt::LeftButton, {}, QPoint(1, 1));
    const QPointF far(1, port->height() + 3000);
    QMouseEvent move(QEvent::MouseMove, far, port->mapToGlobal(far), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(port, &move);
    // The move itself goes no further than the last line in view.
    EXPECT_EQ(view->TopLine(), 0);
    EXPECT_EQ(view->SelectionEnd().line, view->LinesPerPage() - 1);
    constexpr int kTicks = 3;
    for (int i = 0; i < kTicks; ++i) view->AutoScrollTick();
    EXPECT_EQ(view->TopLine(), kTicks);
    EXPECT_EQ(view->SelectionEnd().line, view->TopLine() + view->LinesPerPage() - 1);
    QTest::mouseRelease(port, Qt::LeftButton, {}, far.toPoint());
    EXPECT_LE(view->TopLine(), kTicks + 1);
}

TEST_F(EditViewTest, AClickAtTheCaretKeepsTheSelection)
{
    auto view = Open<TextView>("abcdef\n");
    view->MoveCaretTo({0, 0});
    QTest::keyClick(view.get(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(view.get(), Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_TRUE(view->HasSelection());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(2 * view->CharWidth(), 2));
    EXPECT_TRUE(view->HasSelection());
}

TEST(EditViewColours, ThreeDecimalNumbersMakeAColour)
{
    EXPECT_EQ(EditView::ParseColour("255 128 0"), QColor(255, 128, 0));
    EXPECT_EQ(EditView::ParseColour("256 1 2"), QColor(0, 1, 2));
    EXPECT_EQ(EditView::ParseColour("junk"), QColor(0, 0, 0));
}

class ColourSettings : public ViewTest {
protected:
    ColourSettings() : ViewTest("[Display]\nbk_color=0 0 128\nfg_color=255 255 0\ntab_stops=8\n[Font]\nfont_size=20\n") {}
};

TEST_F(ColourSettings, ColoursFontAndTabsComeFromTheSettingsAndReload)
{
    auto view = Open<TextView>("a\tb\n");
    EXPECT_EQ(view->BackgroundColour(), QColor(0, 0, 128));
    EXPECT_EQ(view->TextColour(), QColor(255, 255, 0));
    EXPECT_EQ(view->Doc()->TabSize(), 8);
    EXPECT_EQ(view->ViewFont().pixelSize(), 20);
    profile::WriteString("Display", "tab_stops", "0");
    view->ReloadSettings();
    EXPECT_EQ(view->Doc()->TabSize(), 4);
}

} // namespace

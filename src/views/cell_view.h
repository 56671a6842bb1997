#pragma once
// A line document shown as a grid of fixed-width character cells: the
// widget side of the caret model and the visible area (src/edit). It turns
// movement keys, clicks, drags with auto-scroll, double clicks on words,
// the wheel and the scroll bars into their calls, and paints. It never
// changes the text.

#include <QAbstractScrollArea>
#include <QTimer>

#include "docs/text_position.h"
#include "edit/caret_model.h"
#include "edit/visible_area.h"
#include "framework/cell_grid.h"
#include "views/display_settings.h"

class LinesDoc;
struct TextPainter;
namespace profile {
class Snapshot;
}

class CellView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kScrollRangeLimit = VisibleArea::kScrollRangeLimit;

    explicit CellView(QWidget* parent = nullptr);

    LinesDoc* Document() const { return doc_; }
    const CaretModel& Carets() const { return caret_; }
    TextPosition Caret() const { return caret_.Caret(); }
    TextPosition Anchor() const { return caret_.Anchor(); }
    TextPosition SelectionEnd() const { return caret_.SelectionEnd(); }
    bool HasSelection() const { return caret_.HasSelection(); }
    bool GetOrderedSelection(TextPosition& start, TextPosition& end) const { return caret_.OrderedSelection(start, end); }
    bool Overwrite() const { return caret_.Overwrite(); }
    int TopLine() const { return area_.TopLine(); }
    int LeftColumn() const { return area_.LeftColumn(); }
    int LinesPerPage() const { return area_.LinesPerPage(); }
    int ColumnsPerPage() const { return area_.ColumnsPerPage(); }
    int LineHeight() const { return line_height_; }
    int CharWidth() const { return grid_.CellWidth(); }
    int ScrollScale() const { return area_.ScrollScale(); }
    const QFont& ViewFont() const { return display_.font; }
    QColor BackgroundColour() const { return display_.background; }
    QColor TextColour() const { return display_.foreground; }

    // Puts the caret at a position (snapped to a character), brings it into
    // view and collapses the selection there.
    void MoveCaretTo(TextPosition position);

    // The timer that scrolls one line a tick while a drag is above or below
    // the view, and one of its ticks: tests run the ticks instead of waiting.
    const QTimer& AutoScrollTimer() const { return auto_scroll_; }
    void AutoScrollTick() { OnAutoScroll(); }

signals:
    // Selection, modified flag, undo list or find state changed.
    void commandStateChanged();

protected:
    void SetDocument(LinesDoc* doc);
    CaretModel& CaretsToChange() { return caret_; }
    // Snaps the caret to a character, scrolls it into view, shows the
    // status and repaints.
    void UpdateCaret();
    // After a caret move: the selection collapses to the caret (reset) or
    // its end follows the caret (extend).
    void UpdateSelection(bool extend);
    // The selection has changed: repaint, new command states.
    void SelectionChanged();
    // The status bar's caret field, overtype indicator and load gauge, when
    // the view has the focus.
    void UpdateStatus();
    // How much of the file is read, 0 to 100, while the rest still loads;
    // otherwise negative.
    virtual int LoadPercent() const { return -1; }
    void RecomputeMetrics();
    void SetScrollRanges();
    void ScrollVertical(int lines);
    void ScrollHorizontal(int columns);
    // Reads the font, the tab width, the colours and the find options:
    // what both windows take from the settings file (read once by the caller).
    void LoadDisplaySettings(const profile::Snapshot& settings);
    void Repaint() { viewport()->update(); }
    // Movement keys shared by both windows; true when the key was one of them.
    bool HandleMovementKey(int key, bool shift, bool control);
    void ToggleOverwrite();

    TextPosition PixelToPosition(QPoint pixel) const;
    // Where a dragging pointer puts the caret: its place, held to the lines in view.
    QPoint DragPoint(QPoint pointer) const;
    QPoint PositionToPixel(TextPosition position) const;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool) override { return false; }  // Tab is a character

    // The lines in view, with the selection when asked, and the caret.
    void PaintLines(bool withSelection);

private:
    void OnVerticalAction(int action);
    void OnHorizontalAction(int action);
    void OnAutoScroll();
    void OnCaretBlink();
    // The caret follows the pointer to `pixel`.
    void DragCaretTo(QPoint pixel, bool extend);
    void SyncScrollBars();
    TextPainter Painter() const;
    int LineCount() const;

    LinesDoc* doc_ = nullptr;
    CaretModel caret_;
    VisibleArea area_;
    DisplaySettings display_;
    CellGrid grid_;
    int line_height_ = 16;
    bool dragging_ = false;
    QPoint last_mouse_;
    QTimer auto_scroll_;
    QTimer caret_blink_;
    bool caret_shown_ = true;
    bool syncing_scroll_bars_ = false;
};

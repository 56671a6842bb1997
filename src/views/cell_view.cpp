#include "views/cell_view.h"

#include "framework/frame_services.h"
#include "docs/lines_doc.h"
#include "resources/command_ids.h"
#include "views/text_painter.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

CellView::CellView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &CellView::OnVerticalAction);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this, &CellView::OnHorizontalAction);

    auto_scroll_.setInterval(cmd::kAutoScrollPeriodMs);
    connect(&auto_scroll_, &QTimer::timeout, this, &CellView::OnAutoScroll);
    const int flash = QApplication::cursorFlashTime();
    caret_blink_.setInterval(flash > 0 ? flash / 2 : 500);
    connect(&caret_blink_, &QTimer::timeout, this, &CellView::OnCaretBlink);
    display_.font = DisplaySettings::DefaultFont();
}

void CellView::SetDocument(LinesDoc* doc)
{
    doc_ = doc;
    caret_.SetDocument(doc);
}

int CellView::LineCount() const
{
    return doc_ ? doc_->LineCount() : 0;
}

// --- metrics and scrolling ---

void CellView::RecomputeMetrics()
{
    if (grid_.Font() != display_.font) grid_ = CellGrid(display_.font);
    line_height_ = grid_.TextHeight() + 2;
    area_.SetPage(viewport()->height() / line_height_, viewport()->width() / grid_.CellWidth());
    SetScrollRanges();
    Repaint();
}

void CellView::SetScrollRanges()
{
    area_.SetLineCount(LineCount());
    SyncScrollBars();
}

void CellView::SyncScrollBars()
{
    syncing_scroll_bars_ = true;
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, area_.VerticalMaximum());
    v->setPageStep(area_.VerticalPageStep());
    v->setValue(area_.VerticalValue());
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, area_.HorizontalMaximum(doc_ ? doc_->MaxWidth() : 0));
    h->setPageStep(area_.HorizontalPageStep());
    h->setValue(area_.LeftColumn());
    syncing_scroll_bars_ = false;
}

void CellView::ScrollVertical(int lines)
{
    area_.SetLineCount(LineCount());
    if (!area_.ScrollLines(lines)) return;
    SyncScrollBars();
    Repaint();
}

void CellView::ScrollHorizontal(int columns)
{
    area_.ScrollColumns(columns);
    SyncScrollBars();
    Repaint();
}

void CellView::OnVerticalAction(int action)
{
    QScrollBar* v = verticalScrollBar();
    const int top = area_.TopLine();
    const int page = area_.LinesPerPage();
    int n = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: n = -1; break;
    case QAbstractSlider::SliderSingleStepAdd: n = 1; break;
    case QAbstractSlider::SliderPageStepSub: n = 1 - page; break;
    case QAbstractSlider::SliderPageStepAdd: n = page - 1; break;
    case QAbstractSlider::SliderToMinimum: n = -top; break;
    case QAbstractSlider::SliderToMaximum: n = LineCount() - top; break;
    case QAbstractSlider::SliderMove: n = area_.LineOfThumb(v->sliderPosition()) - top; break;
    default: break;
    }
    ScrollVertical(n);
    v->setSliderPosition(area_.VerticalValue());
}

void CellView::OnHorizontalAction(int action)
{
    QScrollBar* h = horizontalScrollBar();
    const int left = area_.LeftColumn();
    const int page = area_.ColumnsPerPage();
    int n = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: n = -1; break;
    case QAbstractSlider::SliderSingleStepAdd: n = left + page <= (doc_ ? doc_->MaxWidth() : 0) ? 1 : 0; break;
    case QAbstractSlider::SliderPageStepSub: n = -page; break;
    case QAbstractSlider::SliderPageStepAdd: n = std::min(page, h->maximum() - left); break;
    case QAbstractSlider::SliderToMinimum: n = -left; break;
    case QAbstractSlider::SliderToMaximum: n = h->maximum() - left; break;
    case QAbstractSlider::SliderMove: n = h->sliderPosition() - left; break;
    default: break;
    }
    ScrollHorizontal(n);
    h->setSliderPosition(area_.LeftColumn());
}

void CellView::scrollContentsBy(int, int)
{
    // The scroll bars are driven by their actions above; a value set from
    // elsewhere (the wheel, a keyboard step on the bar) ends up here.
    if (syncing_scroll_bars_) return;
    const int wanted = verticalScrollBar()->value();
    if (wanted != area_.VerticalValue()) ScrollVertical(area_.LineOfThumb(wanted) - area_.TopLine());
    const int column = horizontalScrollBar()->value();
    if (column != area_.LeftColumn()) ScrollHorizontal(column - area_.LeftColumn());
}

// --- the caret and the selection ---

void CellView::UpdateCaret()
{
    caret_.SnapCaret();
    area_.SetLineCount(LineCount());
    area_.BringIntoView(caret_.Caret());
    SyncScrollBars();
    caret_shown_ = true;
    if (hasFocus()) caret_blink_.start();
    UpdateStatus();
    Repaint();
}

void CellView::UpdateStatus()
{
    if (!hasFocus()) return;
    ::SetCaretPosition(caret_.Caret().line + 1, LineCount(), caret_.Caret().column + 1);
    SetOvertypeIndicator(caret_.Overwrite());
    SetLoadProgress(LoadPercent());
}

void CellView::MoveCaretTo(TextPosition position)
{
    caret_.MoveTo(position);
    UpdateCaret();
    SelectionChanged();
}

void CellView::UpdateSelection(bool extend)
{
    if (caret_.FollowCaret(extend)) SelectionChanged();
}

void CellView::SelectionChanged()
{
    Repaint();
    emit commandStateChanged();
}

void CellView::ToggleOverwrite()
{
    caret_.ToggleOverwrite();
    UpdateStatus();
    Repaint();
}

bool CellView::HandleMovementKey(int key, bool shift, bool control)
{
    CaretMove move;
    switch (key) {
    case Qt::Key_PageUp:
        if (control) ScrollVertical(-area_.TopLine());
        else ScrollVertical(1 - area_.LinesPerPage());
        return true;
    case Qt::Key_PageDown:
        if (control) ScrollVertical(LineCount() - area_.TopLine());
        else ScrollVertical(area_.LinesPerPage() - 1);
        return true;
    case Qt::Key_Home: move = control ? CaretMove::kDocumentStart : CaretMove::kLineStart; break;
    case Qt::Key_End: move = control ? CaretMove::kDocumentEnd : CaretMove::kLineEnd; break;
    case Qt::Key_Left: move = CaretMove::kLeft; break;
    case Qt::Key_Right: move = CaretMove::kRight; break;
    case Qt::Key_Up: move = CaretMove::kUp; break;
    case Qt::Key_Down: move = CaretMove::kDown; break;
    default: return false;
    }
    if (!caret_.Move(move)) return true;
    // Ctrl+Home and Ctrl+End show the first (last) page as a whole.
    if (move == CaretMove::kDocumentStart) ScrollVertical(-area_.TopLine());
    if (move == CaretMove::kDocumentEnd && LineCount() > 0) ScrollVertical(LineCount() - area_.TopLine());
    UpdateCaret();
    UpdateSelection(shift);
    return true;
}

// --- pixels and positions ---

QPoint CellView::PositionToPixel(TextPosition position) const
{
    return {(position.column - area_.LeftColumn()) * CharWidth(), (position.line - area_.TopLine()) * line_height_};
}

TextPosition CellView::PixelToPosition(QPoint pixel) const
{
    if (LineCount() == 0) return {};
    int column = std::max(0, (pixel.x() + CharWidth() / 2) / CharWidth() + area_.LeftColumn());
    int line = std::max(0, (pixel.y() >= 0 ? pixel.y() / line_height_ : -1) + area_.TopLine());
    line = std::min(line, LineCount() - 1);
    column = std::min(column, doc_->LineWidth(doc_->GetLine(line)));
    return {line, column};
}

QPoint CellView::DragPoint(QPoint pointer) const
{
    // Above or below the window the caret stops at the first or last line
    // in view: the auto-scroll timer moves on from there one line a tick,
    // however far away the pointer is.
    const int rows = std::max(1, std::min(area_.LinesPerPage(), viewport()->height() / line_height_));
    return {pointer.x(), std::clamp(pointer.y(), 0, rows * line_height_ - 1)};
}

// --- painting ---

TextPainter CellView::Painter() const
{
    return TextPainter{*doc_, caret_, area_, grid_, display_, palette(), line_height_};
}

void CellView::paintEvent(QPaintEvent*)
{
    PaintLines(true);
}

void CellView::PaintLines(bool withSelection)
{
    QPainter painter(viewport());
    if (!doc_) return painter.fillRect(viewport()->rect(), display_.background);
    Painter().Paint(painter, viewport()->rect(), withSelection, hasFocus() && caret_shown_);
}

void CellView::OnCaretBlink()
{
    caret_shown_ = !caret_shown_;
    const QPoint at = PositionToPixel(caret_.Caret());
    viewport()->update(QRect(at.x(), at.y(), std::max(2, CharWidth()) + 1, line_height_));
}

void CellView::resizeEvent(QResizeEvent* e)
{
    QAbstractScrollArea::resizeEvent(e);
    RecomputeMetrics();
}

void CellView::focusInEvent(QFocusEvent* e)
{
    QAbstractScrollArea::focusInEvent(e);
    caret_shown_ = true;
    caret_blink_.start();
    UpdateStatus();
    Repaint();
}

void CellView::focusOutEvent(QFocusEvent* e)
{
    QAbstractScrollArea::focusOutEvent(e);
    caret_blink_.stop();
    ::SetCaretPosition(0, 0, 0);
    SetLoadProgress(-1);
    Repaint();
}

void CellView::DragCaretTo(QPoint pixel, bool extend)
{
    caret_.PlaceCaret(PixelToPosition(pixel));
    UpdateCaret();
    UpdateSelection(extend);
}

void CellView::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(e);
    setFocus(Qt::MouseFocusReason);
    dragging_ = true;
    last_mouse_ = e->position().toPoint();
    DragCaretTo(last_mouse_, e->modifiers() & Qt::ShiftModifier);
    auto_scroll_.start();
}

void CellView::mouseMoveEvent(QMouseEvent* e)
{
    if (!dragging_ || !(e->buttons() & Qt::LeftButton)) return;
    last_mouse_ = e->position().toPoint();
    DragCaretTo(DragPoint(last_mouse_), true);
}

void CellView::OnAutoScroll()
{
    if (!dragging_ || !HasSelection()) return;
    if (last_mouse_.y() < 0) ScrollVertical(-1);
    else if (last_mouse_.y() >= viewport()->height()) ScrollVertical(1);
    else return;
    DragCaretTo(DragPoint(last_mouse_), true);
}

void CellView::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !dragging_) return QAbstractScrollArea::mouseReleaseEvent(e);
    dragging_ = false;
    auto_scroll_.stop();
    caret_.PlaceCaret(PixelToPosition(DragPoint(e->position().toPoint())));
    UpdateCaret();
}

void CellView::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) return;
    if (!caret_.SelectWordAt(PixelToPosition(e->position().toPoint()))) return;
    SelectionChanged();
    UpdateCaret();
}


void CellView::LoadDisplaySettings(const profile::Snapshot& settings)
{
    viewport()->setCursor(Qt::IBeamCursor);
    display_ = DisplaySettings::Read(settings);
    if (!doc_) return;
    doc_->SetTabSize(display_.tab_stops);
    doc_->Options().Load(settings);
}

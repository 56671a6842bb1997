#include "views/edit_view.h"

#include "docs/doc_errors.h"
#include "docs/lines_doc.h"
#include "framework/file_filter.h"
#include "framework/frame_services.h"
#include "framework/message_box.h"
#include "print/document_print.h"
#include "resources/command_ids.h"
#include "resources/strings.h"
#include "settings/profile.h"
#include "settings/profile_snapshot.h"
#include "settings/settings_path.h"
#include "views/line_painter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMdiSubWindow>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>

namespace {

const QEvent::Type kLoadEvent = QEvent::Type(cmd::kViewLoadMessage);

int untitled_counter = 1;

} // namespace

EditView::EditView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &EditView::OnVerticalAction);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this, &EditView::OnHorizontalAction);

    auto_scroll_.setInterval(cmd::kAutoScrollPeriodMs);
    connect(&auto_scroll_, &QTimer::timeout, this, &EditView::OnAutoScroll);
    const int flash = QApplication::cursorFlashTime();
    caret_blink_.setInterval(flash > 0 ? flash / 2 : 500);
    connect(&caret_blink_, &QTimer::timeout, this, &EditView::OnCaretBlink);

    find_data_.bufferSize = kFindBufferSize;
    font_ = QFont("Courier New");
    font_.setStyleHint(QFont::TypeWriter);
}

EditView::~EditView()
{
    if (dialog_) delete dialog_.data();
}

const fw::CommandTable& EditView::Commands()
{
    static const fw::CommandTable table(nullptr, {
        fw::On(cmd::kFileSave, &EditView::CmSave, &EditView::CanSave),
        fw::On(cmd::kFileSaveAs, &EditView::CmSaveAs),
        fw::On(cmd::kFilePrint, &EditView::CmPrint),
        fw::On(cmd::kFilePrintPreview, &EditView::CmPrintPreview),
        fw::On(cmd::kSearchFind, &EditView::CmFind),
        fw::On(cmd::kSearchReplace, &EditView::CmReplace),
        fw::On(cmd::kSearchNext, &EditView::CmNext, &EditView::CanNext),
    });
    return table;
}

std::string EditView::DocumentPath() const
{
    return doc_ ? doc_->FileName() : std::string();
}

bool EditView::GetOrderedSelection(TextPosition& start, TextPosition& end) const
{
    start = std::min(anchor_, end_);
    end = std::max(anchor_, end_);
    return HasSelection();
}

QColor EditView::ParseColour(std::string_view text)
{
    int r = 0, g = 0, b = 0;
    const std::string copy(text);
    std::sscanf(copy.c_str(), "%d %d %d", &r, &g, &b);
    return QColor(r & 0xFF, g & 0xFF, b & 0xFF);
}

int EditView::NextUntitledNumber()
{
    return untitled_counter;
}

// --- metrics, caret, scrolling ---

void EditView::RecomputeMetrics()
{
    if (grid_.Font() != font_) grid_ = CellGrid(font_);
    char_width_ = grid_.CellWidth();
    line_height_ = grid_.TextHeight() + 2;
    lines_per_page_ = viewport()->height() / line_height_;
    columns_per_page_ = viewport()->width() / char_width_;
    SetScrollRanges();
    Repaint();
}

void EditView::SetScrollRanges()
{
    const int count = doc_ ? doc_->LineCount() : 0;
    const int last = std::max(0, count - 1);
    scroll_scale_ = last / kScrollRangeLimit + 1;
    scroll_remainder_ = top_line_ % scroll_scale_;
    SyncScrollBars();
}

void EditView::SyncScrollBars()
{
    const int count = doc_ ? doc_->LineCount() : 0;
    const int widest = doc_ ? doc_->MaxWidth() : 0;
    syncing_scroll_bars_ = true;
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, std::max(0, count - 1) / scroll_scale_);
    v->setPageStep(std::max(1, lines_per_page_ / scroll_scale_));
    v->setValue(top_line_ / scroll_scale_);
    QScrollBar* h = horizontalScrollBar();
    // One column more than the widest line, so the caret after its last
    // character can be brought into view.
    h->setRange(0, std::max(0, widest + 1 - columns_per_page_));
    h->setPageStep(std::max(1, columns_per_page_));
    h->setValue(left_column_);
    syncing_scroll_bars_ = false;
}

void EditView::ScrollVertical(int lines)
{
    const int count = doc_ ? doc_->LineCount() : 0;
    if (lines < 0 && top_line_ == 0) return;
    if (lines > 0 && top_line_ >= count - 1) return;
    top_line_ = std::max(0, top_line_ + lines);
    scroll_remainder_ = top_line_ % scroll_scale_;
    SyncScrollBars();
    Repaint();
}

void EditView::ScrollToBottom()
{
    const int count = doc_ ? doc_->LineCount() : 0;
    ScrollVertical(count - top_line_);
}

void EditView::ScrollHorizontal(int columns)
{
    left_column_ = std::max(0, left_column_ + columns);
    SyncScrollBars();
    Repaint();
}

void EditView::OnVerticalAction(int action)
{
    QScrollBar* v = verticalScrollBar();
    const int count = doc_ ? doc_->LineCount() : 0;
    int n = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: n = -1; break;
    case QAbstractSlider::SliderSingleStepAdd: n = 1; break;
    case QAbstractSlider::SliderPageStepSub: n = 1 - lines_per_page_; break;
    case QAbstractSlider::SliderPageStepAdd: n = lines_per_page_ - 1; break;
    case QAbstractSlider::SliderToMinimum: n = -top_line_; break;
    case QAbstractSlider::SliderToMaximum: n = count - top_line_; break;
    case QAbstractSlider::SliderMove:
        n = v->sliderPosition() * scroll_scale_ + scroll_remainder_ - top_line_;
        break;
    default: break;
    }
    ScrollVertical(n);
    v->setSliderPosition(top_line_ / scroll_scale_);
}

void EditView::OnHorizontalAction(int action)
{
    QScrollBar* h = horizontalScrollBar();
    const int widest = doc_ ? doc_->MaxWidth() : 0;
    int n = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: n = -1; break;
    case QAbstractSlider::SliderSingleStepAdd:
        n = left_column_ + columns_per_page_ <= widest ? 1 : 0;
        break;
    case QAbstractSlider::SliderPageStepSub: n = -columns_per_page_; break;
    case QAbstractSlider::SliderPageStepAdd:
        n = std::min(columns_per_page_, h->maximum() - left_column_);
        break;
    case QAbstractSlider::SliderToMinimum: n = -left_column_; break;
    case QAbstractSlider::SliderToMaximum: n = h->maximum() - left_column_; break;
    case QAbstractSlider::SliderMove: n = h->sliderPosition() - left_column_; break;
    default: break;
    }
    ScrollHorizontal(n);
    h->setSliderPosition(left_column_);
}

void EditView::scrollContentsBy(int, int)
{
    // The scroll bars are driven by their actions above; a value set from
    // elsewhere (the wheel, a keyboard step on the bar) ends up here.
    if (syncing_scroll_bars_) return;
    const int wanted = verticalScrollBar()->value();
    if (wanted != top_line_ / scroll_scale_)
        ScrollVertical(wanted * scroll_scale_ + scroll_remainder_ - top_line_);
    const int column = horizontalScrollBar()->value();
    if (column != left_column_) ScrollHorizontal(column - left_column_);
}

void EditView::UpdateCaret()
{
    if (doc_ && doc_->LineCount() > 0) {
        caret_.line = std::clamp(caret_.line, 0, doc_->LineCount() - 1);
        const TextLine* line = doc_->GetLine(caret_.line);
        caret_.column = doc_->PrefixWidth(line, doc_->ColumnToIndex(line, std::max(0, caret_.column)));
    } else {
        caret_ = {};
    }
    // Bring the caret into view: a line (column) at or past the last whole
    // one shown scrolls just far enough.
    const int rows = std::max(1, lines_per_page_);
    if (caret_.line >= top_line_ + rows) ScrollVertical(caret_.line - (top_line_ + rows) + 1);
    else if (caret_.line < top_line_) ScrollVertical(caret_.line - top_line_);
    const int columns = std::max(1, columns_per_page_);
    if (caret_.column >= left_column_ + columns) ScrollHorizontal(caret_.column - (left_column_ + columns) + 1);
    else if (caret_.column < left_column_) ScrollHorizontal(caret_.column - left_column_);
    caret_shown_ = true;
    if (hasFocus()) caret_blink_.start();
    UpdateStatus();
    Repaint();
}

void EditView::UpdateStatus()
{
    if (!hasFocus()) return;
    ::SetCaretPosition(caret_.line + 1, doc_ ? doc_->LineCount() : 0, caret_.column + 1);
    SetOvertypeIndicator(overwrite_);
}

void EditView::MoveCaretTo(TextPosition position)
{
    caret_ = position;
    UpdateCaret();
    // A programmed move (load, Go to) always ends the selection, even onto
    // the caret's own place, which the update rule for clicks leaves alone.
    last_selection_caret_ = {-1, -1};
    UpdateSelection(false);
}

void EditView::UpdateSelection(bool extend)
{
    if (caret_ == last_selection_caret_) return;
    last_selection_caret_ = caret_;
    if (extend) end_ = caret_;
    else anchor_ = end_ = caret_;
    if (doc_) {
        anchor_.column = std::min(anchor_.column, doc_->LineWidth(doc_->GetLine(anchor_.line)));
        end_.column = std::min(end_.column, doc_->LineWidth(doc_->GetLine(end_.line)));
    }
    Repaint();
    emit commandStateChanged();
}

void EditView::SetSelection(TextPosition anchor, TextPosition end)
{
    anchor_ = anchor;
    end_ = end;
    caret_ = end;
    last_selection_caret_ = end;
    Repaint();
    emit commandStateChanged();
}

void EditView::SetFindSucceeded(bool found)
{
    find_succeeded_ = found;
    emit commandStateChanged();
}

bool EditView::SelectedColumns(int line, int& from, int& to) const
{
    TextPosition start, end;
    if (!GetOrderedSelection(start, end) || line < start.line || line > end.line) return false;
    const int width = doc_->LineWidth(doc_->GetLine(line));
    from = line == start.line ? start.column : 0;
    to = line == end.line ? end.column : width;
    return from < to;
}

QPoint EditView::PositionToPixel(TextPosition position) const
{
    return {(position.column - left_column_) * char_width_, (position.line - top_line_) * line_height_};
}

TextPosition EditView::PixelToPosition(QPoint pixel) const
{
    if (!doc_ || doc_->LineCount() == 0) return {};
    int column = std::max(0, (pixel.x() + char_width_ / 2) / char_width_ + left_column_);
    int line = std::max(0, (pixel.y() >= 0 ? pixel.y() / line_height_ : -1) + top_line_);
    line = std::min(line, doc_->LineCount() - 1);
    column = std::min(column, doc_->LineWidth(doc_->GetLine(line)));
    return {line, column};
}

// --- painting ---

void EditView::paintEvent(QPaintEvent*)
{
    PaintLines(true);
}

void EditView::PaintLines(bool withSelection)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), background_);
    if (!doc_) return;
    painter.setFont(font_);
    const int count = doc_->LineCount();
    const int last = std::min(count, top_line_ + lines_per_page_ + 1);
    for (int i = top_line_; i < last; ++i) DrawLine(painter, i, (i - top_line_) * line_height_, withSelection);

    if (hasFocus() && caret_shown_) {
        const QPoint at = PositionToPixel(caret_);
        const int width = overwrite_ ? char_width_ : 2;
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(QRect(at.x(), at.y() + 1, width, line_height_ - 2), Qt::white);
    }
}

void EditView::DrawLine(QPainter& painter, int index, int y, bool withSelection)
{
    const TextLine* line = doc_->GetLine(index);
    const int first = left_column_;
    const int count = columns_per_page_ + 2;
    const QString cells = VisibleCells(line ? line->View() : std::string_view(), doc_->TabSize(), first, count);
    const int baseline = y + 1 + grid_.Ascent();

    painter.setPen(foreground_);
    grid_.Draw(painter, 0, baseline, cells);

    int from = 0, to = 0;
    if (!withSelection || !SelectedColumns(index, from, to)) return;
    from = std::max(from, first);
    to = std::min(to, first + int(cells.size()));
    if (to <= from) return;
    const QRect band((from - first) * char_width_, y, (to - from) * char_width_, line_height_);
    painter.fillRect(band, palette().color(QPalette::Highlight));
    painter.setPen(palette().color(QPalette::HighlightedText));
    grid_.Draw(painter, band.x(), baseline, cells.mid(from - first, to - from));
}

// --- loading ---

void EditView::EnsureLoaded()
{
    if (!load_started_) LoadDocument();
}

void EditView::LoadDocument()
{
    if (load_started_ || !doc_) return;
    load_started_ = true;
    QPointer<EditView> alive(this);
    const bool ok = doc_->Load([this] { viewport()->repaint(); }, std::max(1, LinesPerPage()));
    if (!alive) return;
    loaded_ = true;
    if (!ok) {
        ShowMessage(strings::kOpenFileError, fw::kMbOk | fw::kMbIconStop, doc_->Error(), doc_->FileName().c_str());
        CloseWindowLater();
        return;
    }
    // A text file that vanished loads as one empty line and says so here.
    ReportDocError();
    RecomputeMetrics();
    MoveCaretTo({0, 0});
    emit commandStateChanged();
}

// --- events ---

bool EditView::event(QEvent* e)
{
    if (e->type() == kLoadEvent) {
        LoadDocument();
        return true;
    }
    return QAbstractScrollArea::event(e);
}

void EditView::showEvent(QShowEvent* e)
{
    QAbstractScrollArea::showEvent(e);
    if (!load_pending_) return;
    load_pending_ = false;
    // The file is read once the window is on the screen, so that the frame
    // and the new window are drawn first and the lines fill in as they are
    // read. Until the window system exposes the frame, a load would keep it
    // from being drawn at all.
    QWindow* screen_window = window()->windowHandle();
    if (!screen_window || screen_window->isExposed()) return PostLoad();
    waiting_for_screen_ = screen_window;
    screen_window->installEventFilter(this);
    QTimer::singleShot(cmd::kViewExposeWaitMs, this, &EditView::PostLoad);
}

bool EditView::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == waiting_for_screen_ && e->type() == QEvent::Expose && waiting_for_screen_->isExposed())
        PostLoad();
    return QAbstractScrollArea::eventFilter(watched, e);
}

void EditView::PostLoad()
{
    if (waiting_for_screen_) {
        waiting_for_screen_->removeEventFilter(this);
        waiting_for_screen_ = nullptr;
    }
    if (load_posted_ || load_started_) return;
    load_posted_ = true;
    // Low priority: what the expose asks to be drawn is drawn before the load.
    QCoreApplication::postEvent(this, new QEvent(kLoadEvent), Qt::LowEventPriority);
}

void EditView::resizeEvent(QResizeEvent* e)
{
    QAbstractScrollArea::resizeEvent(e);
    RecomputeMetrics();
}

void EditView::focusInEvent(QFocusEvent* e)
{
    QAbstractScrollArea::focusInEvent(e);
    caret_shown_ = true;
    caret_blink_.start();
    UpdateStatus();
    Repaint();
}

void EditView::focusOutEvent(QFocusEvent* e)
{
    QAbstractScrollArea::focusOutEvent(e);
    caret_blink_.stop();
    ::SetCaretPosition(0, 0, 0);
    Repaint();
}

void EditView::OnCaretBlink()
{
    caret_shown_ = !caret_shown_;
    const QPoint at = PositionToPixel(caret_);
    viewport()->update(QRect(at.x(), at.y(), std::max(2, char_width_) + 1, line_height_));
}

void EditView::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(e);
    setFocus(Qt::MouseFocusReason);
    dragging_ = true;
    last_mouse_ = e->position().toPoint();
    caret_ = PixelToPosition(last_mouse_);
    UpdateCaret();
    UpdateSelection(e->modifiers() & Qt::ShiftModifier);
    auto_scroll_.start();
}

void EditView::mouseMoveEvent(QMouseEvent* e)
{
    if (!dragging_ || !(e->buttons() & Qt::LeftButton)) return;
    last_mouse_ = e->position().toPoint();
    caret_ = PixelToPosition(DragPoint(last_mouse_));
    UpdateCaret();
    UpdateSelection(true);
}

QPoint EditView::DragPoint(QPoint pointer) const
{
    // Above or below the window the caret stops at the first or last line
    // in view: the auto-scroll timer moves on from there one line a tick,
    // however far away the pointer is.
    const int rows = std::max(1, std::min(lines_per_page_, viewport()->height() / line_height_));
    return {pointer.x(), std::clamp(pointer.y(), 0, rows * line_height_ - 1)};
}

void EditView::OnAutoScroll()
{
    if (!dragging_ || !HasSelection()) return;
    if (last_mouse_.y() < 0) ScrollVertical(-1);
    else if (last_mouse_.y() >= viewport()->height()) ScrollVertical(1);
    else return;
    caret_ = PixelToPosition(DragPoint(last_mouse_));
    UpdateCaret();
    UpdateSelection(true);
}

void EditView::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !dragging_) return QAbstractScrollArea::mouseReleaseEvent(e);
    dragging_ = false;
    auto_scroll_.stop();
    caret_ = PixelToPosition(DragPoint(e->position().toPoint()));
    UpdateCaret();
}

void EditView::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !doc_ || doc_->LineCount() == 0) return;
    const TextPosition at = PixelToPosition(e->position().toPoint());
    int start = -1, end = -1;
    doc_->WordBounds(doc_->GetLine(at.line), at.column, start, end);
    if (start < 0) return;
    SetSelection({at.line, start}, {at.line, end});
    UpdateCaret();
}

void EditView::closeEvent(QCloseEvent* e)
{
    if (!CanClose()) {
        e->ignore();
        return;
    }
    e->accept();
}

bool EditView::CanClose()
{
    ::SetCaretPosition(0, 0, 0);
    return true;
}

void EditView::CloseWindowLater()
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* child = qobject_cast<QMdiSubWindow*>(w)) {
            QMetaObject::invokeMethod(child, &QWidget::close, Qt::QueuedConnection);
            return;
        }
    }
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

// --- keys ---

void EditView::ToggleOverwrite()
{
    overwrite_ = !overwrite_;
    UpdateStatus();
    Repaint();
}

bool EditView::HandleMovementKey(int key, bool shift, bool control)
{
    const int count = doc_ ? doc_->LineCount() : 0;
    const TextLine* line = doc_ ? doc_->GetLine(caret_.line) : nullptr;
    const int width = doc_ ? doc_->LineWidth(line) : 0;
    switch (key) {
    case Qt::Key_PageUp:
        if (control) ScrollToTop();
        else ScrollVertical(1 - lines_per_page_);
        return true;
    case Qt::Key_PageDown:
        if (control) ScrollToBottom();
        else ScrollVertical(lines_per_page_ - 1);
        return true;
    case Qt::Key_Home:
        caret_.column = 0;
        if (control) {
            caret_.line = 0;
            ScrollToTop();
        }
        break;
    case Qt::Key_End:
        if (control && count > 0) {
            caret_.line = count - 1;
            caret_.column = doc_->LineWidth(doc_->GetLine(caret_.line));
            ScrollToBottom();
        } else {
            caret_.column = width;
        }
        break;
    case Qt::Key_Left:
        if (caret_.column > 0) {
            caret_.column = doc_->PrefixWidth(line, doc_->ColumnToIndex(line, caret_.column), -1);
        } else if (caret_.line > 0) {
            --caret_.line;
            caret_.column = doc_->LineWidth(doc_->GetLine(caret_.line));
        } else {
            return true;
        }
        break;
    case Qt::Key_Right:
        if (caret_.column < width) {
            caret_.column = doc_->PrefixWidth(line, doc_->ColumnToIndex(line, caret_.column), 1);
        } else if (caret_.line < count - 1) {
            ++caret_.line;
            caret_.column = 0;
        } else {
            return true;
        }
        break;
    case Qt::Key_Up:
        if (caret_.line == 0) return true;
        --caret_.line;
        break;
    case Qt::Key_Down:
        if (caret_.line >= count - 1) return true;
        ++caret_.line;
        break;
    default:
        return false;
    }
    UpdateCaret();
    UpdateSelection(shift);
    return true;
}

std::string EditView::SingleLineSelection() const
{
    TextPosition start, end;
    if (!doc_ || !GetOrderedSelection(start, end) || start.line != end.line) return {};
    return doc_->CopyText(start, end).value_or(std::string());
}

// --- editing shared by both views ---

void EditView::DeleteSelection()
{
    TextPosition start, end;
    if (!doc_ || !GetOrderedSelection(start, end)) return;
    const TextLine* first = doc_->GetLine(start.line);
    const TextLine* last = doc_->GetLine(end.line);
    if (!first || !last) return;
    const int from = doc_->ColumnToIndex(first, start.column);
    const int to = doc_->ColumnToIndex(last, end.column);
    const std::string tail(last->View().substr(std::size_t(to)));
    const int firstLength = first->Length();
    bool ok = doc_->DeleteChars(start.line, from, firstLength - from);
    ok = ok && doc_->InsertChars(start.line, tail, -1);
    if (ok && end.line > start.line) doc_->DeleteLines(start.line + 1, end.line - start.line);
    anchor_ = end_ = caret_ = start;
    last_selection_caret_ = start;
    UpdateCaret();
    ReportDocError();
    emit commandStateChanged();
}

void EditView::ReportDocError()
{
    if (!doc_ || doc_->Error() == 0) return;
    const int code = doc_->Error();
    doc_->SetError(0);
    ShowMessage(doc_error::MessageId(code), fw::kMbOk | fw::kMbIconStop);
}

// --- settings ---

void EditView::LoadDisplaySettings(const profile::Snapshot& settings)
{
    viewport()->setCursor(Qt::IBeamCursor);
    const std::string face = settings.ReadString("Font", "font_name", "Courier New", 127);
    const int size = settings.ReadInt("Font", "font_size", 12);
    const int weight = settings.ReadInt("Font", "font_weight", 0);
    font_ = QFont(QString::fromStdString(face));
    font_.setStyleHint(QFont::TypeWriter);
    font_.setFixedPitch(true);
    font_.setPixelSize(size > 0 ? size : 12);
    if (weight > 0) font_.setWeight(QFont::Weight(std::clamp(weight, 1, 1000)));
    font_.setKerning(false);

    int tabs = settings.ReadInt("Display", "tab_stops", 4);
    if (tabs <= 0 || tabs > 16) tabs = 4;
    if (doc_) doc_->SetTabSize(tabs);
    background_ = ParseColour(settings.ReadString("Display", "bk_color", "255 255 255", 127));
    foreground_ = ParseColour(settings.ReadString("Display", "fg_color", "0 0 0", 127));
    if (doc_) doc_->Options().Load(settings);
}

// --- title, saving ---

void EditView::SetTitle()
{
    QString title;
    if (doc_ && !doc_->FileName().empty()) title = QString::fromStdString(doc_->GetTitle());
    else title = QString("untitled%1").arg(untitled_counter++);
    setWindowTitle(title);
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* child = qobject_cast<QMdiSubWindow*>(w)) {
            child->setWindowTitle(title);
            break;
        }
    }
}

bool EditView::CanSave() const
{
    return doc_ && doc_->Modified() && !doc_->FileName().empty();
}

void EditView::CmSave()
{
    if (!doc_) return;
    if (doc_->FileName().empty()) return CmSaveAs();
    if (doc_->Save()) DocumentSaved();
    SetTitle();
    ReportDocError();
    emit commandStateChanged();
}

void EditView::CmSaveAs()
{
    if (!doc_) return;
    QFileDialog dialog(this, tr("Save As"));
    dialog.setObjectName("SaveAsDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(QtFileFilters(BuildFilter()));
    dialog.setDefaultSuffix("TXT");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    SaveAs(dialog.selectedFiles().first().toStdString());
}

void EditView::SaveAs(const std::string& name)
{
    if (!doc_ || !MaySaveAs(name)) return;
    if (doc_->Save(name)) {
        DocumentSaved();
        AddRecentFile(doc_->FileName());
    }
    SetTitle();
    ReportDocError();
    emit commandStateChanged();
}

// --- printing, through the frame's printer ---

void EditView::CmPrint()
{
    EnsureLoaded();
    if (doc_) ::Print(*doc_, this, font_);
}

void EditView::CmPrintPreview()
{
    EnsureLoaded();
    if (doc_) ::PrintPreview(*doc_, this, font_);
}

// --- find and replace dialogs ---

void EditView::CmFind()
{
    OpenDialog(cmd::kSearchFind);
}

void EditView::CmReplace()
{
    OpenDialog(cmd::kSearchReplace);
}

void EditView::OpenDialog(cmd::Command kind)
{
    if (!doc_) return;
    const SearchOptions& options = doc_->Options();
    unsigned flags = find_data_.flags & ~(findflags::kMatchCase | findflags::kWholeWord | findflags::kDown);
    if (options.case_sensitive) flags |= findflags::kMatchCase;
    if (options.whole_words) flags |= findflags::kWholeWord;
    if (options.down) flags |= findflags::kDown;
    find_data_.flags = flags;
    const std::string selected = SingleLineSelection();
    find_data_.findWhat = HasSelection() && !selected.empty() ? selected : options.search_patt;
    if (find_data_.findWhat.size() >= std::size_t(kFindBufferSize))
        find_data_.findWhat.resize(std::size_t(kFindBufferSize) - 1);
    if (kind == cmd::kSearchReplace) find_data_.replaceWith = options.replace_patt;

    if (dialog_ && dialog_->isVisible()) {
        open_dialog_kind_ = kind;
        CmNext();
        return;
    }
    if (dialog_) delete dialog_.data();
    const auto dialogKind = kind == cmd::kSearchFind ? FindReplaceDialog::Kind::Find : FindReplaceDialog::Kind::Replace;
    dialog_ = new FindReplaceDialog(this, dialogKind, find_data_);
    connect(dialog_, &FindReplaceDialog::notified, this, &EditView::OnDialogNotified);
    open_dialog_kind_ = kind;
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

void EditView::EnsureDialogObject()
{
    if (!dialog_) {
        dialog_ = new FindReplaceDialog(this, FindReplaceDialog::Kind::Find, find_data_);
        connect(dialog_, &FindReplaceDialog::notified, this, &EditView::OnDialogNotified);
    } else {
        dialog_->setData(find_data_);
    }
}

void EditView::OnDialogNotified(const FindReplaceData& data)
{
    find_data_ = data;
    if (data.flags & findflags::kTerminating) {
        open_dialog_kind_ = cmd::kNone;
        return;
    }
    // One operation per press: the dialog ends with it.
    dialog_->hide();
    PerformFindReplace();
    if (dialog_) dialog_->close();
}

bool EditView::CanNext() const
{
    return find_succeeded_;
}

void EditView::CmNext()
{
    if (dialog_) {
        const FindReplaceData current = dialog_->data();
        find_data_.findWhat = current.findWhat;
        if (dialog_->kind() == FindReplaceDialog::Kind::Replace) find_data_.replaceWith = current.replaceWith;
        find_data_.flags = current.flags;
    }
    find_data_.flags |= findflags::kFindNext;
    find_data_.flags &= ~(findflags::kReplace | findflags::kReplaceAll);
    PerformFindReplace();
}

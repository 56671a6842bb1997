#pragma once
// The common base of the text and hex windows: shows a line document as a
// grid of fixed-width character cells and owns what both windows share:
// font metrics, the caret and its insert / overwrite shape, the selection,
// scrolling, mouse selection with auto-scroll, word selection on double
// click, the title, loading the document once the window shows, the Find
// and Replace dialogs, Save and Save As, and the reporting of document
// errors. The derived views supply key handling, the settings they read and
// the actual search.
//
// Positions are (line index, display column); a tab advances to the next
// multiple of the document's tab width.

#include "framework/document_view.h"
#include "views/cell_grid.h"
#include "docs/text_position.h"
#include "framework/command_table.h"
#include "framework/find_replace_dialog.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <string>
#include <string_view>

class LinesDoc;
class TextLine;
namespace profile {
class Snapshot;
}

class EditView : public QAbstractScrollArea, public fw::CommandTarget, public DocumentView {
    Q_OBJECT
public:
    // The vertical scroll bar never needs a range above this; longer
    // documents scale one thumb step to several lines.
    static constexpr int kScrollRangeLimit = 32767;
    // Longest find or replace text the dialogs take.
    static constexpr int kFindBufferSize = 128;

    explicit EditView(QWidget* parent = nullptr);
    ~EditView() override;

    static const fw::CommandTable& Commands();
    const fw::CommandTable& commandTable() const override { return Commands(); }

    // --- DocumentView ---
    std::string DocumentPath() const override;
    void ReloadSettings() override { LoadSettings(); }

    // --- state, read by the frame, the grep window and the tests ---
    LinesDoc* Document() const { return doc_; }
    TextPosition Caret() const { return caret_; }
    TextPosition Anchor() const { return anchor_; }
    TextPosition SelectionEnd() const { return end_; }
    bool HasSelection() const { return anchor_ != end_; }
    // The anchor and the end in document order; false when nothing is selected.
    bool GetOrderedSelection(TextPosition& start, TextPosition& end) const;
    bool Overwrite() const { return overwrite_; }
    bool FindSucceeded() const { return find_succeeded_; }
    int TopLine() const { return top_line_; }
    int LeftColumn() const { return left_column_; }
    int LinesPerPage() const { return lines_per_page_; }
    int ColumnsPerPage() const { return columns_per_page_; }
    int LineHeight() const { return line_height_; }
    int CharWidth() const { return char_width_; }
    int ScrollScale() const { return scroll_scale_; }
    const QFont& ViewFont() const { return font_; }
    QColor BackgroundColour() const { return background_; }
    QColor TextColour() const { return foreground_; }
    cmd::Command OpenDialogKind() const { return open_dialog_kind_; }
    FindReplaceDialog* Dialog() const { return dialog_; }
    const FindReplaceData& FindData() const { return find_data_; }
    // True once the load has run (or was never needed: an untitled view).
    bool Loaded() const { return loaded_; }

    // Runs the load now when it is still waiting for the window to show.
    void EnsureLoaded();

    // Puts the caret at a position (snapped to a character), brings it into
    // view and collapses the selection there.
    void MoveCaretTo(TextPosition position);

    // "r g b" in decimal; each component's low 8 bits.
    static QColor ParseColour(std::string_view text);
    // The number the next "untitled%d" title uses (shared by all views).
    static int NextUntitledNumber();

    // --- commands ---
    void CmSave();
    bool CanSave() const;
    void CmSaveAs();
    // Save As with a name already chosen: saves, retitles, adds the name to
    // the recent files and reports any failure.
    void SaveAs(const std::string& name);
    void CmPrint();
    void CmPrintPreview();
    void CmFind();
    void CmReplace();
    void CmNext();
    bool CanNext() const;

    // The close query: false keeps the window open.
    virtual bool CanClose();

signals:
    // Selection, modified flag, undo list or find state changed.
    void commandStateChanged();

protected:
    // --- operations the derived views replace ---
    virtual void LoadSettings() {}
    // Whether the document may be saved under a name; a view that refuses
    // says why itself.
    virtual bool MaySaveAs(const std::string&) { return true; }
    virtual bool PerformFindReplace() { return false; }
    virtual void DeleteSelection();
    // The document was just written to its file (Save or Save As).
    virtual void DocumentSaved() {}

    // --- operations offered to the derived views ---
    void SetDocument(LinesDoc* doc) { doc_ = doc; }
    // Snaps the caret to a character, scrolls it into view, shows the
    // status and repaints the caret.
    void UpdateCaret();
    void UpdateStatus();
    void RecomputeMetrics();
    void SetTitle();
    void SetScrollRanges();
    // After a caret move: the selection collapses to the caret (reset) or
    // its end follows the caret (extend).
    void UpdateSelection(bool extend);
    void ScrollVertical(int lines);
    void ScrollHorizontal(int columns);
    void ScrollToTop() { ScrollVertical(-top_line_); }
    void ScrollToBottom();
    void ReportDocError();
    // Reads the font, the tab width, the colours and the find options:
    // what both views take from the settings file (read once by the caller).
    void LoadDisplaySettings(const profile::Snapshot& settings);
    // Sets anchor, end and caret at once (the caret at `end`).
    void SetSelection(TextPosition anchor, TextPosition end);
    void PlaceCaret(TextPosition position) { caret_ = position; }
    void SetFindSucceeded(bool found);
    bool StopRequested() const { return stop_request_; }
    void SetStopRequest(bool stop) { stop_request_ = stop; }
    FindReplaceData& MutableFindData() { return find_data_; }
    void SetOpenDialogKind(cmd::Command kind) { open_dialog_kind_ = kind; }
    // Makes sure a dialog object exists (hidden) and shows `find_data_`.
    void EnsureDialogObject();
    // The view's own repaint: the lines in view.
    void Repaint() { viewport()->update(); }
    // Movement keys shared by both views; true when the key was one of them.
    bool HandleMovementKey(int key, bool shift, bool control);
    void ToggleOverwrite();
    // The selected text when the selection lies within one line.
    std::string SingleLineSelection() const;
    // Posts the load event when the view is first shown.
    void PostLoadWhenShown() { load_pending_ = true; }
    // A view without a file to read: nothing is left to load.
    void MarkLoaded() { load_started_ = loaded_ = true; }
    // Reads the document's file, once. The first screenful is painted as
    // soon as it is read. A file that cannot be read is reported and its
    // window closed; otherwise any error the load left is reported and the
    // caret goes to the start.
    void LoadDocument();
    // Closes the window that holds the view (its MDI child, or itself).
    void CloseWindowLater();

    TextPosition PixelToPosition(QPoint pixel) const;
    // Where a dragging pointer puts the caret: its place, held to the lines in view.
    QPoint DragPoint(QPoint pointer) const;
    QPoint PositionToPixel(TextPosition position) const;
    // The display columns of `line` selected, [from, to); false when none.
    bool SelectedColumns(int line, int& from, int& to) const;

    // --- events ---
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool) override { return false; }  // Tab is a character

    // Painting: the background, every line in view (with the selection when
    // asked) and the caret.
    void PaintLines(bool withSelection);

private:
    void OnVerticalAction(int action);
    void OnHorizontalAction(int action);
    void OnAutoScroll();
    // Posts the load event, once; the load runs after the waiting events.
    void PostLoad();
    void OnCaretBlink();
    void OnDialogNotified(const FindReplaceData& data);
    void OpenDialog(cmd::Command kind);
    void SyncScrollBars();
    void DrawLine(class QPainter& painter, int index, int y, bool withSelection);

    LinesDoc* doc_ = nullptr;
    QFont font_;
    CellGrid grid_;
    QColor background_{Qt::white};
    QColor foreground_{Qt::black};
    TextPosition caret_;
    TextPosition anchor_;
    TextPosition end_;
    TextPosition last_selection_caret_{-1, -1};
    int line_height_ = 16;
    int char_width_ = 8;
    int lines_per_page_ = 1;
    int columns_per_page_ = 1;
    int scroll_remainder_ = 0;
    int scroll_scale_ = 1;
    int top_line_ = 0;
    int left_column_ = 0;
    bool find_succeeded_ = false;
    bool stop_request_ = false;
    bool overwrite_ = false;
    cmd::Command open_dialog_kind_ = cmd::kNone;
    FindReplaceData find_data_;
    QPointer<FindReplaceDialog> dialog_;

    bool dragging_ = false;
    QPoint last_mouse_;
    QTimer auto_scroll_;
    QTimer caret_blink_;
    bool caret_shown_ = true;
    bool load_pending_ = false;
    bool load_posted_ = false;
    QPointer<QWindow> waiting_for_screen_;
    bool load_started_ = false;
    bool loaded_ = false;
    bool syncing_scroll_bars_ = false;
};

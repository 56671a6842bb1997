#pragma once
// The editable text window: an edit view over a text document. It turns
// keys, the clipboard and the dialogs into calls of its text editor
// (src/edit), which owns every edit rule and the undo list, and then
// scrolls, repaints and reports. It also offers Go to line and the
// operations through which the Grep window selects or replaces text in an
// open file.

#include "views/edit_view.h"

#include "framework/grep_hit_view.h"

#include <memory>
#include <string>

class CUndoList;
class TextDoc;
class TextEditor;
enum class EditOutcome;
struct FindRequest;

class TextView : public EditView, public GrepHitView {
    Q_OBJECT
public:
    // An empty path makes an untitled document with one empty line.
    explicit TextView(const std::string& fileName, QWidget* parent = nullptr);
    ~TextView() override;

    static const fw::CommandTable& Commands();
    const fw::CommandTable& commandTable() const override { return Commands(); }

    ViewKind Kind() const override { return ViewKind::Text; }

    TextDoc* Doc() const { return doc_.get(); }
    CUndoList* Undo() const;
    bool AutoIndent() const { return auto_indent_; }

    // --- for the Grep window (framework/grep_hit_view.h) ---
    bool ShowHit(const std::string& pattern, const std::string& replacement, int line) override;
    // A hidden Find dialog object is made when none exists.
    void PrepareFind(const std::string& pattern, const std::string& replacement) override;
    bool HasUnsavedChanges() const override;

    // --- commands ---
    void CmUndo();
    bool CanUndo() const;
    void CmCut();
    void CmCopy();
    bool CanCopy() const { return HasSelection(); }
    void CmPaste();
    bool CanPaste() const;
    void CmDelete();
    void CmClearAll();
    void CmSelectAll();
    bool HasLines() const;
    void CmGoTo();

    bool CanClose() override;
    void LoadSettings() override;

protected:
    ReadState BeginRead() override;
    ReadState ReadMore() override;
    ReadState ReadRest() override;
    int ReadPercent() const override;
    bool PerformFindReplace() override;
    void DocumentSaved() override;
    void DocumentReloaded() override;
    bool Busy() const override { return finding_; }
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    // What every edit ends with: the caret in view, scroll ranges,
    // repaint, the error reported, new command states.
    void AfterEdit(EditOutcome outcome);
    // Copy: false (the error reported) when the text did not reach the clipboard.
    bool CopySelection();
    // Runs one search of the text; shows no message when `quiet`.
    long RunFind(const FindRequest& request, bool quiet);

    std::unique_ptr<TextDoc> doc_;
    std::unique_ptr<TextEditor> editor_;
    bool auto_indent_ = true;
    bool replacing_all_ = false;
    bool finding_ = false;  // a search or replacement runs
};

#pragma once
// The editable text window: an edit view over a text document with an undo
// list. Turns keys and characters into edits, offers the clipboard, Go to
// line, find and replace inside the text, and the operations through which
// the Grep window selects or replaces text in an open file.

#include "views/edit_view.h"

#include "framework/grep_hit_view.h"

#include <memory>
#include <string>
#include <string_view>

class CUndoList;
class TextDoc;

class TextView : public EditView, public GrepHitView {
    Q_OBJECT
public:
    static constexpr int kDefaultUndoLimit = 16;

    // An empty path makes an untitled document with one empty line.
    explicit TextView(const std::string& fileName, QWidget* parent = nullptr);
    ~TextView() override;

    static const fw::CommandTable& Commands();
    const fw::CommandTable& commandTable() const override { return Commands(); }

    ViewKind Kind() const override { return ViewKind::Text; }

    TextDoc* Doc() const { return doc_.get(); }
    CUndoList* Undo() const { return undo_.get(); }
    bool AutoIndent() const { return auto_indent_; }

    // --- for the Grep window (framework/grep_hit_view.h) ---
    bool ShowHit(const std::string& pattern, const std::string& replacement, int line) override;
    // A hidden Find dialog object is made when none exists.
    void PrepareFind(const std::string& pattern, const std::string& replacement) override;
    bool GrepReplace(const GrepOptions& options, bool replace_all) override;
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
    bool PerformFindReplace() override;
    void DeleteSelection() override;
    void DocumentSaved() override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Edits; each records its undo entry unless told otherwise.
    void Backspace();
    void DeleteKey();
    void SplitLine(bool record, bool autoIndent);
    void Type(const std::string& bytes);
    // What an edit ends with: caret, scroll ranges, repaint, modified mark.
    void AfterEdit();
    // The text a deletion of [start, end) removes, as the undo list keeps it.
    std::string RemovedText(TextPosition start, TextPosition end) const;
    // Puts back the text of one replacement at its place.
    void UndoReplacement(const struct CUndo& record);
    bool HandleAccelerator(QKeyEvent* event);

    std::unique_ptr<TextDoc> doc_;
    std::unique_ptr<CUndoList> undo_;
    bool auto_indent_ = true;
    bool record_replacements_ = true;
    bool replacing_all_ = false;
    bool grep_replacing_ = false;  // a grep run reports what went wrong itself
};

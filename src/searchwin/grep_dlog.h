#pragma once
// The Grep window: a search text, a path (directory and file pattern), an
// optional replacement and six options; a run lists one line per hit, and
// the hits open in text windows at their lines. The window is the grep
// engine's host; the engine's operations (RunSearch, SearchDirectory,
// SearchFile, IsWholeWord, SetStatus, StopSearch) are the window's own.

#include "search/grep_engine.h"
#include "search/replacement_journal.h"
#include "search/replacement_run.h"
#include "search/search_history.h"
#include "searchwin/search_window.h"

class HitPreview;
class QCheckBox;
class QComboBox;
class QSpinBox;

class GrepDlog : public SearchWindow, public GrepHost, public GrepEngine {
    Q_OBJECT
public:
    explicit GrepDlog(QWidget* parent = nullptr);
    ~GrepDlog() override;

    // Window set-up: histories and check boxes from the settings file.
    void LoadOptions();
    // The controls into `options`; false (and nothing changed) when the
    // search text or the path is empty.
    bool ReadOptions();
    // Check boxes to GrepOpts, then the three histories.
    void SaveOptions();

    // The buttons and the double-click.
    void Go() override;
    void EditHits() override;
    void OpenHit() override;
    void Done() override;

    QComboBox* PatternBox() const { return pattern_box_; }
    QComboBox* ReplacementBox() const { return replacement_box_; }
    QCheckBox* ReplaceCheck() const { return replace_check_; }
    QCheckBox* TextOnlyCheck() const { return text_only_check_; }
    QCheckBox* SubDirCheck() const { return sub_dir_check_; }
    QCheckBox* CaseCheck() const { return case_check_; }
    QCheckBox* WordsCheck() const { return words_check_; }
    QCheckBox* ShowLinesCheck() const { return show_lines_check_; }
    QSpinBox* ContextBox() const { return context_box_; }
    HitPreview* Preview() const { return preview_; }

    // Shows the hit under the caret with its context in the preview.
    void ShowPreview();

    // The engine's replacement hand-off (the rest of its host is the
    // SearchWindow's).
    void ReplacementStarts(const std::string& top_dir) override;
    bool ReplaceInFile(const std::string& path, bool in_hidden_directory, GrepEngine::Options_t options) override;

    // The files of the last replacing run: replaced, and left alone with why.
    const ReplacementRun& LastReplacement() const { return replacement_; }

protected:
    void StopRun() override { StopSearch(); }

private:
    QComboBox* pattern_box_;
    QComboBox* replacement_box_;
    QCheckBox* replace_check_;
    QCheckBox* text_only_check_;
    QCheckBox* sub_dir_check_;
    QCheckBox* case_check_;
    QCheckBox* words_check_;
    QCheckBox* show_lines_check_;
    QSpinBox* context_box_;
    HitPreview* preview_;
    SearchHistory patterns_{kSearchPatterns};
    SearchHistory paths_{kSearchPaths};
    SearchHistory replacements_{kReplacePatterns};
    ReplacementRun replacement_;
    replacement_journal::Writer journal_;  // of the run going on: begun at its first write

    // After a replacing run that left files alone: one message naming them.
    void ShowReplacementSummary();
};

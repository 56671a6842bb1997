#pragma once
// The Line Count window: a path (directory and file pattern) and the
// sub-directory switch; a run lists every matching file with its line
// count and totals them. With "Reset Line Count" clear, the list and the
// totals go on from the previous run. The window is the line counter's
// host; CountFile, SearchDirectory, SetStatus and StopSearch are its own.

#include "search/line_counter.h"
#include "search/search_history.h"
#include "searchwin/search_window.h"

class QCheckBox;

class CountDlog : public SearchWindow, public LineCounter {
    Q_OBJECT
public:
    explicit CountDlog(QWidget* parent = nullptr);
    ~CountDlog() override;

    void LoadOptions();
    // The path field into `options`; false when it is empty.
    bool ReadOptions();
    // The path history, then CountOpts/sub_dir.
    void SaveOptions();

    void Go() override;
    void EditHits() override;
    void OpenHit() override;
    void Done() override;

    QCheckBox* ResetCheck() const { return reset_check_; }
    QCheckBox* SubDirCheck() const { return sub_dir_check_; }

protected:
    void StopRun() override { StopSearch(); }

private:
    QCheckBox* reset_check_;
    QCheckBox* sub_dir_check_;
    SearchHistory paths_{kSearchPaths};
};

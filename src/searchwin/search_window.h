#pragma once
// What the Grep and the Line Count windows share: the path field with its
// history and Search Path button, the status line, the results list, the
// Edit / Go / Stop / Done buttons, and the rules of a run inside a window.
//
// A run holds the window's thread; the window stays alive through the
// event pump the run calls after each file and sub-directory. That pump is
// throttled: events are processed at most about 30 times a second, and the
// list and the status line brought up to date as often (less often when a
// huge list makes each update dear), so a run costs little more than the
// engine alone, and Stop still answers at once.
//
// The window is never destroyed under a running search: Done, the close
// box, Close All and closing the frame during a run stop the run first and
// close when it has unwound. Go is disabled while the run is under way.

#include "framework/file_filter.h"
#include "search/search_history.h"
#include "search/search_host.h"
#include "search/exclusion_choice.h"

#include <QElapsedTimer>
#include <QWidget>

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QLayout;
class QModelIndex;
namespace profile {
class Snapshot;
}
class QPushButton;
class QTableView;
class ResultListModel;

// The window is its run's host (shared with the grep host of the Grep
// window, hence the virtual base).
class SearchWindow : public QWidget, public virtual SearchHost {
    Q_OBJECT
public:
    ~SearchWindow() override;

    bool IsRunning() const { return running_; }

    // The controls, by their roles (tests drive the window through them).
    QComboBox* PathBox() const { return path_box_; }
    QComboBox* ExcludeBox() const { return exclude_box_; }
    QCheckBox* GitignoreCheck() const { return gitignore_check_; }
    QPushButton* SearchPathButton() const { return search_path_button_; }
    QPushButton* GoButton() const { return go_button_; }
    QPushButton* StopButton() const { return stop_button_; }
    QPushButton* EditButton() const { return edit_button_; }
    QPushButton* DoneButton() const { return done_button_; }
    QTableView* ResultsView() const { return results_view_; }
    QLineEdit* FilterField() const { return filter_field_; }
    QPushButton* SaveResultsButton() const { return save_button_; }
    ResultListModel* Results() const { return results_; }
    // The status line as shown.
    QString StatusText() const;

    // Copy (Ctrl+C in the list): the selected rows as "path:number:text"
    // lines on the clipboard.
    void CopySelectedResults();
    // Save Results...: every row shown, in the same form, into a file the
    // user chooses. False when nothing was written.
    bool SaveResults();
    // Writes the rows shown into `path`, replacing it as a whole; the
    // error text when it could not.
    std::optional<std::string> WriteResults(const std::string& path) const;

    // Search Path: lets the user choose a file and puts its directory and
    // extension pattern into the path field.
    void BrowsePath();
    // Puts `path` into the path field: the first item that equals it, else
    // the first that begins with it, or else the text itself, selected.
    void ShowPath(const std::string& path);

    // The texts beside the Grep window's fields. The column that holds them
    // and the Search Path button is as wide in the Line Count window, so the
    // button has one size in both windows.
    static constexpr const char* kPatternLabel = "Search Pattern:";
    static constexpr const char* kReplaceLabel = "Replace With:";
    static constexpr const char* kExcludeLabel = "E&xclude:";
    int LabelColumnWidth() const;

    // The run's host: the results list, the status line (both shown at the
    // next pump) and the throttled event pump.
    void ClearResults() override;
    void AppendHit(const GrepHit& hit) override;
    void AppendCount(const CountResult& count) override;
    void SetStatusText(std::string_view text) override;
    void PumpWaitingEvents() override;

protected:
    // `results_label` is "Search Results:" or "Count Results:", `number_header`
    // the title of the list's second column; `with_text` adds the column of
    // the hits' text.
    SearchWindow(const QString& results_label, const QString& number_header, QWidget* parent,
                 bool with_text = false);

    // Builds the window from the derived window's option controls (above
    // the results) and wires the buttons to the virtual handlers;
    // `below_results`, when given, shares the list's place below it.
    void Assemble(QLayout* options_area, QWidget* below_results = nullptr);

    // Tab order: `first` (the derived window's controls, top to bottom),
    // then the results list and the buttons.
    void SetTabOrder(std::initializer_list<QWidget*> first);
    // Names a control after its dialog id ("id" and the number).
    static void Tag(QWidget* control, int id);
    // An editable history combo box: unsorted, no insertion on Enter, at
    // most 254 characters, scrolling its text.
    QComboBox* MakeHistoryBox();
    static void FillHistoryBox(QComboBox* box, const SearchHistory& history);
    // Runs the history rule for the box's text and lists it when new.
    static void RememberIn(QComboBox* box, SearchHistory& history, const std::string& settings_path);
    static std::string BoxText(const QComboBox* box);

    // The Exclude field (its history shared by both windows) and "Use
    // .gitignore" (stored by each window for itself): filled at opening,
    // read at Go, the field's text remembered at Go.
    void LoadExclusions(const profile::Snapshot& settings, bool use_gitignore);
    ExclusionChoice ReadExclusions() const;
    void RememberExclusions(const std::string& settings_path);
    // The label of the Exclude field.
    QLabel* ExcludeLabel() const { return exclude_label_; }

    // Runs `run` as the window's search: Go disabled, Stop honoured, close
    // requests held back until it has unwound.
    void RunGuarded(const std::function<void()>& run);
    // Done during a run stops it and finishes Done afterwards: true when
    // the caller must leave it for then.
    bool DeferDone();

    // The result under the caret (the current item), if any.
    std::optional<ResultLine> CaretResult() const;
    // The rows of the selected results in ascending order.
    std::vector<std::size_t> SelectedRows() const;
    // The selected results in ascending order.
    std::vector<ResultLine> SelectedResults() const;
    // Clears the list and the status line and closes the hosting MDI child
    // (or the window itself when it has none).
    void ClearAndClose();
    // The MDI child that hosts the window, or null.
    QWidget* HostWindow() const;

    // The chooser behind Search Path: an existing file's full name, or
    // nothing when the user cancels.
    virtual std::optional<std::string> ChooseFile(const FilterList& filter);
    // The chooser behind Save Results: a file name, or nothing.
    virtual std::optional<std::string> ChooseSaveFile();

    // Button handlers of the derived windows.
    virtual void Go() = 0;
    virtual void StopRun() = 0;
    virtual void EditHits() = 0;
    virtual void OpenHit() = 0;
    virtual void Done() = 0;

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class AfterRun { Nothing, Close, Done };
    void FlushDisplay();
    void RequestAfterRun(AfterRun what);

    QComboBox* path_box_ = nullptr;
    QComboBox* exclude_box_ = nullptr;
    QLabel* exclude_label_ = nullptr;
    QCheckBox* gitignore_check_ = nullptr;
    SearchHistory excludes_{kExcludePatterns};
    QPushButton* search_path_button_ = nullptr;
    QPushButton* go_button_ = nullptr;
    QPushButton* stop_button_ = nullptr;
    QPushButton* edit_button_ = nullptr;
    QPushButton* done_button_ = nullptr;
    QLabel* status_label_ = nullptr;
    QLabel* results_label_ = nullptr;
    QTableView* results_view_ = nullptr;
    QLineEdit* filter_field_ = nullptr;
    QPushButton* save_button_ = nullptr;
    ResultListModel* results_ = nullptr;

    std::string status_;
    bool status_dirty_ = false;
    QElapsedTimer since_pump_;
    QElapsedTimer since_update_;  // of the list and the status line
    qint64 update_interval_ms_ = 33;
    bool running_ = false;
    AfterRun after_run_ = AfterRun::Nothing;
    QWidget* watched_frame_ = nullptr;
};

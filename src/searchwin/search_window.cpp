#include "searchwin/search_window.h"

#include "framework/file_filter.h"
#include "framework/frame_services.h"
#include "framework/byte_text.h"
#include "framework/message_pump.h"
#include "framework/typed_file_name.h"
#include "base/atomic_file.h"
#include "framework/message_box.h"
#include "resources/command_ids.h"
#include "resources/format_text.h"
#include "resources/strings.h"
#include "searchwin/hit_text_delegate.h"
#include "searchwin/result_list_model.h"
#include "search/search_path_rule.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

// Events are processed about 30 times a second during a run; the list and
// the status line are updated as often, or down to four times a second
// when the list is huge.
constexpr qint64 kPumpIntervalMs = 33;
constexpr qint64 kLongestPumpIntervalMs = 250;
// The history fields take texts of up to 254 characters.
constexpr int kFieldLimit = 254;

std::vector<SearchWindow*>& Running()
{
    static std::vector<SearchWindow*> running;
    return running;
}

// The frame whose closing waits for the running searches to unwind.
QPointer<QWidget>& FrameClosePending()
{
    static QPointer<QWidget> frame;
    return frame;
}

} // namespace

SearchWindow::SearchWindow(const QString& results_label, const QString& number_header, QWidget* parent,
                           bool with_text)
    : QWidget(parent)
{
    path_box_ = MakeHistoryBox();
    exclude_box_ = MakeHistoryBox();
    exclude_label_ = new QLabel(tr(kExcludeLabel), this);
    exclude_label_->setBuddy(exclude_box_);
    gitignore_check_ = new QCheckBox(tr("Use .gitignore"), this);
    Tag(exclude_box_, cmd::kCtlExclude);
    Tag(gitignore_check_, cmd::kCtlUseGitignore);
    search_path_button_ = new QPushButton(tr("Search &Path"), this);
    go_button_ = new QPushButton(tr("&Go"), this);
    stop_button_ = new QPushButton(tr("&Stop"), this);
    edit_button_ = new QPushButton(tr("&Edit"), this);
    done_button_ = new QPushButton(tr("&Done"), this);
    save_button_ = new QPushButton(QString::fromUtf8(strings::Text(strings::kSaveResultsCaption)) + "...", this);
    filter_field_ = new QLineEdit(this);
    filter_field_->setPlaceholderText(QString::fromUtf8(strings::Text(strings::kFilterPlaceholder)));
    filter_field_->setClearButtonEnabled(true);
    go_button_->setDefault(true);
    Tag(path_box_, cmd::kCtlPath);
    Tag(search_path_button_, cmd::kCtlSearchPath);
    Tag(go_button_, cmd::kCtlGo);
    Tag(stop_button_, cmd::kCtlStop);
    Tag(edit_button_, cmd::kCtlEdit);
    Tag(done_button_, cmd::kCtlDone);

    results_label_ = new QLabel(results_label, this);
    status_label_ = new QLabel(this);
    status_label_->setTextFormat(Qt::PlainText);
    // A long path in the status line must not widen the window.
    status_label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    results_ = new ResultListModel(number_header, with_text, this);
    results_view_ = new QTableView(this);
    Tag(status_label_, cmd::kCtlStatus);
    Tag(results_view_, cmd::kCtlResults);
    results_view_->setModel(results_);
    // Rows of one fixed height and no row headers keep a list of millions
    // of entries cheap to grow.
    QHeaderView* rows = results_view_->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(results_view_->fontMetrics().height() + 4);
    results_view_->setShowGrid(false);
    results_view_->setWordWrap(false);
    // Long paths keep both ends, so two of them can still be told apart.
    results_view_->setTextElideMode(Qt::ElideMiddle);
    results_view_->setCornerButtonEnabled(false);
    results_view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    results_view_->setSelectionMode(QAbstractItemView::MultiSelection);  // a click toggles
    results_view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    results_view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QHeaderView* header = results_view_->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(ResultListModel::kNumberColumn, QHeaderView::Fixed);
    header->resizeSection(ResultListModel::kNumberColumn, 80);
    if (with_text) {
        // The path takes a part the user may widen; the text the rest.
        header->setSectionResizeMode(ResultListModel::kPathColumn, QHeaderView::Interactive);
        header->resizeSection(ResultListModel::kPathColumn, 200);
        header->setSectionResizeMode(ResultListModel::kTextColumn, QHeaderView::Stretch);
        results_view_->setItemDelegateForColumn(ResultListModel::kTextColumn, new HitTextDelegate(results_view_));
    } else {
        header->setSectionResizeMode(ResultListModel::kPathColumn, QHeaderView::Stretch);
    }
}

SearchWindow::~SearchWindow()
{
    auto& running = Running();
    running.erase(std::remove(running.begin(), running.end(), this), running.end());
}

void SearchWindow::Assemble(QLayout* options_area, QWidget* below_results)
{
    auto* status_row = new QHBoxLayout;
    status_row->addWidget(results_label_);
    status_row->addWidget(status_label_, 1);

    // The filter sits with the buttons, so that the run's status keeps the
    // whole width of its row.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save_button_);
    buttons->addWidget(filter_field_, 1);
    for (QPushButton* b : {edit_button_, go_button_, stop_button_, done_button_}) buttons->addWidget(b);

    auto* main = new QVBoxLayout(this);
    // Compact, so that the list keeps most of the 540 by 408 window.
    main->setContentsMargins(8, 6, 8, 6);
    main->setSpacing(4);
    main->addLayout(options_area);
    main->addLayout(status_row);
    if (below_results) {
        auto* split = new QSplitter(Qt::Vertical, this);
        split->addWidget(results_view_);
        split->addWidget(below_results);
        split->setStretchFactor(0, 3);
        split->setStretchFactor(1, 1);
        split->setChildrenCollapsible(false);
        main->addWidget(split, 1);
    } else {
        main->addWidget(results_view_, 1);
    }
    main->addLayout(buttons);

    connect(search_path_button_, &QPushButton::clicked, this, [this] { BrowsePath(); });
    connect(go_button_, &QPushButton::clicked, this, [this] { Go(); });
    connect(stop_button_, &QPushButton::clicked, this, [this] { StopRun(); });
    connect(edit_button_, &QPushButton::clicked, this, [this] { EditHits(); });
    connect(done_button_, &QPushButton::clicked, this, [this] { Done(); });
    connect(results_view_, &QAbstractItemView::doubleClicked, this, [this] { OpenHit(); });
    connect(save_button_, &QPushButton::clicked, this, [this] { SaveResults(); });
    connect(filter_field_, &QLineEdit::textChanged, this,
            [this](const QString& text) { results_->SetFilter(bytetext::FromQString(text)); });
    results_view_->installEventFilter(this);
    filter_field_->installEventFilter(this);
}

void SearchWindow::SetTabOrder(std::initializer_list<QWidget*> first)
{
    std::vector<QWidget*> order(first);
    for (QWidget* w : {static_cast<QWidget*>(results_view_), static_cast<QWidget*>(edit_button_),
                       static_cast<QWidget*>(go_button_), static_cast<QWidget*>(stop_button_),
                       static_cast<QWidget*>(done_button_)})
        order.push_back(w);
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void SearchWindow::Tag(QWidget* control, int id)
{
    control->setObjectName(QStringLiteral("id%1").arg(id));
}

QComboBox* SearchWindow::MakeHistoryBox()
{
    auto* box = new QComboBox(this);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(12);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(20);
    box->lineEdit()->setMaxLength(kFieldLimit);
    // No completion: Go takes exactly what was typed. Qt's inline
    // completion would turn a typed "need" into a listed "needle", or a
    // typed directory into a listed "dir/*.txt".
    box->setCompleter(nullptr);
    return box;
}

void SearchWindow::FillHistoryBox(QComboBox* box, const SearchHistory& history)
{
    box->clear();
    for (const std::string& item : history.items()) box->addItem(bytetext::ToQString(item));
    box->setCurrentIndex(history.selected());
    if (history.selected() < 0) box->setEditText(QString());
}

void SearchWindow::RememberIn(QComboBox* box, SearchHistory& history, const std::string& settings_path)
{
    const std::string text = BoxText(box);
    if (history.Remember(text, settings_path)) {
        // Adding an item must not change what the field shows.
        const QString shown = box->currentText();
        box->addItem(bytetext::ToQString(text));
        box->setEditText(shown);
    }
}

void SearchWindow::LoadExclusions(const profile::Snapshot& settings, bool use_gitignore)
{
    excludes_.Load(settings);
    FillHistoryBox(exclude_box_, excludes_);
    gitignore_check_->setChecked(use_gitignore);
}

ExclusionChoice SearchWindow::ReadExclusions() const
{
    return {BoxText(exclude_box_), gitignore_check_->isChecked()};
}

void SearchWindow::RememberExclusions(const std::string& settings_path)
{
    RememberIn(exclude_box_, excludes_, settings_path);
}

std::string SearchWindow::BoxText(const QComboBox* box)
{
    return bytetext::FromQString(box->currentText());
}

QString SearchWindow::StatusText() const
{
    return bytetext::ToQString(status_);
}

void SearchWindow::ShowPath(const std::string& path)
{
    std::vector<std::string> items;
    for (int i = 0; i < path_box_->count(); ++i) items.push_back(bytetext::FromQString(path_box_->itemText(i)));
    const int found = SearchHistory::SelectIndex(items, path, false, 0);
    if (found >= 0) {
        path_box_->setCurrentIndex(found);
    } else {
        path_box_->setEditText(bytetext::ToQString(path));
    }
    path_box_->lineEdit()->selectAll();
}

void SearchWindow::BrowsePath()
{
    const std::optional<std::string> chosen = ChooseFile(BuildFilter());
    if (!chosen) return;
    ShowPath(SearchPathFromFile(*chosen));
}

std::optional<std::string> SearchWindow::ChooseFile(const FilterList& filter)
{
    // BuildFilter has made the directory of the last File Open current.
    QFileDialog dialog(this, QString(), QDir::currentPath());
    dialog.setFileMode(QFileDialog::ExistingFile);
    // No default suffix: a name typed without a dot is taken as typed,
    // and a typed existing file is taken whatever the filter lists.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(QtFileFilters(filter));
    new fw::TypedFileName(&dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

int SearchWindow::LabelColumnWidth() const
{
    const QLabel pattern(tr(kPatternLabel));
    const QCheckBox replace(tr(kReplaceLabel));
    return std::max({pattern.sizeHint().width(), replace.sizeHint().width(),
                     search_path_button_->sizeHint().width()});
}

void SearchWindow::ClearResults()
{
    results_->Clear();
}

void SearchWindow::AppendHit(const GrepHit& hit)
{
    results_->Append(hit);
}

void SearchWindow::AppendCount(const CountResult& count)
{
    results_->Append(count.path, static_cast<std::uint64_t>(count.lines));
}

void SearchWindow::SetStatusText(std::string_view text)
{
    status_.assign(text);
    status_dirty_ = true;
    if (!running_) FlushDisplay();
}

void SearchWindow::FlushDisplay()
{
    results_->Flush();
    if (status_dirty_) {
        status_label_->setText(bytetext::ToQString(status_));
        // The whole text where the window is too narrow for it.
        status_label_->setToolTip(status_label_->text());
        status_dirty_ = false;
    }
}

void SearchWindow::PumpWaitingEvents()
{
    if (since_pump_.isValid() && since_pump_.elapsed() < kPumpIntervalMs) return;
    // Events are processed about 30 times a second, so that Stop answers
    // at once; the list and the status line are brought up to date less
    // often as the list grows. Growing a list of millions of rows costs
    // the view more with every row; spacing the updates by ten times their
    // cost keeps them near a tenth of the run.
    const bool update = !since_update_.isValid() || since_update_.elapsed() >= update_interval_ms_;
    QElapsedTimer cost;
    cost.start();
    if (update) FlushDisplay();
    PumpWaitingMessages();
    if (update) {
        update_interval_ms_ = std::clamp(10 * cost.elapsed(), kPumpIntervalMs, kLongestPumpIntervalMs);
        since_update_.start();
    }
    since_pump_.start();
}

void SearchWindow::RunGuarded(const std::function<void()>& run)
{
    if (running_) return;
    running_ = true;
    Running().push_back(this);
    go_button_->setEnabled(false);
    QWidget* frame = window();
    watched_frame_ = frame != this ? frame : nullptr;
    if (watched_frame_) watched_frame_->installEventFilter(this);
    since_pump_.invalidate();
    since_update_.invalidate();
    update_interval_ms_ = kPumpIntervalMs;

    struct Unwind {
        SearchWindow* w;
        ~Unwind()
        {
            w->running_ = false;
            auto& running = Running();
            running.erase(std::remove(running.begin(), running.end(), w), running.end());
            if (w->watched_frame_) w->watched_frame_->removeEventFilter(w);
            w->watched_frame_ = nullptr;
            w->FlushDisplay();
            w->go_button_->setEnabled(true);
        }
    };
    {
        Unwind unwind{this};
        run();
    }

    const AfterRun after = std::exchange(after_run_, AfterRun::Nothing);
    if (Running().empty() && FrameClosePending()) {
        QPointer<QWidget> pending = std::exchange(FrameClosePending(), nullptr);
        QTimer::singleShot(0, pending, [pending] { if (pending) pending->close(); });
    }
    // Last, as it may close this window.
    if (after == AfterRun::Done) Done();
    else if (after == AfterRun::Close) (HostWindow() ? HostWindow() : this)->close();
}

void SearchWindow::RequestAfterRun(AfterRun what)
{
    if (what == AfterRun::Done || after_run_ == AfterRun::Nothing) after_run_ = what;
    StopRun();
}

bool SearchWindow::DeferDone()
{
    if (!running_) return false;
    RequestAfterRun(AfterRun::Done);
    return true;
}

std::optional<ResultLine> SearchWindow::CaretResult() const
{
    const QModelIndex current = results_view_->currentIndex();
    if (!current.isValid()) return std::nullopt;
    return results_->Record(static_cast<std::size_t>(current.row()));
}

std::vector<std::size_t> SearchWindow::SelectedRows() const
{
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : results_view_->selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(index.row()));
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<ResultLine> SearchWindow::SelectedResults() const
{
    std::vector<ResultLine> results;
    for (const std::size_t row : SelectedRows()) results.push_back(results_->Record(row));
    return results;
}

void SearchWindow::CopySelectedResults()
{
    const std::vector<std::size_t> rows = SelectedRows();
    if (rows.empty()) return;
    std::string text;
    results_->AppendCopyLines(rows, text);
    QGuiApplication::clipboard()->setMimeData(bytetext::ToMimeData(text));
}

std::optional<std::string> SearchWindow::ChooseSaveFile()
{
    const QString name = QFileDialog::getSaveFileName(this, QString::fromUtf8(strings::Text(strings::kSaveResultsCaption)),
                                                      QDir::currentPath(), QString(), nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (name.isEmpty()) return std::nullopt;
    return QFile::encodeName(name).toStdString();
}

bool SearchWindow::SaveResults()
{
    const std::optional<std::string> path = ChooseSaveFile();
    if (!path) return false;
    const std::optional<std::string> fault = WriteResults(*path);
    if (!fault) return true;
    fw::MessageRequest request;
    request.owner = this;
    request.caption = QString::fromLatin1(strings::Text(strings::kAppName));
    request.style = fw::kMbOk | fw::kMbIconExclamation;
    request.text = QString::fromUtf8(
        FormatText(strings::Text(strings::kSaveResultsFailed), path->c_str(), fault->c_str()));
    fw::ShowMessageBox(request);
    return false;
}

std::optional<std::string> SearchWindow::WriteResults(const std::string& path) const
{
    // Written in batches, so that millions of rows never stand in memory
    // as one text.
    constexpr std::size_t kBatch = 1 << 16;
    AtomicFileWriter file;
    errno = 0;
    if (!file.Open(path)) return std::string(std::strerror(errno ? errno : EACCES));
    const auto rows = static_cast<std::size_t>(results_->rowCount());
    std::vector<std::size_t> batch;
    std::string text;
    for (std::size_t row = 0; row < rows; row += kBatch) {
        batch.clear();
        for (std::size_t r = row; r < std::min(rows, row + kBatch); ++r) batch.push_back(r);
        text.clear();
        results_->AppendCopyLines(batch, text);
        if (!file.Write(text)) break;
    }
    errno = 0;
    if (!file.Commit()) return std::string(std::strerror(errno ? errno : EIO));
    return std::nullopt;
}

QWidget* SearchWindow::HostWindow() const
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* child = qobject_cast<QMdiSubWindow*>(w)) return child;
    return nullptr;
}

void SearchWindow::ClearAndClose()
{
    ClearResults();
    SetStatusText({});
    if (QWidget* host = HostWindow()) host->close();
    else close();
}

void SearchWindow::closeEvent(QCloseEvent* event)
{
    if (running_) {
        RequestAfterRun(AfterRun::Close);
        event->ignore();
        return;
    }
    event->accept();
}

void SearchWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (go_button_->isEnabled()) go_button_->click();
        return;
    case Qt::Key_Escape:
        if (running_) StopRun();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == results_view_ && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        // The list's own copy, not the frame's Copy of a text window.
        event->accept();
        if (event->type() == QEvent::KeyPress) CopySelectedResults();
        return true;
    }
    // The texts are read once the field is entered, so that the first key
    // costs no more than the next ones.
    if (watched == filter_field_ && event->type() == QEvent::FocusIn && !running_) results_->PrepareFilter();
    if (watched == watched_frame_ && event->type() == QEvent::Close && !Running().empty()) {
        // Closing the frame waits until every run has unwound, then closes
        // it again.
        FrameClosePending() = watched_frame_;
        for (SearchWindow* w : Running()) w->StopRun();
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

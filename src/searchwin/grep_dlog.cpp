#include "searchwin/grep_dlog.h"

#include "framework/frame_services.h"
#include "framework/grep_hit_view.h"
#include "framework/message_box.h"
#include "resources/command_ids.h"
#include "resources/strings.h"
#include "search/file_replacement.h"
#include "search/hit_context.h"
#include "search/matcher_factory.h"
#include "search/result_line.h"
#include "search/search_path_rule.h"
#include "search/search_window_options.h"
#include "searchwin/active_text_view.h"
#include "searchwin/hit_preview.h"
#include "searchwin/result_list_model.h"
#include "settings/profile_snapshot.h"
#include "settings/setting_schema.h"
#include "settings/settings_path.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <memory>

GrepDlog::GrepDlog(QWidget* parent)
    : SearchWindow(tr("Search Results:"), tr("Line"), parent, true),
      GrepEngine(static_cast<GrepHost&>(*this))
{
    setWindowTitle(tr("Grep Options"));
    summary_tells_match_total = true;
    pattern_box_ = MakeHistoryBox();
    replacement_box_ = MakeHistoryBox();
    replace_check_ = new QCheckBox(tr(kReplaceLabel), this);
    text_only_check_ = new QCheckBox(tr("Text Files Only"), this);
    sub_dir_check_ = new QCheckBox(tr("Search Sub-Directories"), this);
    case_check_ = new QCheckBox(tr("Case Sensitive"), this);
    words_check_ = new QCheckBox(tr("Whole words only"), this);
    show_lines_check_ = new QCheckBox(tr("Show All Lines"), this);
    context_box_ = new QSpinBox(this);
    context_box_->setRange(setting::kGrepContext.min, setting::kGrepContext.max);
    preview_ = new HitPreview(this);
    Tag(pattern_box_, cmd::kCtlPattern);
    Tag(replacement_box_, cmd::kCtlReplacement);
    Tag(replace_check_, cmd::kCtlReplace);
    Tag(text_only_check_, cmd::kCtlTextOnly);
    Tag(sub_dir_check_, cmd::kCtlSubDir);
    Tag(case_check_, cmd::kCtlCaseSensitive);
    Tag(words_check_, cmd::kCtlWholeWords);
    Tag(show_lines_check_, cmd::kCtlShowLines);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(tr(kPatternLabel), this), 0, 0);
    fields->addWidget(pattern_box_, 0, 1);
    fields->addWidget(SearchPathButton(), 1, 0);
    fields->addWidget(PathBox(), 1, 1);
    fields->addWidget(replace_check_, 2, 0);
    fields->addWidget(replacement_box_, 2, 1);
    fields->addWidget(ExcludeLabel(), 3, 0);
    fields->addWidget(ExcludeBox(), 3, 1);
    fields->setColumnStretch(1, 1);

    auto* group = new QGroupBox(tr("Search Options"), this);
    auto* boxes = new QGridLayout(group);
    boxes->setContentsMargins(8, 2, 8, 2);
    boxes->setVerticalSpacing(0);
    boxes->addWidget(text_only_check_, 0, 0);
    boxes->addWidget(sub_dir_check_, 0, 1);
    boxes->addWidget(case_check_, 0, 2);
    boxes->addWidget(words_check_, 1, 0);
    boxes->addWidget(show_lines_check_, 1, 1);
    boxes->addWidget(GitignoreCheck(), 1, 2);
    auto* context_row = new QHBoxLayout;
    auto* context_label = new QLabel(QString::fromUtf8(strings::Text(strings::kContextLabel)), this);
    context_label->setBuddy(context_box_);
    context_row->addWidget(context_label);
    context_row->addWidget(context_box_);
    context_row->addStretch(1);
    boxes->addLayout(context_row, 2, 0, 1, 3);

    auto* area = new QVBoxLayout;
    area->addLayout(fields);
    area->addWidget(group);
    Assemble(area, preview_);
    SetTabOrder({pattern_box_, SearchPathButton(), PathBox(), replace_check_, replacement_box_, ExcludeBox(),
                 text_only_check_, sub_dir_check_, case_check_, words_check_, show_lines_check_, GitignoreCheck(),
                 context_box_});
    connect(ResultsView()->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { ShowPreview(); });
    connect(Results(), &QAbstractItemModel::modelReset, this, [this] { ShowPreview(); });
    connect(context_box_, &QSpinBox::valueChanged, this, [this] { ShowPreview(); });
    pattern_box_->setFocus();
    LoadOptions();
}

GrepDlog::~GrepDlog() = default;

void GrepDlog::LoadOptions()
{
    const profile::Snapshot ini(SettingsPath());  // one read for every list and flag
    patterns_.Load(ini);
    FillHistoryBox(pattern_box_, patterns_);
    paths_.Load(ini);
    FillHistoryBox(PathBox(), paths_);
    replacements_.Load(ini);
    FillHistoryBox(replacement_box_, replacements_);

    const GrepFlags f = LoadGrepFlags(ini);
    text_only_check_->setChecked(f.text_only);
    sub_dir_check_->setChecked(f.sub_dir);
    case_check_->setChecked(f.case_sensitive);
    words_check_->setChecked(f.whole_words);
    replace_check_->setChecked(f.replace);
    show_lines_check_->setChecked(f.show_lines);
    text_only_check_->setEnabled(false);
    LoadExclusions(ini, f.use_gitignore);
    context_box_->setValue(f.context);
}

bool GrepDlog::ReadOptions()
{
    const std::string pattern = BoxText(pattern_box_);
    if (pattern.empty()) return false;
    const std::string path = BoxText(PathBox());
    if (path.empty()) return false;
    options.pattern = pattern;
    options.path = SearchPathArgument(path);  // a directory alone: every file in it
    options.replacement = BoxText(replacement_box_);
    options.text_only = text_only_check_->isChecked();
    options.sub_dir = sub_dir_check_->isChecked();
    options.whole_words = words_check_->isChecked();
    options.case_sensitive = case_check_->isChecked();
    options.replace = replace_check_->isChecked();
    options.show_lines = show_lines_check_->isChecked();
    options.exclusions = ReadExclusions();
    return true;
}

void GrepDlog::SaveOptions()
{
    const std::string ini = SettingsPath();
    GrepFlags f;
    f.text_only = options.text_only;
    f.sub_dir = options.sub_dir;
    f.whole_words = options.whole_words;
    f.case_sensitive = options.case_sensitive;
    f.replace = options.replace;
    f.show_lines = options.show_lines;
    f.use_gitignore = options.exclusions.ignore_files;
    f.context = context_box_->value();
    SaveGrepFlags(f, ini);
    RememberIn(pattern_box_, patterns_, ini);
    RememberIn(replacement_box_, replacements_, ini);
    RememberIn(PathBox(), paths_, ini);
    RememberExclusions(ini);
}

void GrepDlog::Go()
{
    if (IsRunning()) return;
    stop = false;
    if (!ReadOptions()) return;
    SaveOptions();
    replacement_.Start();
    Results()->StartHits(std::make_unique<TextMatcher>(options.pattern, options.case_sensitive, options.whole_words),
                         setting::kTabStops.Read(SettingsPath()));
    RunGuarded([this] {
        RunSearch();
        journal_.End();
        ShowReplacementSummary();
    });
}

void GrepDlog::ShowReplacementSummary()
{
    if (!options.replace || replacement_.left().empty()) return;
    // The box lists the first files; its details hold them all.
    constexpr std::size_t kPathsInText = 20;
    fw::MessageRequest request;
    request.owner = FrameWindow() ? FrameWindow() : this;
    request.caption = QString::fromLatin1(strings::Text(strings::kAppName));
    request.style = fw::kMbOk | fw::kMbIconExclamation;
    request.text = QString::fromLocal8Bit(replacement_.SummaryText(kPathsInText));
    if (replacement_.left().size() > kPathsInText)
        request.details = QString::fromLocal8Bit(replacement_.SummaryText(replacement_.left().size()));
    fw::ShowMessageBox(request);
}

void GrepDlog::ShowPreview()
{
    const QModelIndex current = ResultsView()->currentIndex();
    ResultListModel* results = Results();
    if (!current.isValid() || !results->HasText()) return preview_->ShowNotice({});
    const auto row = static_cast<std::size_t>(current.row());
    const ResultLine hit = results->Record(row);
    if (!hit.valid) return preview_->ShowNotice({});
    if (results->HitText(row).changed)
        return preview_->ShowNotice(QString::fromUtf8(strings::Text(strings::kHitFileChanged)));
    preview_->ShowLines(ReadHitContext(hit.path, hit.number, results->LineOffset(row), context_box_->value()),
                        results->Matcher(), results->TabWidth());
}

void GrepDlog::OpenHit()
{
    const std::optional<ResultLine> hit = CaretResult();
    if (!hit || !hit->valid) return;
    if (GrepHitView* view = OpenHitView(hit->path, true))
        view->ShowHit(options.pattern, options.replacement, static_cast<int>(hit->number - 1));
}

void GrepDlog::EditHits()
{
    for (const ResultLine& hit : SelectedResults()) {
        if (GrepHitView* view = OpenHitView(hit.path, false)) view->PrepareFind(options.pattern, options.replacement);
    }
}

void GrepDlog::Done()
{
    if (DeferDone()) return;
    QWidget* host = HostWindow();
    const QWidget* sized = host ? host : this;
    const std::string ini = SettingsPath();
    setting::kGrepWindowWidth.Write(sized->width(), ini);
    setting::kGrepWindowHeight.Write(sized->height(), ini);
    ClearAndClose();
}

void GrepDlog::ReplacementStarts(const std::string& top_dir)
{
    replacement_.Start({top_dir});
}

bool GrepDlog::ReplaceInFile(const std::string& path, bool in_hidden_directory, GrepEngine::Options_t copy)
{
    using Reason = ReplacementRun::Reason;
    if (replacement_.Check(path, in_hidden_directory) != ReplacementRun::Verdict::kReplace) return false;
    // The user's unsaved text is theirs: neither replaced nor saved over the file.
    if (active_text_view::HasUnsavedWindow(path)) {
        replacement_.Leave(Reason::kUnsaved, path);
        return false;
    }
    // Replaced without a window: the Grep window stays in front with its
    // Stop button, and no key typed meanwhile lands in the file.
    if (!journal_.Begun() && !journal_.Begin(copy.pattern, copy.replacement)) {
        replacement_.Leave(Reason::kNotKept, path);
        return false;
    }
    if (!replacement_.Replace(path, copy, {&journal_})) return false;
    // Windows that show the file hold its old text.
    active_text_view::CloseSavedWindowsOf(path);
    return true;
}

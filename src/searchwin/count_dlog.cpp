#include "searchwin/count_dlog.h"

#include "framework/frame_services.h"
#include "resources/command_ids.h"
#include "search/result_line.h"
#include "search/search_path_rule.h"
#include "search/search_window_options.h"
#include "settings/profile_snapshot.h"
#include "settings/settings_path.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CountDlog::CountDlog(QWidget* parent)
    : SearchWindow(tr("Count Results:"), tr("Lines"), parent),
      LineCounter(static_cast<SearchHost&>(*this))
{
    setWindowTitle(tr("Line Count Options"));
    reset_check_ = new QCheckBox(tr("&Reset Line Count"), this);
    sub_dir_check_ = new QCheckBox(tr("Search Sub-Directories"), this);
    Tag(reset_check_, cmd::kCtlResetCount);
    Tag(sub_dir_check_, cmd::kCtlSubDir);

    auto* area = new QGridLayout;
    area->addWidget(SearchPathButton(), 0, 0);
    area->addWidget(PathBox(), 0, 1, 1, 3);
    area->addWidget(ExcludeLabel(), 1, 0);
    area->addWidget(ExcludeBox(), 1, 1, 1, 3);
    area->addWidget(reset_check_, 2, 1);
    area->addWidget(sub_dir_check_, 2, 2);
    area->addWidget(GitignoreCheck(), 2, 3);
    area->setColumnStretch(3, 1);
    area->setColumnMinimumWidth(0, LabelColumnWidth());
    Assemble(area);
    SetTabOrder({SearchPathButton(), PathBox(), ExcludeBox(), reset_check_, sub_dir_check_, GitignoreCheck()});
    PathBox()->setFocus();
    LoadOptions();
}

CountDlog::~CountDlog() = default;

void CountDlog::LoadOptions()
{
    const profile::Snapshot settings(SettingsPath());  // one read for every key
    paths_.Load(settings);
    FillHistoryBox(PathBox(), paths_);
    sub_dir_check_->setChecked(LoadCountSubDir(settings));
    LoadExclusions(settings, LoadCountGitignore(settings));
}

bool CountDlog::ReadOptions()
{
    const std::string path = BoxText(PathBox());
    if (path.empty()) return false;
    options.path = SearchPathArgument(path);  // a directory alone: every file in it
    options.sub_dir = sub_dir_check_->isChecked();
    options.exclusions = ReadExclusions();
    return true;
}

void CountDlog::SaveOptions()
{
    const std::string ini = SettingsPath();
    RememberIn(PathBox(), paths_, ini);
    SaveCountSubDir(options.sub_dir, ini);
    SaveCountGitignore(options.exclusions.ignore_files, ini);
    RememberExclusions(ini);
}

void CountDlog::Go()
{
    if (IsRunning()) return;
    stop = false;
    if (!ReadOptions()) return;
    SaveOptions();
    RunGuarded([this] { RunCount(reset_check_->isChecked()); });
}

void CountDlog::OpenHit()
{
    const std::optional<ResultLine> entry = CaretResult();
    if (!entry || !entry->valid) return;
    OpenText(entry->path, true);
}

void CountDlog::EditHits()
{
    for (const ResultLine& entry : SelectedResults()) OpenText(entry.path, false);
}

void CountDlog::Done()
{
    if (DeferDone()) return;
    ClearAndClose();
}

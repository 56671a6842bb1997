#include "app/open_dlog.h"

#include "framework/file_filter.h"
#include "app/tw_app.h"
#include "framework/typed_file_name.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>

namespace {

OpenDlog::Hook& TestHook()
{
    static OpenDlog::Hook hook;
    return hook;
}

} // namespace

OpenDlog::OpenDlog(QWidget* parent, FileDialogData& data)
    : QFileDialog(parent, QStringLiteral("Open")), data_(data)
{
    // The check box needs Qt's own dialog; a desktop dialog has no room for it.
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFile);  // the file must exist
    setAcceptMode(QFileDialog::AcceptOpen);
    setDirectory(QDir::currentPath());
    const QStringList filters = QtFileFilters(data.filter);
    setNameFilters(filters);
    if (data.filter_index >= 1 && data.filter_index <= filters.size())
        selectNameFilter(filters[data.filter_index - 1]);

    hex_box_ = new QCheckBox(QStringLiteral("&Hex Dump"), this);
    hex_box_->setObjectName(QStringLiteral("check1039"));
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(hex_box_, grid->rowCount(), 0, 1, grid->columnCount());

    new fw::TypedFileName(this);  // a typed existing file opens whatever the filter
}

bool OpenDlog::Execute()
{
    if (TestHook()) return TestHook()(data_, hex_dump_);
    if (exec() != QDialog::Accepted || selectedFiles().isEmpty()) return false;
    data_.file_name = selectedFiles().front().toLocal8Bit().toStdString();
    data_.filter_index = nameFilters().indexOf(selectedNameFilter()) + 1;
    hex_dump_ = hex_box_->isChecked() ? 1 : 0;
    return true;
}

void OpenDlog::SetHook(Hook hook)
{
    TestHook() = std::move(hook);
}

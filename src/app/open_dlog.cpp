#include "app/open_dlog.h"

#include "app/file_filter.h"
#include "app/tw_app.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
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

    // Qt's dialog refuses a name its filter hides ("bin.dat" under "*.TXT"):
    // its Open button stays disabled. The button is kept enabled, and Enter
    // accepted, whenever the typed name is an existing file.
    name_edit_ = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox")))
        open_button_ = buttons->button(QDialogButtonBox::Open);
    if (name_edit_) {
        connect(name_edit_, &QLineEdit::textChanged, this, [this] { KeepOpenForTypedFile(); });
        name_edit_->installEventFilter(this);
    }
    if (open_button_) open_button_->installEventFilter(this);
}

QString OpenDlog::TypedFile() const
{
    const QString typed = name_edit_ ? name_edit_->text() : QString();
    if (typed.isEmpty()) return {};
    const QString path = directory().absoluteFilePath(typed);
    return QFileInfo(path).isFile() ? path : QString();
}

void OpenDlog::KeepOpenForTypedFile()
{
    if (open_button_ && !open_button_->isEnabled() && !TypedFile().isEmpty()) open_button_->setEnabled(true);
}

bool OpenDlog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == open_button_ && event->type() == QEvent::EnabledChange) {
        KeepOpenForTypedFile();
    } else if (watched == name_edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !TypedFile().isEmpty()) {
            accept();  // Qt's accept takes a typed existing file as it stands
            return true;
        }
    }
    return QFileDialog::eventFilter(watched, event);
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

#include "framework/typed_file_name.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace fw {

TypedFileName::TypedFileName(QFileDialog* dialog) : QObject(dialog), dialog_(dialog)
{
    // The names are those of the widgets of Qt's own dialog.
    name_edit_ = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox")))
        open_button_ = buttons->button(QDialogButtonBox::Open);
    if (name_edit_) {
        connect(name_edit_, &QLineEdit::textChanged, this, [this] { KeepOpenEnabled(); });
        name_edit_->installEventFilter(this);
    }
    // The dialog disables Open again whenever its list changes.
    if (open_button_) open_button_->installEventFilter(this);
}

QString TypedFileName::TypedFile() const
{
    const QString typed = name_edit_ ? name_edit_->text() : QString();
    if (typed.isEmpty()) return {};
    const QString path = dialog_->directory().absoluteFilePath(typed);
    return QFileInfo(path).isFile() ? path : QString();
}

void TypedFileName::KeepOpenEnabled()
{
    if (open_button_ && !open_button_->isEnabled() && !TypedFile().isEmpty()) open_button_->setEnabled(true);
}

bool TypedFileName::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == open_button_ && event->type() == QEvent::EnabledChange) {
        KeepOpenEnabled();
    } else if (watched == name_edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !TypedFile().isEmpty()) {
            static_cast<QDialog*>(dialog_)->accept();  // takes a typed existing file as it stands
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace fw

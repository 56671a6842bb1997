#include "views/save_as_dialog.h"

#include "framework/file_filter.h"
#include "framework/byte_text.h"

#include <QDir>
#include <QFileDialog>

std::optional<std::string> AskSaveAsName(QWidget* parent)
{
    // The filter first: building it makes the folder of the last File Open
    // current, and the dialog starts there, as File Open does.
    const QStringList filters = QtFileFilters(BuildFilter());
    QFileDialog dialog(parent, QFileDialog::tr("Save As"), QDir::currentPath());
    dialog.setObjectName("SaveAsDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix("TXT");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return bytetext::FileNameFromQString(dialog.selectedFiles().first());
}

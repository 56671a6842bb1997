#include "views/save_as_dialog.h"

#include "framework/file_filter.h"
#include "framework/byte_text.h"

#include <QFileDialog>

std::optional<std::string> AskSaveAsName(QWidget* parent)
{
    QFileDialog dialog(parent, QFileDialog::tr("Save As"));
    dialog.setObjectName("SaveAsDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(QtFileFilters(BuildFilter()));
    dialog.setDefaultSuffix("TXT");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return bytetext::FileNameFromQString(dialog.selectedFiles().first());
}

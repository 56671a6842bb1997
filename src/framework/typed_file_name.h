#pragma once
// Qt's own file dialog refuses a typed name that its file-type filter
// hides (typing "bin.dat" while "*.TXT" is chosen leaves Open disabled).
// Attached to a dialog in an existing-file mode, this keeps Open enabled,
// and accepts on Enter, whenever the typed name is an existing file: the
// filter only chooses what the list offers.

#include <QObject>
#include <QString>

class QFileDialog;
class QLineEdit;
class QPushButton;

namespace fw {

class TypedFileName : public QObject {
    Q_OBJECT
public:
    // Owned by `dialog` (a non-native QFileDialog).
    explicit TypedFileName(QFileDialog* dialog);

    // The existing file that the typed name stands for (relative names
    // from the shown directory), or empty.
    QString TypedFile() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void KeepOpenEnabled();

    QFileDialog* dialog_;
    QLineEdit* name_edit_ = nullptr;
    QPushButton* open_button_ = nullptr;
};

} // namespace fw

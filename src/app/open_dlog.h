#pragma once
// File Open: a Qt file dialog with a "&Hex Dump" check box added. A file
// name typed in full opens whatever the file-type filter shows: the filter
// only chooses what the list offers.

#include <QFileDialog>

#include <functional>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
struct FileDialogData;

class OpenDlog : public QFileDialog {
    Q_OBJECT
public:
    // Starts in the current directory with the filters of data.filter and
    // the one of data.filter_index (counted from 1) chosen.
    OpenDlog(QWidget* parent, FileDialogData& data);

    // Runs the dialog; on OK fills data.file_name and data.filter_index
    // and HexDump(). With a test hook installed the hook answers instead.
    bool Execute();
    int HexDump() const { return hex_dump_; }

    using Hook = std::function<bool(FileDialogData& data, int& hex_dump)>;
    static void SetHook(Hook hook);

    // The existing file that the typed name stands for (relative names
    // from the shown directory), or empty.
    QString TypedFile() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void KeepOpenForTypedFile();

    FileDialogData& data_;
    QCheckBox* hex_box_;
    QLineEdit* name_edit_ = nullptr;
    QPushButton* open_button_ = nullptr;
    int hex_dump_ = 0;
};

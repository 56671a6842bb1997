#pragma once
// File Open: a Qt file dialog with a "&Hex Dump" check box added. A file
// name typed in full opens whatever the file-type filter shows: the filter
// only chooses what the list offers.

#include <QFileDialog>

#include <functional>
#include <string>

class QCheckBox;
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

private:
    FileDialogData& data_;
    QCheckBox* hex_box_;
    int hex_dump_ = 0;
};

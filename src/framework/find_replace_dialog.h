#pragma once
// The modeless Find and Replace dialogs. They work on a FindReplaceData
// record and report every button press, and their closing, by the
// `notified` signal with the record as it stands then.

#include <QDialog>
#include <QMetaType>

#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace findflags {
enum : unsigned {
    kDown = 1,
    kWholeWord = 2,
    kMatchCase = 4,
    kFindNext = 8,
    kReplace = 16,
    kReplaceAll = 32,
    kTerminating = 64,
};
} // namespace findflags

struct FindReplaceData {
    unsigned flags = findflags::kDown;
    std::string findWhat;
    std::string replaceWith;
    int bufferSize = 128;  // longest text a field takes, terminator included
};
Q_DECLARE_METATYPE(FindReplaceData)

class FindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Find, Replace };

    FindReplaceDialog(QWidget* parent, Kind kind, const FindReplaceData& data);

    Kind kind() const { return kind_; }
    // The record as the controls show it now, without any action flag.
    FindReplaceData data() const;
    void setData(const FindReplaceData& data);

    QLineEdit* findField() const { return find_; }
    QLineEdit* replaceField() const { return replace_; }  // null in a Find dialog
    QPushButton* findNextButton() const { return findNext_; }
    QPushButton* replaceButton() const { return replaceOne_; }
    QPushButton* replaceAllButton() const { return replaceAll_; }
    QCheckBox* wholeWordBox() const { return wholeWord_; }
    QCheckBox* matchCaseBox() const { return matchCase_; }
    QRadioButton* upButton() const { return up_; }
    QRadioButton* downButton() const { return down_; }

signals:
    void notified(const FindReplaceData& data);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void report(unsigned actionFlag);
    void updateButtons();

    Kind kind_;
    int bufferSize_;
    bool terminated_ = false;
    QLineEdit* find_ = nullptr;
    QLineEdit* replace_ = nullptr;
    QCheckBox* wholeWord_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QRadioButton* up_ = nullptr;
    QRadioButton* down_ = nullptr;
    QPushButton* findNext_ = nullptr;
    QPushButton* replaceOne_ = nullptr;
    QPushButton* replaceAll_ = nullptr;
};

#pragma once
// The modal "File Extensions" dialog: the user's list of file types as two
// editable drop-down lists, extensions and descriptions, whose item i
// always belong together. Typing a new extension (and its description)
// and pressing OK adds an entry; Delete removes the chosen one; nothing is
// written before OK.

#include "dialogs/extension_list.h"

#include <QDialog>

#include <string>

class QComboBox;
class QPushButton;

class ExtDialog : public QDialog {
    Q_OBJECT
public:
    explicit ExtDialog(QWidget* parent, std::string settings = {});

    static void Run(QWidget* parent);

    QComboBox* ExtensionBox() const { return extensions_; }
    QComboBox* DescriptionBox() const { return descriptions_; }

    void accept() override;

private:
    void LoadList();
    void DeleteEntry();
    void Couple(QComboBox* from, QComboBox* to);

    std::string settings_;
    ExtensionList list_;
    bool filling_ = false;  // the lists are being filled: no coupling
    bool accepted_ = false;

    QComboBox* extensions_;
    QComboBox* descriptions_;
    QPushButton* delete_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

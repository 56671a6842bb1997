#pragma once
// A small modal dialog that asks for one line of text: a title, a prompt
// above one edit field, OK and Cancel.

#include <QDialog>
#include <QString>

#include <optional>

class QLabel;
class QLineEdit;

class InputDialog : public QDialog {
    Q_OBJECT
public:
    InputDialog(QWidget* parent, const QString& title, const QString& prompt,
                const QString& initialText, int maxLength);

    QString text() const;
    QLineEdit* field() const { return field_; }

    // Runs the dialog modally; the entered text on OK, nothing on Cancel.
    static std::optional<QString> Ask(QWidget* parent, const QString& title, const QString& prompt,
                                      const QString& initialText, int maxLength);

private:
    QLabel* prompt_;
    QLineEdit* field_;
};

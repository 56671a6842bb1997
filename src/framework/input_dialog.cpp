#include "framework/input_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

InputDialog::InputDialog(QWidget* parent, const QString& title, const QString& prompt,
                         const QString& initialText, int maxLength)
    : QDialog(parent), prompt_(new QLabel(prompt, this)), field_(new QLineEdit(this))
{
    setWindowTitle(title);
    setObjectName("InputDialog");
    field_->setMaxLength(maxLength);
    field_->setText(initialText);
    field_->selectAll();
    prompt_->setBuddy(field_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addWidget(field_);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

QString InputDialog::text() const
{
    return field_->text();
}

std::optional<QString> InputDialog::Ask(QWidget* parent, const QString& title, const QString& prompt,
                                        const QString& initialText, int maxLength)
{
    InputDialog dialog(parent, title, prompt, initialText, maxLength);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.text();
}

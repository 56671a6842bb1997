#include "framework/find_replace_dialog.h"

#include "framework/byte_text.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using bytetext::FromQString;
using bytetext::ToQString;

FindReplaceDialog::FindReplaceDialog(QWidget* parent, Kind kind, const FindReplaceData& data)
    : QDialog(parent), kind_(kind), bufferSize_(data.bufferSize)
{
    setObjectName(kind == Kind::Find ? "FindDialog" : "ReplaceDialog");
    setWindowTitle(kind == Kind::Find ? tr("Find") : tr("Replace"));
    setModal(false);

    auto* fields = new QFormLayout;
    find_ = new QLineEdit(this);
    fields->addRow(tr("Fi&nd what:"), find_);
    if (kind == Kind::Replace) {
        replace_ = new QLineEdit(this);
        fields->addRow(tr("Re&place with:"), replace_);
    }
    wholeWord_ = new QCheckBox(tr("Match &whole word only"), this);
    matchCase_ = new QCheckBox(tr("Match &case"), this);

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(wholeWord_);
    left->addWidget(matchCase_);

    // Direction: only the Find dialog offers it; Replace keeps the record's.
    up_ = new QRadioButton(tr("&Up"), this);
    down_ = new QRadioButton(tr("&Down"), this);
    if (kind == Kind::Find) {
        auto* direction = new QGroupBox(tr("Direction"), this);
        auto* row = new QHBoxLayout(direction);
        row->addWidget(up_);
        row->addWidget(down_);
        left->addWidget(direction);
    } else {
        up_->hide();
        down_->hide();
    }

    auto* buttons = new QVBoxLayout;
    findNext_ = new QPushButton(tr("&Find Next"), this);
    findNext_->setDefault(true);
    buttons->addWidget(findNext_);
    connect(findNext_, &QPushButton::clicked, this, [this] { report(findflags::kFindNext); });
    if (kind == Kind::Replace) {
        replaceOne_ = new QPushButton(tr("&Replace"), this);
        replaceAll_ = new QPushButton(tr("Replace &All"), this);
        buttons->addWidget(replaceOne_);
        buttons->addWidget(replaceAll_);
        connect(replaceOne_, &QPushButton::clicked, this, [this] { report(findflags::kReplace); });
        connect(replaceAll_, &QPushButton::clicked, this, [this] { report(findflags::kReplaceAll); });
    }
    auto* cancel = new QPushButton(tr("Cancel"), this);
    buttons->addWidget(cancel);
    buttons->addStretch();
    connect(cancel, &QPushButton::clicked, this, &FindReplaceDialog::reject);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(find_, &QLineEdit::textChanged, this, &FindReplaceDialog::updateButtons);
    setData(data);
}

void FindReplaceDialog::setData(const FindReplaceData& data)
{
    bufferSize_ = data.bufferSize;
    const int maxLength = bufferSize_ > 1 ? bufferSize_ - 1 : 1;
    find_->setMaxLength(maxLength);
    find_->setText(ToQString(data.findWhat));
    if (replace_) {
        replace_->setMaxLength(maxLength);
        replace_->setText(ToQString(data.replaceWith));
    }
    wholeWord_->setChecked(data.flags & findflags::kWholeWord);
    matchCase_->setChecked(data.flags & findflags::kMatchCase);
    (data.flags & findflags::kDown ? down_ : up_)->setChecked(true);
    terminated_ = false;
    updateButtons();
}

FindReplaceData FindReplaceDialog::data() const
{
    FindReplaceData data;
    data.bufferSize = bufferSize_;
    data.findWhat = FromQString(find_->text());
    if (replace_) data.replaceWith = FromQString(replace_->text());
    data.flags = 0;
    if (down_->isChecked()) data.flags |= findflags::kDown;
    if (wholeWord_->isChecked()) data.flags |= findflags::kWholeWord;
    if (matchCase_->isChecked()) data.flags |= findflags::kMatchCase;
    return data;
}

void FindReplaceDialog::updateButtons()
{
    const bool any = !find_->text().isEmpty();
    findNext_->setEnabled(any);
    if (replaceOne_) replaceOne_->setEnabled(any);
    if (replaceAll_) replaceAll_->setEnabled(any);
}

void FindReplaceDialog::report(unsigned actionFlag)
{
    FindReplaceData d = data();
    d.flags |= actionFlag;
    emit notified(d);
}

void FindReplaceDialog::reject()
{
    hide();
    if (terminated_) return;
    terminated_ = true;
    report(findflags::kTerminating);
}

void FindReplaceDialog::closeEvent(QCloseEvent* event)
{
    event->accept();
    reject();
}

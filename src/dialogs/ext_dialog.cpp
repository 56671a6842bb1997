#include "dialogs/ext_dialog.h"

#include "framework/frame_services.h"
#include "resources/command_ids.h"
#include "resources/strings.h"
#include "settings/settings_path.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// An editable list whose field is only text: typing never adds, chooses or
// completes an item by itself.
QComboBox* TypedList(QWidget* parent, int id, int max_length)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("id%1").arg(id));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(24);
    box->lineEdit()->setMaxLength(max_length);
    // Leaving the field would otherwise choose an item whose text it holds.
    QObject::disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
    return box;
}

QPushButton* Button(QWidget* parent, const char* text, int id)
{
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QStringLiteral("id%1").arg(id));
    return button;
}

} // namespace

ExtDialog::ExtDialog(QWidget* parent, std::string settings)
    : QDialog(parent), settings_(settings.empty() ? SettingsPath() : std::move(settings))
{
    setWindowTitle(QString::fromLatin1(strings::Text(strings::kExtCaption)));
    setObjectName(QStringLiteral("dialog%1").arg(cmd::kExtDialog));
    extensions_ = TypedList(this, cmd::kExtExtension, int(kTypedExtensionLimit));
    descriptions_ = TypedList(this, cmd::kExtDescription, int(kTypedDescriptionLimit));
    delete_ = Button(this, "Delete", cmd::kExtDelete);
    ok_ = Button(this, "OK", 1);
    cancel_ = Button(this, "Cancel", 2);
    ok_->setDefault(true);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("E&xtension:"), extensions_);
    fields->addRow(QStringLiteral("&Description:"), descriptions_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(delete_);
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget* order[] = {extensions_, descriptions_, delete_, ok_, cancel_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
    extensions_->setFocus();

    connect(extensions_, &QComboBox::currentIndexChanged, this, [this] { Couple(extensions_, descriptions_); });
    connect(descriptions_, &QComboBox::currentIndexChanged, this, [this] { Couple(descriptions_, extensions_); });
    connect(delete_, &QPushButton::clicked, this, &ExtDialog::DeleteEntry);
    connect(ok_, &QPushButton::clicked, this, &ExtDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &ExtDialog::reject);
    // Return in either field is OK.
    for (QComboBox* box : {extensions_, descriptions_})
        connect(box->lineEdit(), &QLineEdit::returnPressed, this, &ExtDialog::accept);

    LoadList();
}

void ExtDialog::LoadList()
{
    filling_ = true;
    list_ = ExtensionList::Load(settings_);
    extensions_->clear();
    descriptions_->clear();
    for (const FileType& entry : list_.Entries()) {
        extensions_->addItem(QString::fromStdString(entry.extension));
        descriptions_->addItem(QString::fromStdString(entry.description));
    }
    extensions_->setCurrentIndex(list_.Selected());
    descriptions_->setCurrentIndex(list_.Selected());
    filling_ = false;
}

void ExtDialog::Couple(QComboBox* from, QComboBox* to)
{
    if (filling_) return;
    list_.Select(from->currentIndex());
    if (to->currentIndex() != from->currentIndex()) to->setCurrentIndex(from->currentIndex());
}

void ExtDialog::DeleteEntry()
{
    const int index = list_.Selected();
    list_.DeleteSelected();
    filling_ = true;
    if (index >= 0) {
        extensions_->removeItem(index);
        descriptions_->removeItem(index);
    }
    for (QComboBox* box : {extensions_, descriptions_}) {
        box->setCurrentIndex(list_.Selected());
        if (list_.Selected() < 0) box->clearEditText();
    }
    filling_ = false;
}

void ExtDialog::accept()
{
    if (accepted_) return;  // Return in a field may also reach the default button
    const std::string extension = extensions_->currentText().toStdString();
    const std::string description = descriptions_->currentText().toStdString();
    if (list_.AddsEntry(extension) && !ExtensionList::CanStoreDescription(description)) {
        // The entry would read back split at the comma: the dialog stays
        // open with the description to mend.
        ShowMessage(strings::kExtCommaInDescription, fw::kMbOk | fw::kMbIconExclamation, description.c_str());
        descriptions_->lineEdit()->setFocus();
        descriptions_->lineEdit()->setCursorPosition(int(descriptions_->currentText().indexOf(QLatin1Char(','))));
        return;
    }
    accepted_ = true;
    list_.Accept(extension, description, settings_);
    QDialog::accept();
}

void ExtDialog::Run(QWidget* parent)
{
    ExtDialog dialog(parent);
    dialog.exec();
}

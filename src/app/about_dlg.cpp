#include "app/about_dlg.h"

#include "app/tool_icons.h"
#include "resources/command_ids.h"
#include "settings/settings_path.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kFieldLimit = 128;

QLabel* Field(QWidget* parent, int id, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("field%1").arg(id));
    return label;
}

QLabel* Picture(QWidget* parent, const QIcon& icon)
{
    auto* label = new QLabel(parent);
    label->setPixmap(icon.pixmap(32, 32));
    return label;
}

} // namespace

AboutDlg::AboutDlg(QWidget* parent) : AboutDlg(parent, BuildVersionRecord()) {}

AboutDlg::AboutDlg(QWidget* parent, std::optional<VersionRecord> record) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Tarnwick"));
    auto* title = new QLabel(QStringLiteral("Tarnwick for Linux"), this);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    title->setFont(bold);

    version_ = Field(this, cmd::kAboutVersionField, QStringLiteral("Version"));
    legal_ = Field(this, cmd::kAboutLegalField, QString());
    legal_->setWordWrap(true);
    legal_->setMinimumHeight(2 * legal_->fontMetrics().lineSpacing());
    special_ = Field(this, cmd::kAboutSpecialBuildField, QString());
    special_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    settings_ = new QLabel(QStringLiteral("Settings file: %1").arg(QString::fromStdString(SettingsPath())), this);
    settings_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* grid = new QGridLayout;
    grid->addWidget(Picture(this, AppIcon()), 0, 0, Qt::AlignTop);
    grid->addWidget(title, 0, 1);
    grid->addWidget(Picture(this, DocumentIcon()), 0, 2, Qt::AlignTop);
    grid->addWidget(version_, 1, 1, 1, 2);
    grid->addWidget(legal_, 2, 1, 1, 2);
    grid->addWidget(special_, 3, 1, 1, 2);
    grid->addWidget(settings_, 4, 1, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    setSizeGripEnabled(false);

    Fill(ProjectRCVersion(std::move(record)));
}

void AboutDlg::Fill(const ProjectRCVersion& reader)
{
    std::string name, version, legal, special;
    if (reader.GetProductName(name) && reader.GetProductVersion(version)) {
        const QString label = version_->text().left(kFieldLimit);
        version_->setText(QStringLiteral("%1 %2 [Linux]").arg(label, QString::fromStdString(version)));
    }
    if (reader.GetCopyright(legal)) legal_->setText(QString::fromStdString(legal));
    if (reader.GetSpecialBuild(special)) special_->setText(QString::fromStdString(special));
}

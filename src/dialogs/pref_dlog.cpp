#include "dialogs/pref_dlog.h"

#include "dialogs/colour_combo.h"
#include "dialogs/int_edit.h"
#include "dialogs/tab_stop_choice.h"
#include "dialogs/view_sample.h"
#include "resources/command_ids.h"
#include "resources/strings.h"
#include "settings/settings_path.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

PrefDlog::FontChooser& InstalledChooser()
{
    static PrefDlog::FontChooser chooser;
    return chooser;
}

std::optional<QFont> SystemFontChooser(QWidget* parent, const QFont& initial)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, parent, QString(), QFontDialog::MonospacedFonts);
    if (!ok) return std::nullopt;
    return chosen;
}

// `font`'s face when it is installed; otherwise the installed face that
// stands in for it, or the system's fixed-pitch face.
QString InstalledFace(const QFont& font)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString& face : {font.family(), QFontInfo(font).family()})
        if (installed.contains(face, Qt::CaseInsensitive)) return face;
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

template <class W>
W* Named(W* widget, int id)
{
    widget->setObjectName(QStringLiteral("id%1").arg(id));
    return widget;
}

QString Resource(int id)
{
    return QString::fromLatin1(strings::Text(id));
}

} // namespace

PrefDlog::PrefDlog(QWidget* parent, std::string settings)
    : QDialog(parent), settings_(settings.empty() ? SettingsPath() : std::move(settings))
{
    setWindowTitle(Resource(strings::kPrefCaption));
    setObjectName(QStringLiteral("dialog%1").arg(cmd::kPrefDialog));
    BuildControls();
    LoadControls();
}

void PrefDlog::BuildControls()
{
    tab_stops_ = Named(new QComboBox(this), cmd::kPrefTabStops);
    auto_indent_ = Named(new QCheckBox(QStringLiteral("&Auto Indent"), this), cmd::kPrefAutoIndent);
    undo_limit_ = Named(new IntEdit(kUndoLimitMin, kUndoLimitMax, this), cmd::kPrefUndoLimit);
    undo_label_ = Named(new QLabel(Resource(strings::kPrefUndoLabel), this), cmd::kPrefUndoLabel);
    background_ = Named(new ColorCombo(this), cmd::kPrefBackground);
    text_ = Named(new ColorCombo(this), cmd::kPrefText);
    sample_ = Named(new ViewSample(this), cmd::kPrefSample);
    font_label_ = Named(new QLabel(Resource(strings::kPrefFontPlaceholder), this), cmd::kPrefFontLabel);
    fonts_ = Named(new QPushButton(QStringLiteral("Fonts..."), this), cmd::kPrefFonts);
    restore_ = Named(new QPushButton(QStringLiteral("Restore"), this), cmd::kPrefRestore);
    ok_ = Named(new QPushButton(QStringLiteral("OK"), this), 1);
    cancel_ = Named(new QPushButton(QStringLiteral("Cancel"), this), 2);
    ok_->setDefault(true);

    undo_label_->setText(QString::asprintf(strings::Text(strings::kPrefUndoLabel), kUndoLimitMin, kUndoLimitMax));
    undo_label_->setBuddy(undo_limit_);
    undo_limit_->setMaxLength(15);
    undo_limit_->setMaximumWidth(undo_limit_->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));

    auto* tab_label = new QLabel(QStringLiteral("&Tab Stops"), this);
    tab_label->setBuddy(tab_stops_);
    auto* tabs = new QGroupBox(QStringLiteral("Tabs"), this);
    auto* tabs_grid = new QGridLayout(tabs);
    tabs_grid->addWidget(tab_label, 0, 0);
    tabs_grid->addWidget(tab_stops_, 0, 1);
    tabs_grid->addWidget(auto_indent_, 1, 0, 1, 2);

    auto* background_label = new QLabel(QStringLiteral("&Background"), this);
    background_label->setObjectName(QStringLiteral("id110"));
    background_label->setBuddy(background_);
    auto* text_label = new QLabel(QStringLiteral("&Text"), this);
    text_label->setObjectName(QStringLiteral("id111"));
    text_label->setBuddy(text_);
    auto* colours = new QGroupBox(QStringLiteral("Colors"), this);
    auto* colours_grid = new QGridLayout(colours);
    colours_grid->addWidget(background_label, 0, 0);
    colours_grid->addWidget(background_, 0, 1);
    colours_grid->addWidget(text_label, 1, 0);
    colours_grid->addWidget(text_, 1, 1);

    auto* groups = new QHBoxLayout;
    groups->addWidget(tabs, 1);
    groups->addWidget(colours, 1);

    auto* undo_row = new QHBoxLayout;
    undo_row->addWidget(undo_label_);
    undo_row->addWidget(undo_limit_);
    undo_row->addStretch(1);

    auto* font_row = new QHBoxLayout;
    font_row->addWidget(font_label_, 1);
    font_row->addWidget(fonts_);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(restore_);
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(undo_row);
    layout->addWidget(new QLabel(QStringLiteral("Sample"), this));
    layout->addWidget(sample_, 1);
    layout->addLayout(font_row);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The keyboard walks the controls in the order of the dialog's template.
    QWidget* order[] = {tab_stops_, auto_indent_, undo_limit_, background_, text_, fonts_, restore_, ok_, cancel_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
    tab_stops_->setFocus();

    connect(tab_stops_, &QComboBox::currentIndexChanged, this, &PrefDlog::TabStopsToSample);
    connect(auto_indent_, &QCheckBox::clicked, this, &PrefDlog::TabStopsToSample);
    connect(background_, &QComboBox::currentIndexChanged, this, &PrefDlog::ColoursToSample);
    connect(text_, &QComboBox::currentIndexChanged, this, &PrefDlog::ColoursToSample);
    connect(fonts_, &QPushButton::clicked, this, &PrefDlog::ChooseFont);
    connect(restore_, &QPushButton::clicked, this, &PrefDlog::LoadControls);
    connect(ok_, &QPushButton::clicked, this, &PrefDlog::accept);
    connect(cancel_, &QPushButton::clicked, this, &PrefDlog::reject);
}

void PrefDlog::LoadControls()
{
    const StoredPreferences stored = ReadPreferences(settings_);
    // The signals of the controls mean a change by the user; loading is none.
    const QSignalBlocker block_tabs(tab_stops_), block_back(background_), block_text(text_);
    if (tab_items_.empty()) {
        tab_items_ = TabStopItems();
        for (const std::string& item : tab_items_) tab_stops_->addItem(QString::fromStdString(item));
    }
    tab_stops_->setCurrentIndex(SelectTabStopItem(tab_items_, stored.tab_stops).value_or(-1));
    sample_->SetTabStops(SelectedTabStops());
    auto_indent_->setChecked(stored.auto_indent);
    remembered_undo_limit_ = stored.undo_limit;
    undo_limit_->SetValue(stored.undo_limit);
    font_ = stored.font;
    background_->SetColor(stored.background);
    text_->SetColor(stored.text);
    UpdateSample();
    sample_->SetFont(ViewFont(font_));
    FitToScreen();
    changed_ = false;
}

int PrefDlog::SelectedTabStops() const
{
    const int index = tab_stops_->currentIndex();
    return TabStopsOf(tab_items_, index >= 0 ? std::optional<int>(index) : std::nullopt);
}

void PrefDlog::UpdateSample()
{
    sample_->SetBkColor(ColorCombo::ToQColor(background_->GetColor()));
    sample_->SetTextColor(ColorCombo::ToQColor(text_->GetColor()));
    const int points = font_.size * 72 / std::max(1, logicalDpiY());
    font_label_->setText(QString::asprintf(strings::Text(strings::kPrefFontLabel), font_.face.c_str(), points));
}

void PrefDlog::TabStopsToSample()
{
    const int tab_stops = SelectedTabStops();
    if (tab_stops != sample_->TabStops()) sample_->SetTabStops(tab_stops);
    changed_ = true;
}

void PrefDlog::ColoursToSample()
{
    UpdateSample();
    changed_ = true;
}

void PrefDlog::ChooseFont()
{
    // The chooser lists installed faces only: a stored face the system
    // lacks starts it at the face that stands in for it in the views.
    QFont initial = ViewFont(font_);
    initial.setFamily(InstalledFace(initial));
    initial.setPointSizeF(font_.size * 72.0 / std::max(1, logicalDpiY()));
    initial.setStyle(QFont::StyleNormal);
    if (font_.weight <= 0) initial.setWeight(QFont::Normal);
    const FontChooser& chooser = InstalledChooser();
    const std::optional<QFont> chosen = chooser ? chooser(this, initial) : SystemFontChooser(this, initial);
    if (!chosen) return;
    font_.face = chosen->family().toStdString();
    font_.size = chosen->pixelSize() > 0 ? chosen->pixelSize()
                                         : static_cast<int>(std::lround(chosen->pointSizeF() * logicalDpiY() / 72.0));
    font_.size = std::max(font_.size, 1);
    font_.weight = chosen->weight();
    sample_->SetFont(ViewFont(font_));
    FitToScreen();
    UpdateSample();
    changed_ = true;
}

void PrefDlog::FitToScreen()
{
    // The sample would grow the dialog with its font past the screen's
    // edge, taking the buttons with it; it is given only the room the
    // screen leaves, and clips its text.
    const QScreen* shown_on = screen();
    if (!shown_on || !layout()) return;
    const QRect room = shown_on->availableGeometry();
    // The window frame; before the window is first shown, a title bar's
    // height and thin borders stand in for it.
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                   outer.bottom() - inner.bottom());
    if (!isVisible() || frame.isNull()) {
        const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) * 2;
        frame =
            QMargins(border, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this) + border, border, border);
    }
    sample_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->invalidate();
    const QSize whole = layout()->totalSizeHint();
    const QSize excess(whole.width() + frame.left() + frame.right() - room.width(),
                       whole.height() + frame.top() + frame.bottom() - room.height());
    const QSize natural = sample_->sizeHint();
    sample_->setMaximumSize(excess.width() > 0 ? std::max(0, natural.width() - excess.width()) : QWIDGETSIZE_MAX,
                            excess.height() > 0 ? std::max(0, natural.height() - excess.height()) : QWIDGETSIZE_MAX);
    layout()->activate();
    if (!isVisible()) return;  // placed when shown
    // A dialog grown where it stands may reach past the edge.
    const QRect now = frameGeometry();
    move(std::clamp(now.left(), room.left(), std::max(room.left(), room.right() + 1 - now.width())),
         std::clamp(now.top(), room.top(), std::max(room.top(), room.bottom() + 1 - now.height())));
}

void PrefDlog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FitToScreen();  // the screen, and the frame, are known now
}

void PrefDlog::accept()
{
    ChosenPreferences chosen;
    chosen.background = background_->GetColor();
    chosen.text = text_->GetColor();
    chosen.font = font_;
    chosen.tab_stops = SelectedTabStops();
    chosen.auto_indent = auto_indent_->isChecked();
    chosen.undo_limit = undo_limit_->GetValue();
    if (chosen.undo_limit != remembered_undo_limit_) changed_ = true;
    if (ApplyWrites(PreferenceWrites(chosen, remembered_undo_limit_), settings_)) changed_ = true;
    remembered_undo_limit_ = chosen.undo_limit;
    QDialog::accept();
}

bool PrefDlog::Run(QWidget* parent)
{
    PrefDlog dialog(parent);
    return dialog.exec() == QDialog::Accepted && dialog.Changed();
}

void PrefDlog::SetFontChooser(FontChooser chooser)
{
    InstalledChooser() = std::move(chooser);
}

QFont PrefDlog::ViewFont(const FontChoice& font)
{
    QFont made(QString::fromStdString(font.face));
    made.setStyleHint(QFont::TypeWriter);
    made.setFixedPitch(true);
    made.setPixelSize(std::max(font.size, 1));
    if (font.weight > 0) made.setWeight(QFont::Weight(std::clamp(font.weight, 1, 1000)));
    made.setKerning(false);
    return made;
}

#include "dialogs/colour_combo.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

constexpr int kSwatchInset = 2;

// Items are as high as an 8-point sans-serif line.
int ItemHeight()
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setPointSize(8);
    return QFontMetrics(font).height();
}

void PaintSwatch(QPainter& painter, const QRect& item, const QColor& colour, const QColor& clear, bool focus)
{
    painter.fillRect(item, clear);
    const QRect swatch = item.adjusted(kSwatchInset, kSwatchInset, -kSwatchInset - 1, -kSwatchInset - 1);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(colour);
    painter.drawRect(swatch);
    if (!focus) return;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(item.adjusted(0, 0, -1, -1));
}

class SwatchDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        const bool focus = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
        PaintSwatch(*painter, option.rect, index.data(Qt::UserRole).value<QColor>(),
                    option.palette.color(QPalette::Base), focus);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return {4 * ItemHeight(), ItemHeight()};
    }
};

} // namespace

ColorCombo::ColorCombo(QWidget* parent) : QComboBox(parent)
{
    setItemDelegate(new SwatchDelegate(this));
    for (const Rgb& colour : kSwatchColours) addItem(QString(), ToQColor(colour));
    setMinimumContentsLength(6);
}

void ColorCombo::SetColor(Rgb colour)
{
    setCurrentIndex(SwatchIndex(colour));
}

Rgb ColorCombo::GetColor() const
{
    const int index = currentIndex();
    return index >= 0 && index < static_cast<int>(kSwatchColours.size()) ? kSwatchColours[std::size_t(index)]
                                                                         : kSwatchColours[0];
}

QColor ColorCombo::ToQColor(Rgb colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

void ColorCombo::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    QRect item(field.left(), field.center().y() - ItemHeight() / 2, field.width(), ItemHeight());
    PaintSwatch(painter, item, ToQColor(GetColor()), palette().color(QPalette::Button), hasFocus());
}

#include "dialogs/view_sample.h"

#include "resources/strings.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr int kMargin = 5;
constexpr int kTop = 3;
constexpr int kLineGap = 2;

} // namespace

ViewSample::ViewSample(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ViewSample::SetFont(const QFont& font)
{
    font_ = font;
    updateGeometry();  // a larger font needs a larger pane
    update();
}

void ViewSample::SetTextColor(const QColor& colour)
{
    text_ = colour;
    update();
}

void ViewSample::SetBkColor(const QColor& colour)
{
    background_ = colour;
    update();
}

void ViewSample::SetTabStops(int tab_stops)
{
    tab_stops_ = tab_stops;
    update();
}

QPoint ViewSample::IndentedLineOrigin() const
{
    if (!font_) return {};
    const QFontMetrics metrics(*font_);
    return {metrics.averageCharWidth() * tab_stops_ + kMargin,
            metrics.height() + metrics.leading() + kTop + kLineGap};
}

void ViewSample::paintEvent(QPaintEvent*)
{
    if (!font_) return;
    QPainter painter(this);
    painter.setClipRect(rect());
    painter.fillRect(rect(), background_);
    painter.setPen(text_);
    painter.setFont(*font_);
    const QString sample = QString::fromLatin1(strings::Text(strings::kPrefSampleText));
    const int ascent = QFontMetrics(*font_).ascent();
    painter.drawText(QPoint(kMargin, kTop + ascent), sample);
    const QPoint indented = IndentedLineOrigin();
    painter.drawText(QPoint(indented.x(), indented.y() + ascent), sample);
}

QSize ViewSample::sizeHint() const
{
    const QFontMetrics metrics(font_ ? *font_ : font());
    return {metrics.horizontalAdvance(QString::fromLatin1(strings::Text(strings::kPrefSampleText))) +
                metrics.averageCharWidth() * 8 + 2 * kMargin,
            2 * (metrics.height() + metrics.leading()) + 2 * kTop + kLineGap};
}

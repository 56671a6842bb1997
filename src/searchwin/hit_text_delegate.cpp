#include "searchwin/hit_text_delegate.h"

#include "searchwin/result_list_model.h"

#include <QApplication>
#include <QPainter>

void HitTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const auto* model = qobject_cast<const ResultListModel*>(index.model());
    if (!model || index.column() != ResultListModel::kTextColumn || !model->HasText())
        return QStyledItemDelegate::paint(painter, option, index);
    const HitTexts::Text& text = model->HitText(static_cast<std::size_t>(index.row()));
    if (text.changed || text.shown.marks.empty()) return QStyledItemDelegate::paint(painter, option, index);

    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text.clear();
    QStyle* style = item.widget ? item.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget).adjusted(3, 0, -3, 0);
    const bool selected = item.state & QStyle::State_Selected;
    const QColor plain = item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor marked = selected ? plain : item.palette.color(QPalette::Link);
    QFont bold = item.font;
    bold.setBold(true);
    const QString ellipsis(QChar(0x2026));

    painter->save();
    painter->setClipRect(area);
    int x = area.left();
    const std::u32string& shown = text.shown.text;
    std::size_t at = 0;
    auto mark = text.shown.marks.begin();
    while (at < shown.size()) {
        const bool in_mark = mark != text.shown.marks.end() && mark->first <= at;
        const std::size_t end = in_mark ? mark->second
                                        : (mark != text.shown.marks.end() ? mark->first : shown.size());
        const QFont& font = in_mark ? bold : item.font;
        QString piece = QString::fromUcs4(shown.data() + at, static_cast<qsizetype>(end - at));
        const QFontMetrics metrics(font);
        const bool last = end == shown.size() && !text.cut;
        const int room = area.right() - x;
        bool cut = false;
        if (metrics.horizontalAdvance(piece) > room || (!last && metrics.horizontalAdvance(piece) >= room)) {
            piece = metrics.elidedText(piece, Qt::ElideRight, room);
            cut = true;
        }
        painter->setFont(font);
        painter->setPen(in_mark ? marked : plain);
        painter->drawText(QRect(x, area.top(), room + 1, area.height()), Qt::AlignLeft | Qt::AlignVCenter, piece);
        x += metrics.horizontalAdvance(piece);
        if (cut) break;
        if (in_mark) ++mark;
        at = end;
    }
    if (text.cut && at >= shown.size()) {
        painter->setFont(item.font);
        painter->setPen(plain);
        painter->drawText(QRect(x, area.top(), area.right() - x + 1, area.height()), Qt::AlignLeft | Qt::AlignVCenter,
                          ellipsis);
    }
    painter->restore();
}

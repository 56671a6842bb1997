#pragma once
// Paints the Grep window's text column: the line's text with its matches
// in bold and the palette's link colour, cut to the column with an
// ellipsis. Every other cell is painted as usual.

#include <QStyledItemDelegate>

class HitTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

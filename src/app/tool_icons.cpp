#include "app/tool_icons.h"

#include "resources/command_ids.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

constexpr int kSize = 32;  // drawing grid; Qt scales the picture down

const QColor kInk(40, 40, 48);
const QColor kPaper(252, 252, 246);
const QColor kFolder(236, 184, 72);
const QColor kBlue(58, 110, 190);
const QColor kGreen(52, 150, 84);
const QColor kRed(196, 62, 52);

void Page(QPainter& p, QRectF r)
{
    const qreal fold = r.width() * 0.3;
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawPolyline(QPolygonF({QPointF(r.right() - fold, r.top()),
                              QPointF(r.right() - fold, r.top() + fold),
                              QPointF(r.right(), r.top() + fold)}));
}

void TextLines(QPainter& p, QRectF r, int lines)
{
    p.setPen(QPen(QColor(120, 120, 130), 1.5));
    for (int i = 0; i < lines; ++i) {
        const qreal y = r.top() + (i + 1) * r.height() / (lines + 1);
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
}

void Folder(QPainter& p)
{
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kFolder.darker(115));
    p.drawRect(QRectF(3, 8, 24, 19));
    p.drawRect(QRectF(3, 5, 10, 4));
    p.setBrush(kFolder);
    p.drawPolygon(QPolygonF({QPointF(7, 13), QPointF(30, 13), QPointF(27, 27), QPointF(3, 27)}));
}

void Floppy(QPainter& p, QRectF r)
{
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kBlue);
    p.drawRoundedRect(r, 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(r.left() + r.width() * 0.2, r.top() + r.height() * 0.5,
                      r.width() * 0.6, r.height() * 0.5));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(r.left() + r.width() * 0.25, r.top(), r.width() * 0.5, r.height() * 0.3));
}

void Magnifier(QPainter& p, QPointF centre, qreal radius)
{
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    const QPointF handle = centre + QPointF(radius * 0.7, radius * 0.7);
    p.drawLine(handle, handle + QPointF(radius * 0.9, radius * 0.9));
    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(200, 228, 255));
    p.drawEllipse(centre, radius, radius);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour)
{
    p.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot((to - from).x(), (to - from).y());
    const QPointF n(-d.y(), d.x());
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({to + d * 2, to - d * 4 + n * 4, to - d * 4 - n * 4}));
}

void DrawNew(QPainter& p)
{
    Page(p, QRectF(6, 3, 20, 26));
    p.setPen(QPen(kGreen, 2.5));
    p.drawLine(QPointF(12, 17), QPointF(20, 17));
    p.drawLine(QPointF(16, 13), QPointF(16, 21));
}

void DrawOpen(QPainter& p) { Folder(p); }

void DrawSave(QPainter& p) { Floppy(p, QRectF(4, 4, 24, 24)); }

void DrawSaveAs(QPainter& p)
{
    Floppy(p, QRectF(2, 2, 21, 21));
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kFolder);
    p.drawPolygon(QPolygonF({QPointF(27, 14), QPointF(31, 18), QPointF(20, 29), QPointF(16, 29),
                             QPointF(16, 25)}));
}

void DrawPrint(QPainter& p)
{
    Page(p, QRectF(9, 2, 14, 12));
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(170, 170, 180));
    p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(8, 20, 16, 9));
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(25, 16), 1.5, 1.5);
}

void DrawUndo(QPainter& p)
{
    p.setPen(QPen(kBlue, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(7, 8, 20, 18), 90 * 16, -200 * 16);
    p.setPen(QPen(kBlue, 1));
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF({QPointF(4, 8), QPointF(14, 2), QPointF(14, 14)}));
}

void DrawCut(QPainter& p)
{
    p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 3), QPointF(21, 21));
    p.drawLine(QPointF(23, 3), QPointF(11, 21));
    p.setPen(QPen(kRed, 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(9, 25), 4.5, 4.5);
    p.drawEllipse(QPointF(23, 25), 4.5, 4.5);
}

void DrawCopy(QPainter& p)
{
    Page(p, QRectF(3, 2, 16, 20));
    TextLines(p, QRectF(6, 8, 9, 12), 3);
    Page(p, QRectF(13, 10, 16, 20));
    TextLines(p, QRectF(16, 16, 9, 12), 3);
}

void DrawPaste(QPainter& p)
{
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(176, 128, 80));
    p.drawRoundedRect(QRectF(4, 5, 20, 24), 2, 2);
    p.setBrush(QColor(190, 190, 200));
    p.drawRect(QRectF(9, 2, 10, 6));
    Page(p, QRectF(13, 12, 16, 18));
    TextLines(p, QRectF(16, 17, 9, 11), 3);
}

void DrawGrep(QPainter& p)
{
    Page(p, QRectF(2, 2, 16, 20));
    Page(p, QRectF(7, 6, 16, 20));
    TextLines(p, QRectF(10, 12, 9, 12), 3);
    Magnifier(p, QPointF(20, 19), 6);
}

void DrawFind(QPainter& p)
{
    Magnifier(p, QPointF(13, 13), 8.5);
}

void DrawReplace(QPainter& p)
{
    Magnifier(p, QPointF(10, 10), 6.5);
    Arrow(p, QPointF(14, 24), QPointF(26, 24), kGreen);
    Arrow(p, QPointF(27, 6), QPointF(27, 17), kGreen);
}

void DrawNext(QPainter& p)
{
    Magnifier(p, QPointF(10, 10), 6.5);
    Arrow(p, QPointF(14, 25), QPointF(27, 25), kBlue);
}

void DrawToolBarPosition(QPainter& p)
{
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kPaper);
    p.drawRect(QRectF(3, 3, 26, 26));
    p.setBrush(kBlue);
    p.drawRect(QRectF(3, 3, 26, 6));
    p.drawRect(QRectF(3, 9, 5, 20));
    Arrow(p, QPointF(14, 21), QPointF(24, 13), kGreen);
}

QIcon Draw(const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

} // namespace

QIcon ToolIcon(cmd::Command command)
{
    switch (command) {
    case cmd::kFileNew: return Draw(DrawNew);
    case cmd::kFileOpen: return Draw(DrawOpen);
    case cmd::kFileSave: return Draw(DrawSave);
    case cmd::kFileSaveAs: return Draw(DrawSaveAs);
    case cmd::kFilePrint: return Draw(DrawPrint);
    case cmd::kEditUndo: return Draw(DrawUndo);
    case cmd::kEditCut: return Draw(DrawCut);
    case cmd::kEditCopy: return Draw(DrawCopy);
    case cmd::kEditPaste: return Draw(DrawPaste);
    case cmd::kFileGrep: return Draw(DrawGrep);
    case cmd::kSearchFind: return Draw(DrawFind);
    case cmd::kSearchReplace: return Draw(DrawReplace);
    case cmd::kSearchNext: return Draw(DrawNext);
    case cmd::kToolBarPosition: return Draw(DrawToolBarPosition);
    default: return {};
    }
}

QIcon AppIcon()
{
    return Draw([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue.darker(130));
        p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
        Page(p, QRectF(6, 4, 16, 21));
        TextLines(p, QRectF(9, 10, 9, 13), 3);
        Magnifier(p, QPointF(20, 19), 5.5);
    });
}

QIcon DocumentIcon()
{
    return Draw([](QPainter& p) {
        Page(p, QRectF(6, 3, 20, 26));
        TextLines(p, QRectF(10, 9, 12, 17), 4);
    });
}

QIcon SearchWindowIcon()
{
    return Draw(DrawGrep);
}

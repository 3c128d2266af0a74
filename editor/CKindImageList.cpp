#include "editor/CKindImageList.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace {

void Tile(QPainter& p, QColor fill, QColor edge)
{
    p.setPen(QPen(edge, 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
}

void Glyph(QPainter& p, const char* text, QColor colour, int pixelSize)
{
    QFont font("DejaVu Sans");
    font.setPixelSize(pixelSize);
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString::fromLatin1(text));
}

QPixmap Draw(int kind)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case 0:  // string: a page with a text cursor
        Tile(p, QColor(255, 255, 240), QColor(120, 110, 60));
        Glyph(p, "ab", QColor(60, 60, 60), 9);
        break;
    case 1:  // integer
        Tile(p, QColor(70, 110, 200), QColor(30, 50, 120));
        Glyph(p, "12", Qt::white, 9);
        break;
    case 2:  // enumeration: a short list with bullets
        Tile(p, QColor(255, 200, 110), QColor(160, 100, 20));
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 3; ++i) {
            p.setBrush(QColor(120, 60, 0));
            p.drawEllipse(QRectF(3, 3.5 + 3.5 * i, 2.5, 2.5));
            p.setBrush(i == 1 ? QColor(200, 40, 20) : QColor(90, 60, 20));
            p.drawRect(QRectF(7, 4 + 3.5 * i, 6, 1.5));
        }
        break;
    case 3:  // double
        Tile(p, QColor(40, 140, 90), QColor(20, 80, 50));
        Glyph(p, "1.5", Qt::white, 7);
        break;
    case 4:  // float
        Tile(p, QColor(150, 200, 120), QColor(60, 110, 40));
        Glyph(p, ".5", QColor(20, 60, 10), 9);
        break;
    case 5: {  // 2-D spline: a curve over a grid
        Tile(p, Qt::white, QColor(90, 90, 90));
        p.setPen(QPen(QColor(210, 210, 210), 1));
        p.drawLine(QPointF(8, 2), QPointF(8, 14));
        p.drawLine(QPointF(2, 8), QPointF(14, 8));
        QPainterPath curve(QPointF(2.5, 12.5));
        curve.cubicTo(QPointF(6, 0), QPointF(10, 16), QPointF(13.5, 3.5));
        p.setPen(QPen(QColor(200, 30, 30), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawPath(curve);
        break;
    }
    case 6:  // RGB colour: three overlapping discs
        Tile(p, QColor(245, 245, 245), QColor(90, 90, 90));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 30, 30));
        p.drawEllipse(QRectF(2.5, 2.5, 7, 7));
        p.setBrush(QColor(30, 180, 40));
        p.drawEllipse(QRectF(6.5, 2.5, 7, 7));
        p.setBrush(QColor(40, 70, 230));
        p.drawEllipse(QRectF(4.5, 6.5, 7, 7));
        break;
    case 7:  // property set: a small key/value table
        Tile(p, QColor(235, 225, 250), QColor(100, 70, 140));
        p.setPen(QPen(QColor(100, 70, 140), 1));
        for (int i = 0; i < 3; ++i) p.drawLine(QPointF(3, 4.5 + 3.5 * i), QPointF(13, 4.5 + 3.5 * i));
        p.drawLine(QPointF(7, 3), QPointF(7, 13));
        break;
    default: break;
    }
    return pixmap;
}

}  // namespace

CKindImageList::CKindImageList()
{
    for (int kind = 0; kind < kImageCount; ++kind) {
        images.push_back(Draw(kind));
        icons.emplace_back(images.back());
    }
}

QIcon CKindImageList::Icon(int kind) const
{
    if (kind < 0 || kind >= int(icons.size())) return QIcon();
    return icons[size_t(kind)];
}

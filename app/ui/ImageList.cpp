// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/ImageList.h"

#include "app/ui/Palette.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

QIcon Draw(const std::function<void(QPainter&)>& paint) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(2.0, 2.0);  // drawn on a 16 by 16 grid, sharp on high-density screens
    paint(p);
    p.end();
    return QIcon(QPixmap::fromImage(palette::Shade(pixmap.toImage())));
}

void Magnifier(QPainter& p, bool plus) {
    p.setPen(QPen(QColor(40, 40, 40), 1.6));
    p.setBrush(QColor(220, 235, 250));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.setPen(QPen(QColor(90, 60, 20), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
    p.setPen(QPen(QColor(20, 20, 120), 1.4));
    p.drawLine(QPointF(3.5, 6), QPointF(8.5, 6));
    if (plus) p.drawLine(QPointF(6, 3.5), QPointF(6, 8.5));
}

void Tree(QPainter& p, bool expanded) {
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.drawLine(QPointF(4, 4), QPointF(4, 13));
    p.drawLine(QPointF(4, 8.5), QPointF(8, 8.5));
    p.drawLine(QPointF(4, 13), QPointF(8, 13));
    p.setBrush(QColor(255, 220, 120));
    p.drawRect(QRectF(1.5, 1, 5, 4));
    if (expanded) {
        p.drawRect(QRectF(8.5, 7, 6, 3));
        p.drawRect(QRectF(8.5, 11.5, 6, 3));
    }
    p.setBrush(Qt::white);
    p.drawRect(QRectF(10, 1, 5, 5));
    p.drawLine(QPointF(11, 3.5), QPointF(14, 3.5));
    if (expanded) p.drawLine(QPointF(12.5, 2), QPointF(12.5, 5));
}

}  // namespace

QList<QIcon> BuildImageList1() {
    QList<QIcon> icons;
    icons << Draw([](QPainter& p) {  // 0 open
        p.setPen(QPen(QColor(120, 90, 20), 1));
        p.setBrush(QColor(240, 200, 90));
        p.drawRect(QRectF(1.5, 4.5, 12, 9));
        p.setBrush(QColor(255, 225, 130));
        QPainterPath lid;
        lid.moveTo(3.5, 7.5);
        lid.lineTo(15, 7.5);
        lid.lineTo(13.5, 13.5);
        lid.lineTo(1.5, 13.5);
        lid.closeSubpath();
        p.drawPath(lid);
    });
    icons << Draw([](QPainter& p) {  // 1 save
        p.setPen(QPen(QColor(20, 30, 80), 1));
        p.setBrush(QColor(60, 90, 170));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 1.5, 8, 5));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(4, 9, 8, 5.5));
    });
    icons << Draw([](QPainter& p) {  // 2 print
        p.setPen(QPen(QColor(50, 50, 50), 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(150, 150, 150));
        p.drawRect(QRectF(1.5, 6.5, 13, 6));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
    });
    icons << Draw([](QPainter& p) { Tree(p, true); });   // 3 expand
    icons << Draw([](QPainter& p) { Tree(p, false); });  // 4 collapse
    icons << Draw([](QPainter& p) {                      // 5 manual
        p.setPen(QPen(QColor(20, 60, 20), 1));
        p.setBrush(QColor(90, 170, 90));
        p.drawRect(QRectF(2.5, 1.5, 11, 13));
        p.setPen(QPen(Qt::white, 1.6));
        QFont f = p.font();
        f.setPixelSize(10);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(2.5, 1.5, 11, 13), Qt::AlignCenter, "?");
    });
    icons << Draw([](QPainter& p) { Magnifier(p, true); });   // 6 zoom in
    icons << Draw([](QPainter& p) { Magnifier(p, false); });  // 7 zoom out
    icons << Draw([](QPainter& p) {                           // 8 system information
        p.setPen(QPen(QColor(20, 40, 110), 1));
        p.setBrush(QColor(70, 120, 210));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(7, 3.5, 2.2, 2.2));
        p.drawRect(QRectF(7, 6.8, 2.2, 6));
    });
    return icons;
}

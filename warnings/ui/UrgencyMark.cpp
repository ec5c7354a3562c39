// SPDX-License-Identifier: GPL-3.0-or-later
#include "warnings/ui/UrgencyMark.h"

#include "app/ui/Palette.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPixmap>

#include <array>

namespace urgency {

QColor Colour(warnings::TUrgency urgency) {
    switch (urgency) {
        case warnings::TUrgency::Distress:
            return palette::Shade(QColor(176, 0, 120));
        case warnings::TUrgency::Near:
            return palette::Shade(QColor(200, 90, 0));
        case warnings::TUrgency::Gale:
            return palette::Shade(QColor(100, 40, 160));
        case warnings::TUrgency::None:
            break;
    }
    return {};
}

QIcon Icon(warnings::TUrgency urgency) {
    if (urgency == warnings::TUrgency::None) return {};
    static std::array<std::array<QIcon, 4>, 3> icons;  // by palette
    QIcon& icon = icons[static_cast<size_t>(palette::Effective())][static_cast<size_t>(urgency)];
    if (!icon.isNull()) return icon;
    for (const int side : {16, 32}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(side / 16.0, side / 16.0);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Colour(urgency));
        // Distress a disc, a warning near the boat a triangle, a gale a square: told apart
        // without their colours too.
        if (urgency == warnings::TUrgency::Distress)
            painter.drawEllipse(QRectF(1, 1, 14, 14));
        else if (urgency == warnings::TUrgency::Near)
            painter.drawPolygon(QPolygonF{QPointF(8, 1), QPointF(15, 15), QPointF(1, 15)});
        else
            painter.drawRect(QRectF(2, 2, 12, 12));
        painter.setPen(QPen(palette::Shade(Qt::white), 2));
        const double top = urgency == warnings::TUrgency::Near ? 6 : 4;
        painter.drawLine(QPointF(8, top), QPointF(8, 10));
        painter.drawPoint(QPointF(8, 12.5));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QString Words(warnings::TUrgency urgency) {
    switch (urgency) {
        case warnings::TUrgency::Distress:
            return QCoreApplication::translate("urgency",
                                               "détresse : recherche et sauvetage ou message vital");
        case warnings::TUrgency::Near:
            return QCoreApplication::translate("urgency", "avertissement de navigation près du bateau");
        case warnings::TUrgency::Gale:
            return QCoreApplication::translate("urgency", "avis de coup de vent");
        case warnings::TUrgency::None:
            break;
    }
    return {};
}

}  // namespace urgency

#pragma once

#include <QColor>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

// The program's icon, drawn rather than loaded: a small camera on a dark square.
inline QIcon trayIconImage()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(30, 60, 110));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(0, 0, 32, 32, 6, 6);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(4, 10, 18, 13, 2, 2);
    painter.drawPolygon(QPolygon({QPoint(22, 14), QPoint(29, 10), QPoint(29, 23), QPoint(22, 19)}));
    painter.setBrush(QColor(220, 40, 40));
    painter.drawEllipse(QPoint(9, 14), 2, 2);
    return QIcon(pixmap);
}

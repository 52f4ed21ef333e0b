#include "monitor/FrameStamp.h"

#include <QPainter>

void drawTimeStamp(QImage &picture, const QString &text)
{
    QPainter painter(&picture);
    QFont font = painter.font();
    font.setPointSize(12);
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(QRect(0, 0, picture.width(), picture.height()), Qt::AlignLeft | Qt::AlignTop, text);
}

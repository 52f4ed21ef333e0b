#include "monitor/NoSignalPicture.h"

#include <QPainter>

QImage noSignalPicture(const QImage &lastPicture, QSize fallbackSize, int camera)
{
    QImage picture;
    if (lastPicture.isNull()) {
        picture = QImage(fallbackSize.isValid() ? fallbackSize : QSize(640, 480), QImage::Format_RGB32);
        picture.fill(Qt::black);
    } else {
        picture = lastPicture.convertToFormat(QImage::Format_RGB32);
    }
    QPainter painter(&picture);
    painter.fillRect(picture.rect(), QColor(0, 0, 0, 160));
    QFont font = painter.font();
    font.setPixelSize(std::max(12, picture.height() / 10));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(255, 80, 80));
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("摄像头%1 无信号").arg(camera));
    return picture;
}

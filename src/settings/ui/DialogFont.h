#pragma once

#include <QFont>

// The Chinese face of every window of the program, at a pixel size.
inline QFont dialogFont(int pixelSize = 12, bool bold = false)
{
    QFont face(QStringLiteral("WenQuanYi Zen Hei"));
    face.setPixelSize(pixelSize);
    face.setBold(bold);
    return face;
}

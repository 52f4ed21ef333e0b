#pragma once

#include <QImage>
#include <QList>
#include <QPair>
#include <QString>
#include <QtGlobal>

// One capture format a device offers, with the largest picture it gives in it.
struct VideoFormat
{
    QString name;
    int maxWidth = 0;
    int maxHeight = 0;
};

// A decoded picture as it leaves a capture thread.
struct CapturedFrame
{
    QImage image;              // Format_RGB32, at the session's capture size
    qint64 capturedAtNs = 0;   // steady clock, when the frame was decoded
    quint64 sequence = 0;      // 1 for a session's first frame, then counting up
};

// One adjustable setting of a device (brightness, auto exposure, ...).
struct DeviceControl
{
    enum class Kind { Integer, Boolean, Menu };

    quint32 id = 0;
    QString name;
    Kind kind = Kind::Integer;
    int minimum = 0;
    int maximum = 0;
    int step = 1;
    int defaultValue = 0;
    int value = 0;
    QList<QPair<int, QString>> menuItems;   // value and label, menus only
};

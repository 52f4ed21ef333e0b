#pragma once

#include <QImage>
#include <QSize>

// What a lost camera shows instead of its pictures: its last picture dimmed
// (black when it never sent one) with "摄像头N 无信号" across the middle.
QImage noSignalPicture(const QImage &lastPicture, QSize fallbackSize, int camera);

#include "monitor/ui/ImageView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

ImageView::ImageView(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    setMinimumSize(1, 1);
}

void ImageView::setPicture(const QImage &picture, qint64 capturedAtNs)
{
    picture_ = picture;
    pictureCapturedAtNs_ = capturedAtNs;
    pictureIsNew_ = true;
    update();
}

void ImageView::blank()
{
    if (!picture_.isNull()) {
        picture_ = QImage(picture_.size(), QImage::Format_RGB32);
        picture_.fill(palette().color(QPalette::Window));
    }
    pictureIsNew_ = false;
    update();
}

void ImageView::setZoomPercent(int percent)
{
    percent = std::clamp(percent, minZoomPercent, maxZoomPercent);
    if (percent == zoomPercent_)
        return;
    zoomPercent_ = percent;
    update();
}

void ImageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (picture_.isNull())
        return;
    const QSizeF shown = QSizeF(picture_.size()) * (zoomPercent_ / 100.0);
    const QRectF target((width() - shown.width()) / 2.0, (height() - shown.height()) / 2.0,
                        shown.width(), shown.height());
    if (zoomPercent_ != 100)
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture_);
    if (pictureIsNew_) {
        pictureIsNew_ = false;
        ++paintedFrames_;
        emit picturePainted(pictureCapturedAtNs_);
    }
}

void ImageView::mousePressEvent(QMouseEvent *event)
{
    QWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

void ImageView::wheelEvent(QWheelEvent *event)
{
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    // One notch (120) zooms by 10 %, as the enlarged view's slider ticks do.
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0)
        setZoomPercent(zoomPercent_ + notches * 10);
    event->accept();
}

#pragma once

#include <QImage>
#include <QWidget>

// A picture view: paints its picture centred at a zoom in percent, with no scroll
// bars and no automatic fit. A click gives it the keyboard focus, and while it has
// the focus the mouse wheel zooms it. Used for the capture views, the display panes
// and the enlarged view.
class ImageView : public QWidget
{
    Q_OBJECT
public:
    explicit ImageView(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    const QImage &picture() const { return picture_; }

    // Fill the picture with the view's background colour, keeping its size.
    void blank();

    int zoomPercent() const { return zoomPercent_; }
    void setZoomPercent(int percent);

    // Frames painted since creation; lets the benchmark count what reached the screen.
    quint64 paintedFrames() const { return paintedFrames_; }
    qint64 lastPictureStampNs() const { return lastPictureStampNs_; }
    void setPictureStampNs(qint64 ns) { lastPictureStampNs_ = ns; }

    static constexpr int minZoomPercent = 1;
    static constexpr int maxZoomPercent = 300;

signals:
    void clicked();
    void zoomChanged(int percent);
    // Emitted after a paint that showed a new picture, with its capture stamp.
    void picturePainted(qint64 pictureStampNs);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    QImage picture_;
    int zoomPercent_ = 100;
    bool pictureIsNew_ = false;
    quint64 paintedFrames_ = 0;
    qint64 lastPictureStampNs_ = 0;
};

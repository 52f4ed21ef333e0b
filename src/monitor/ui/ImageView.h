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

    // capturedAtNs, when known, is handed on with picturePainted.
    void setPicture(const QImage &picture, qint64 capturedAtNs = 0);
    const QImage &picture() const { return picture_; }

    // Fill the picture with the view's background colour, keeping its size.
    void blank();

    int zoomPercent() const { return zoomPercent_; }
    void setZoomPercent(int percent);

    // Pictures painted since creation; lets the benchmark count what reached the screen.
    quint64 paintedFrames() const { return paintedFrames_; }

    static constexpr int minZoomPercent = 1;
    static constexpr int maxZoomPercent = 300;

signals:
    void clicked();
    // Emitted after a paint that showed a new picture, with its capture time.
    void picturePainted(qint64 capturedAtNs);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    QImage picture_;
    int zoomPercent_ = 100;
    bool pictureIsNew_ = false;
    quint64 paintedFrames_ = 0;
    qint64 pictureCapturedAtNs_ = 0;
};

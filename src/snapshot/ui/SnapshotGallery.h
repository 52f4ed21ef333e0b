#pragma once

#include <QImage>
#include <QListWidget>

class SnapshotController;

// The snapshot gallery `ImageEnMView1`: one column of thumbnails without captions,
// the newest last, black borders and a 3-pixel red frame round the selected one.
// It shows the controller's pictures and reports a double click; emptying the
// gallery is the controller's business.
class SnapshotGallery : public QListWidget
{
    Q_OBJECT
public:
    explicit SnapshotGallery(QWidget *parent = nullptr);

    // Shows the controller's gallery now and follows its changes.
    void showGalleryOf(const SnapshotController &controller);

    void appendPicture(const QImage &picture);

    static constexpr int selectedFramePx = 3;
    static constexpr int borderPx = 1;

signals:
    // A double click anywhere on the gallery (ImageEnMView1DblClick).
    void galleryDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

#pragma once

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class Clock;
class DesktopOpener;
class FrameSlots;

// Snapshots: "抓拍" saves the picture of the selected pane's camera as a
// BMP file in the snapshot folder and appends a copy to the gallery; the gallery
// lives in memory only. No widgets here: the gallery view follows the signals.
class SnapshotController : public QObject
{
    Q_OBJECT
public:
    // Camera N's latest time-stamped picture; a null QImage before its first frame.
    using PictureSource = std::function<QImage(int camera)>;

    // The main window's frame slots as a picture source (the slots must outlive it).
    static PictureSource pictureSourceOf(const FrameSlots &frameSlots);

    // save folder + "zpjpg/" + YYYYMMDDHHMMSS + ".bmp" (plain concatenation).
    static QString snapshotPath(const QString &saveFolder, const QDateTime &moment);
    // save folder + "zpjpg", no trailing separator.
    static QString snapshotFolder(const QString &saveFolder);

    SnapshotController(PictureSource pictures, const Clock &clock, DesktopOpener &desktop,
                       QObject *parent = nullptr);

    // Take snapshot (BitBtn15Click). A pane code outside the table, or a camera
    // without a picture yet, ends silently with nothing taken: the result is empty.
    // Otherwise the gallery entry is added first, then the file is written; the
    // result is its path. Throws AppError (entry kept, no file left) when the file
    // cannot be written.
    QString takeSnapshot(int selectedPane, const QString &saveFolder);

    // Empty the gallery (ImageEnMView1DblClick); files are not touched.
    void clearGallery();

    // Open the snapshot folder in the desktop's file manager (BitBtn16Click).
    void openSnapshotFolder(const QString &saveFolder);

    // The gallery's pictures in the order taken, the newest last.
    const QList<QImage> &gallery() const { return gallery_; }

signals:
    void snapshotAdded(const QImage &picture);
    void galleryCleared();

private:
    PictureSource pictures_;
    const Clock &clock_;
    DesktopOpener &desktop_;
    QList<QImage> gallery_;
};

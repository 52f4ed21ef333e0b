#include "snapshot/SnapshotController.h"

#include "common/AppError.h"
#include "common/Clock.h"
#include "common/DesktopOpener.h"
#include "common/PaneCodes.h"
#include "common/FrameSlots.h"

#include <QSaveFile>
#include <utility>

namespace {

// Writes the picture as an uncompressed BMP. QSaveFile writes a temporary file in
// the same folder and renames it only when everything was written, so a failure
// never leaves a partial file and a file of the same name is replaced whole.
void writeBitmap(const QImage &picture, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(QStringLiteral("无法创建文件 \"%1\"：%2").arg(path, file.errorString()));
    if (!picture.save(&file, "BMP")) {
        file.cancelWriting();
        throw AppError(QStringLiteral("无法写入文件 \"%1\"：%2").arg(path, file.errorString()));
    }
    if (!file.commit())
        throw AppError(QStringLiteral("无法写入文件 \"%1\"：%2").arg(path, file.errorString()));
}

} // namespace

SnapshotController::PictureSource SnapshotController::pictureSourceOf(const FrameSlots &frameSlots)
{
    return [&frameSlots](int camera) { return frameSlots.slot(camera).current(); };
}

QString SnapshotController::snapshotPath(const QString &saveFolder, const QDateTime &moment)
{
    return saveFolder + QStringLiteral("zpjpg/") + moment.toString(QStringLiteral("yyyyMMddHHmmss"))
         + QStringLiteral(".bmp");
}

QString SnapshotController::snapshotFolder(const QString &saveFolder)
{
    return saveFolder + QStringLiteral("zpjpg");
}

SnapshotController::SnapshotController(PictureSource pictures, const Clock &clock, DesktopOpener &desktop,
                                       QObject *parent)
    : QObject(parent), pictures_(std::move(pictures)), clock_(clock), desktop_(desktop)
{
}

QString SnapshotController::takeSnapshot(int selectedPane, const QString &saveFolder)
{
    const int camera = PaneCodes::cameraOfPane(selectedPane);
    if (camera == 0)
        return {};
    // A camera that has shown no frame yet has nothing to save. Its pane is visibly
    // empty, so, like a missing pane selection, the command ends without a word
    // rather than writing an empty file or adding a blank thumbnail.
    const QImage picture = pictures_(camera);
    if (picture.isNull())
        return {};

    // The slot's pictures are never drawn on after publication, so the shared
    // QImage is the gallery's own copy; any later change would detach it.
    gallery_.append(picture);
    emit snapshotAdded(picture);

    const QString path = snapshotPath(saveFolder, clock_.now());
    writeBitmap(picture, path);
    return path;
}

void SnapshotController::clearGallery()
{
    if (gallery_.isEmpty())
        return;
    gallery_.clear();
    emit galleryCleared();
}

void SnapshotController::openSnapshotFolder(const QString &saveFolder)
{
    desktop_.open(snapshotFolder(saveFolder));
}

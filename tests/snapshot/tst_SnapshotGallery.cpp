#include "snapshot/ui/SnapshotGallery.h"

#include "snapshot/SnapshotController.h"
#include "support/FakeClock.h"
#include "support/FakeDesktopOpener.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QImage plainPicture(const QColor &colour)
{
    QImage picture(320, 240, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

QColor thumbnailColour(const QListWidgetItem *item)
{
    const QPixmap thumbnail = item->data(Qt::DecorationRole).value<QPixmap>();
    return thumbnail.toImage().pixelColor(thumbnail.width() / 2, thumbnail.height() / 2);
}

} // namespace

class tst_SnapshotGallery : public QObject
{
    Q_OBJECT
private slots:
    void looksLikeTheDescribedGallery();
    void showsSnapshotsNewestLastAndEmptiesOnDoubleClick();
};

void tst_SnapshotGallery::looksLikeTheDescribedGallery()
{
    SnapshotGallery gallery;
    QCOMPARE(gallery.toolTip(), QStringLiteral("双击清除所有拍照"));
    QCOMPARE(gallery.viewMode(), QListView::IconMode);
    QCOMPARE(gallery.flow(), QListView::TopToBottom);
    QVERIFY(!gallery.isWrapping());
    gallery.appendPicture(plainPicture(Qt::green));
    QVERIFY(gallery.item(0)->text().isEmpty());
}

void tst_SnapshotGallery::showsSnapshotsNewestLastAndEmptiesOnDoubleClick()
{
    QTemporaryDir sandbox;
    const QString saveFolder = sandbox.path() + '/';
    QDir(saveFolder).mkdir("zpjpg");
    FakeClock clock;
    FakeDesktopOpener desktop;
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    SnapshotController controller([&](int camera) { return plainPicture(colours[camera - 1]); }, clock, desktop);
    controller.takeSnapshot(41, saveFolder); // taken before the gallery is shown

    SnapshotGallery gallery;
    gallery.resize(240, 600);
    gallery.showGalleryOf(controller);
    QObject::connect(&gallery, &SnapshotGallery::galleryDoubleClicked, &controller,
                     &SnapshotController::clearGallery);
    gallery.show();
    QVERIFY(QTest::qWaitForWindowExposed(&gallery));

    controller.takeSnapshot(43, saveFolder);
    controller.takeSnapshot(42, saveFolder);

    QCOMPARE(gallery.count(), 3);
    QCOMPARE(thumbnailColour(gallery.item(0)), QColor(Qt::red));
    QCOMPARE(thumbnailColour(gallery.item(1)), QColor(Qt::blue));
    QCOMPARE(thumbnailColour(gallery.item(2)), QColor(Qt::green));
    // One column: each thumbnail below the one before.
    QCOMPARE(gallery.visualItemRect(gallery.item(1)).left(), gallery.visualItemRect(gallery.item(0)).left());
    QVERIFY(gallery.visualItemRect(gallery.item(1)).top() > gallery.visualItemRect(gallery.item(0)).bottom());

    QSignalSpy doubleClicks(&gallery, &SnapshotGallery::galleryDoubleClicked);
    QTest::mouseDClick(gallery.viewport(), Qt::LeftButton, {}, gallery.visualItemRect(gallery.item(0)).center());

    QCOMPARE(doubleClicks.size(), 1);
    QCOMPARE(gallery.count(), 0);
    QVERIFY(controller.gallery().isEmpty());
}

QTEST_MAIN(tst_SnapshotGallery)
#include "tst_SnapshotGallery.moc"

#include "common/PaneCodes.h"
#include "snapshot/SnapshotController.h"

#include "common/AppError.h"
#include "common/FrameSlots.h"
#include "support/FakeClock.h"
#include "support/FakeDesktopOpener.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <array>

namespace {

const QColor pattern(20, 40, 160);

// Camera N's picture: its own size, a plain pattern and a white mark where the
// frame handler draws the time stamp (top left).
QImage testPicture(int camera)
{
    QImage picture(160 + 10 * camera, 120 + 10 * camera, QImage::Format_RGB32);
    picture.fill(pattern);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            picture.setPixelColor(x, y, Qt::white);
    return picture;
}

// A save folder in a sandbox (with its trailing "/"), four cameras with pictures,
// and a record of which camera's picture was asked for.
struct Snapshots
{
    explicit Snapshots(bool withZpjpg = true)
    {
        saveFolder = sandbox.path() + '/';
        if (withZpjpg)
            QDir(saveFolder).mkdir("zpjpg");
        for (int camera = 1; camera <= 4; ++camera)
            pictures[camera - 1] = testPicture(camera);
    }

    QStringList snapshotFiles() const { return QDir(saveFolder + "zpjpg").entryList(QDir::Files); }
    QStringList saveFolderEntries() const
    {
        return QDir(saveFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir sandbox;
    QString saveFolder;
    FakeClock clock;
    FakeDesktopOpener desktop;
    std::array<QImage, 4> pictures;
    QList<int> camerasAsked;
    SnapshotController controller{[this](int camera) {
                                      camerasAsked << camera;
                                      return pictures.at(camera - 1);
                                  },
                                  clock, desktop};
};

} // namespace

class tst_SnapshotController : public QObject
{
    Q_OBJECT
private slots:
    void paneCodeTakesItsCamera_data();
    void paneCodeTakesItsCamera();
    void fileIsAWindowsBitmapOfThePicture();
    void sameSecondReplacesTheFileButKeepsBothEntries();
    void unwritableFolderKeepsTheEntryAndLeavesNoFile_data();
    void unwritableFolderKeepsTheEntryAndLeavesNoFile();
    void cameraWithoutPictureTakesNothingAndSaysNothing_data();
    void cameraWithoutPictureTakesNothingAndSaysNothing();
    void emptyingTheGalleryTouchesNoFile();
    void openFolderHandsTheSnapshotFolderToTheDesktop();
    void frameSlotsAreAPictureSource();
};

void tst_SnapshotController::paneCodeTakesItsCamera_data()
{
    QTest::addColumn<int>("paneCode");
    QTest::addColumn<int>("camera"); // 0: nothing taken

    QTest::newRow("1 one pane") << 1 << 1;
    QTest::newRow("21 two panes left") << 21 << 1;
    QTest::newRow("22 two panes right") << 22 << 2;
    QTest::newRow("41 four panes top left") << 41 << 1;
    QTest::newRow("42 four panes top right") << 42 << 2;
    QTest::newRow("43 four panes bottom left") << 43 << 3;
    QTest::newRow("44 four panes bottom right") << 44 << 4;
    QTest::newRow("0 no pane selected") << 0 << 0;
    QTest::newRow("2") << 2 << 0;
    QTest::newRow("23") << 23 << 0;
    QTest::newRow("45") << 45 << 0;
    QTest::newRow("-1") << -1 << 0;
}

void tst_SnapshotController::paneCodeTakesItsCamera()
{
    QFETCH(int, paneCode);
    QFETCH(int, camera);
    Snapshots s;

    const QString path = s.controller.takeSnapshot(paneCode, s.saveFolder);

    QCOMPARE(PaneCodes::cameraOfPane(paneCode), camera);
    if (camera == 0) {
        QVERIFY(s.camerasAsked.isEmpty());
        QVERIFY(s.controller.gallery().isEmpty());
        QVERIFY(s.snapshotFiles().isEmpty());
        QVERIFY(path.isEmpty());
        return;
    }
    QCOMPARE(s.camerasAsked, QList<int>{camera});
    QCOMPARE(s.controller.gallery().size(), 1);
    QCOMPARE(s.controller.gallery().first(), s.pictures.at(camera - 1));
    QCOMPARE(s.snapshotFiles(), QStringList{"20240312083005.bmp"});
    QCOMPARE(QImage(path).size(), s.pictures.at(camera - 1).size());
}

void tst_SnapshotController::fileIsAWindowsBitmapOfThePicture()
{
    Snapshots s;
    s.clock.moment = QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5));

    const QString path = s.controller.takeSnapshot(43, s.saveFolder);

    QCOMPARE(path, s.saveFolder + "zpjpg/20250102030405.bmp");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // File header "BM", then an info header of at least 40 bytes, uncompressed (BI_RGB).
    QVERIFY(bytes.size() > 54);
    QCOMPARE(bytes.left(2), QByteArray("BM"));
    QVERIFY(qFromLittleEndian<quint32>(bytes.constData() + 14) >= 40);
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 30), 0u);

    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QCOMPARE(reader.format(), QByteArray("bmp"));
    const QImage back = reader.read();
    QCOMPARE(back.size(), s.pictures.at(2).size());
    QCOMPARE(back.pixelColor(2, 2), QColor(Qt::white)); // the stamp corner
    QCOMPARE(back.pixelColor(back.width() / 2, back.height() / 2), pattern);
}

void tst_SnapshotController::sameSecondReplacesTheFileButKeepsBothEntries()
{
    Snapshots s;

    s.controller.takeSnapshot(21, s.saveFolder);
    const QString path = s.controller.takeSnapshot(22, s.saveFolder);

    QCOMPARE(s.controller.gallery().size(), 2);
    QCOMPARE(s.controller.gallery().last(), s.pictures.at(1)); // newest last
    QCOMPARE(s.snapshotFiles(), QStringList{"20240312083005.bmp"});
    QCOMPARE(QImage(path).size(), s.pictures.at(1).size());
}

void tst_SnapshotController::unwritableFolderKeepsTheEntryAndLeavesNoFile_data()
{
    QTest::addColumn<bool>("zpjpgIsAFile");
    QTest::newRow("no zpjpg folder") << false;
    QTest::newRow("zpjpg is a plain file") << true;
}

void tst_SnapshotController::unwritableFolderKeepsTheEntryAndLeavesNoFile()
{
    QFETCH(bool, zpjpgIsAFile);
    Snapshots s(false);
    if (zpjpgIsAFile) {
        QFile plain(s.saveFolder + "zpjpg");
        QVERIFY(plain.open(QIODevice::WriteOnly));
    }
    const QStringList before = s.saveFolderEntries();
    QSignalSpy added(&s.controller, &SnapshotController::snapshotAdded);

    QString failure;
    try {
        s.controller.takeSnapshot(1, s.saveFolder);
    } catch (const AppError &e) {
        failure = e.text();
    }

    QVERIFY2(failure.contains(s.saveFolder + "zpjpg/20240312083005.bmp"), qPrintable(failure));
    QCOMPARE(s.controller.gallery().size(), 1);
    QCOMPARE(added.size(), 1);
    QCOMPARE(s.saveFolderEntries(), before);
}

void tst_SnapshotController::cameraWithoutPictureTakesNothingAndSaysNothing_data()
{
    QTest::addColumn<bool>("withZpjpg");
    QTest::newRow("snapshot folder present") << true;
    QTest::newRow("snapshot folder missing") << false;
}

// Decision: a camera that has shown no frame (never opened, or pane 44 with fewer
// cameras) has nothing to save; like an unselected pane, the command ends silently.
void tst_SnapshotController::cameraWithoutPictureTakesNothingAndSaysNothing()
{
    QFETCH(bool, withZpjpg);
    Snapshots s(withZpjpg);
    s.pictures[3] = QImage();
    const QStringList before = s.saveFolderEntries();
    QSignalSpy added(&s.controller, &SnapshotController::snapshotAdded);

    QString path = "not called";
    try {
        path = s.controller.takeSnapshot(44, s.saveFolder);
    } catch (const AppError &e) {
        QFAIL(qPrintable(e.text()));
    }

    QVERIFY(path.isEmpty());
    QCOMPARE(s.camerasAsked, QList<int>{4});
    QVERIFY(s.controller.gallery().isEmpty());
    QCOMPARE(added.size(), 0);
    QCOMPARE(s.saveFolderEntries(), before);
    QVERIFY(!withZpjpg || s.snapshotFiles().isEmpty());
}

void tst_SnapshotController::emptyingTheGalleryTouchesNoFile()
{
    Snapshots s;
    s.controller.takeSnapshot(41, s.saveFolder);
    s.clock.moment = s.clock.moment.addSecs(1);
    s.controller.takeSnapshot(42, s.saveFolder);
    QSignalSpy cleared(&s.controller, &SnapshotController::galleryCleared);

    s.controller.clearGallery();

    QVERIFY(s.controller.gallery().isEmpty());
    QCOMPARE(cleared.size(), 1);
    QCOMPARE(s.snapshotFiles(), (QStringList{"20240312083005.bmp", "20240312083006.bmp"}));

    s.controller.clearGallery(); // already empty: nothing happens
    QCOMPARE(cleared.size(), 1);

    s.clock.moment = s.clock.moment.addSecs(1);
    s.controller.takeSnapshot(43, s.saveFolder);
    QCOMPARE(s.controller.gallery(), QList<QImage>{s.pictures.at(2)});
    QCOMPARE(s.snapshotFiles().size(), 3);
}

void tst_SnapshotController::openFolderHandsTheSnapshotFolderToTheDesktop()
{
    Snapshots s(false);

    s.controller.openSnapshotFolder(s.saveFolder);

    QCOMPARE(s.desktop.opened, QStringList{s.saveFolder + "zpjpg"});
    QVERIFY(s.saveFolderEntries().isEmpty());
}

void tst_SnapshotController::frameSlotsAreAPictureSource()
{
    Snapshots s;
    FrameSlots frameSlots;
    frameSlots.slot(3).publish(s.pictures.at(2));
    SnapshotController controller(SnapshotController::pictureSourceOf(frameSlots), s.clock, s.desktop);

    controller.takeSnapshot(43, s.saveFolder);
    QCOMPARE(controller.gallery(), QList<QImage>{s.pictures.at(2)});
    controller.takeSnapshot(44, s.saveFolder); // slot 4 still empty
    QCOMPARE(controller.gallery().size(), 1);
}

QTEST_GUILESS_MAIN(tst_SnapshotController)
#include "tst_SnapshotController.moc"

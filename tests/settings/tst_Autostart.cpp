#include "settings/dialog/Autostart.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

enum class MachineFolder { Writable, Missing, ReadOnly, UnderAFile };

} // namespace

Q_DECLARE_METATYPE(MachineFolder)

class TestAutostart : public QObject
{
    Q_OBJECT

private slots:
    void enableWritesMachineWideElseForTheUser_data();
    void enableWritesMachineWideElseForTheUser();
    void enableFailsWhenNoFolderTakesTheEntry();
    void disableRemovesTheEntryFromBothFolders();
    void execValueQuotesAndEscapesThePath_data();
    void execValueQuotesAndEscapesThePath();
};

void TestAutostart::enableWritesMachineWideElseForTheUser_data()
{
    QTest::addColumn<MachineFolder>("machineFolder");
    QTest::addColumn<bool>("machineWide");

    QTest::newRow("writable") << MachineFolder::Writable << true;
    QTest::newRow("missing, created") << MachineFolder::Missing << true;
    QTest::newRow("read-only") << MachineFolder::ReadOnly << false;
    QTest::newRow("cannot exist") << MachineFolder::UnderAFile << false;
}

void TestAutostart::enableWritesMachineWideElseForTheUser()
{
    QTemporaryDir sandbox;
    QFETCH(MachineFolder, machineFolder);
    QString machine = sandbox.filePath("etc/xdg/autostart");
    switch (machineFolder) {
    case MachineFolder::Writable: QVERIFY(QDir().mkpath(machine)); break;
    case MachineFolder::Missing: break;
    case MachineFolder::ReadOnly:
        QVERIFY(QDir().mkpath(machine));
        QVERIFY(QFile::setPermissions(machine, QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                                   | QFileDevice::ReadOther | QFileDevice::ExeOther));
        break;
    case MachineFolder::UnderAFile: {
        QFile plainFile(sandbox.filePath("etc"));
        QVERIFY(plainFile.open(QIODevice::WriteOnly));
        break;
    }
    }
    const QString user = sandbox.filePath("home/.config/autostart");
    Autostart autostart({machine, user}, "/opt/kamvist/Kamvist");

    QVERIFY(autostart.enable());

    QFETCH(bool, machineWide);
    const QString written = QDir(machineWide ? machine : user).filePath("Kamvist.desktop");
    const QString notWritten = QDir(machineWide ? user : machine).filePath("Kamvist.desktop");
    QCOMPARE(readFile(written), Autostart::desktopEntryText("/opt/kamvist/Kamvist").toUtf8());
    QVERIFY(!QFile::exists(notWritten));
    QVERIFY(readFile(written).contains("\nExec=/opt/kamvist/Kamvist\n"));
    QVERIFY(readFile(written).startsWith("[Desktop Entry]\nType=Application\n"));
    // Other users' sessions read the machine-wide entry.
    QVERIFY(QFileInfo(written).permissions() & QFileDevice::ReadOther);
    QFile::setPermissions(machine, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void TestAutostart::enableFailsWhenNoFolderTakesTheEntry()
{
    QTemporaryDir sandbox;
    QFile plainFile(sandbox.filePath("plain"));
    QVERIFY(plainFile.open(QIODevice::WriteOnly));
    Autostart autostart({sandbox.filePath("plain/machine"), sandbox.filePath("plain/user")}, "/opt/k/Kamvist");

    QVERIFY(!autostart.enable());
}

void TestAutostart::disableRemovesTheEntryFromBothFolders()
{
    QTemporaryDir sandbox;
    const AutostartFolders folders{sandbox.filePath("machine"), sandbox.filePath("user")};
    for (const QString &folder : {folders.machineWide, folders.user}) {
        QVERIFY(QDir().mkpath(folder));
        QFile entry(QDir(folder).filePath("Kamvist.desktop"));
        QVERIFY(entry.open(QIODevice::WriteOnly));
    }
    QFile neighbour(QDir(folders.user).filePath("other.desktop"));
    QVERIFY(neighbour.open(QIODevice::WriteOnly));
    Autostart autostart(folders, "/opt/k/Kamvist");

    QVERIFY(autostart.disable());

    QVERIFY(!QFile::exists(QDir(folders.machineWide).filePath("Kamvist.desktop")));
    QVERIFY(!QFile::exists(QDir(folders.user).filePath("Kamvist.desktop")));
    QVERIFY(neighbour.exists());
    // Nothing left to remove is no failure.
    QVERIFY(autostart.disable());
}

void TestAutostart::execValueQuotesAndEscapesThePath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("exec");

    QTest::newRow("plain") << "/opt/kamvist/Kamvist" << "/opt/kamvist/Kamvist";
    QTest::newRow("space") << "/opt/my cams/Kamvist" << "\"/opt/my cams/Kamvist\"";
    QTest::newRow("dollar") << "/opt/a$b/Kamvist" << "\"/opt/a\\\\$b/Kamvist\"";
    QTest::newRow("double quote") << "/opt/a\"b/Kamvist" << "\"/opt/a\\\\\"b/Kamvist\"";
    QTest::newRow("backslash") << "/opt/a\\b/Kamvist" << "\"/opt/a\\\\\\\\b/Kamvist\"";
    QTest::newRow("percent") << "/opt/100%/Kamvist" << "/opt/100%%/Kamvist";
    QTest::newRow("Chinese") << "/opt/监控/Kamvist" << "/opt/监控/Kamvist";
}

void TestAutostart::execValueQuotesAndEscapesThePath()
{
    QFETCH(QString, path);
    QTEST(Autostart::execValue(path), "exec");
}

QTEST_GUILESS_MAIN(TestAutostart)
#include "tst_Autostart.moc"

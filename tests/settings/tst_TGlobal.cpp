#include "common/AppError.h"
#include "settings/TGlobal.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The keys in the order the settings file holds them.
const QStringList keyOrder = {
    "server_name", "strdrive", "strw1", "strh1", "strkjqy", "strjrjk", "strzxh", "strqpxs",
    "stremail", "strtell", "strqvklj", "strqyemail", "strgs", "strfbl", "strysbl", "strjrmm",
    "strsfbj", "strsfbcsp", "strjp", "strstsl", "strbcpathz", "strqxd", "strdelz", "strqyjkz"};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

// True when every line occurs in text, each after the one before it.
bool containsInOrder(const QByteArray &text, const QList<QByteArray> &lines)
{
    qsizetype from = 0;
    for (const QByteArray &line : lines) {
        const qsizetype at = text.indexOf(line, from);
        if (at < 0)
            return false;
        from = at + line.size();
    }
    return true;
}

// Passes reads and writes to the disk but refuses one chosen write, the way
// a disk that fills up in the middle of a save would.
class RefusingStorage final : public IniStorage
{
public:
    explicit RefusingStorage(int refusedWriteNumber) : writesLeft_(refusedWriteNumber - 1) {}

    std::optional<QByteArray> readAll(const QString &path) const override
    {
        return disk_.readAll(path);
    }

    void writeAll(const QString &path, const QByteArray &bytes) override
    {
        if (writesLeft_-- == 0)
            throw AppError("Unable to write to " + path);
        disk_.writeAll(path, bytes);
    }

private:
    DiskIniStorage disk_;
    int writesLeft_;
};

enum class Refusal { PathIsFolder, PathInsideFile, ReadOnlyFile, ReadOnlyFolder };

} // namespace

Q_DECLARE_METATYPE(Refusal)

class TestTGlobal : public QObject
{
    Q_OBJECT

private slots:
    void firstRunGivesDefaultsAndSaveWritesAllKeys();
    void lowercaseSectionIsReadAndUpdatedInPlace();
    void handSetValuesSurviveARun();
    void foreignContentSurvivesASave();
    void badInputIsReadAsFarAsPossible_data();
    void badInputIsReadAsFarAsPossible();
    void refusedWriteNamesTheFile_data();
    void refusedWriteNamesTheFile();
    void saveStopsAtTheRefusedKey();
    void saveKeepsPermissionsAndLinks();
    void iniFileNameFor_data();
    void iniFileNameFor();
    void defaultFileLiesBesideTheExecutable();

private:
    QTemporaryDir sandbox_;
};

void TestTGlobal::firstRunGivesDefaultsAndSaveWritesAllKeys()
{
    const QString path = sandbox_.filePath("first/Kamvist.ini");
    QVERIFY(QDir().mkpath(sandbox_.filePath("first")));

    TGlobal settings(path);
    QCOMPARE(settings.IniFileName, path);
    QCOMPARE(settings.server_name, QString("127.0.0.1"));
    QCOMPARE(settings.strstsl, QString("1"));
    QCOMPARE(settings.strbcpathz, QString());
    QVERIFY2(!QFile::exists(path), "loading must not create the file");

    settings.SaveSettings();
    const QByteArray expected =
        "[Judge]\n"
        "server_name=127.0.0.1\nstrdrive=\nstrw1=640\nstrh1=480\nstrkjqy=0\nstrjrjk=1\n"
        "strzxh=0\nstrqpxs=0\nstremail=\nstrtell=\nstrqvklj=\nstrqyemail=0\nstrgs=msvc\n"
        "strfbl=1\nstrysbl=10\nstrjrmm=\nstrsfbj=0\nstrsfbcsp=1\nstrjp=0\nstrstsl=1\n"
        "strbcpathz=\nstrqxd=1000\nstrdelz=Y\nstrqyjkz=N\n";
    QCOMPARE(readFile(path), expected);

    // The same order as an independent list, so a reordered table shows here too.
    QList<QByteArray> keyLines;
    for (const QString &key : keyOrder)
        keyLines << "\n" + key.toUtf8() + "=";
    QVERIFY(containsInOrder(readFile(path), keyLines));
}

void TestTGlobal::lowercaseSectionIsReadAndUpdatedInPlace()
{
    const QString path = sandbox_.filePath("lower.ini");
    writeFile(path, "[judge]\nstrstsl=3\nforeign=x\n");

    TGlobal settings(path);
    QCOMPARE(settings.strstsl, QString("3"));
    settings.strstsl = "4";
    settings.SaveSettings();

    const QByteArray saved = readFile(path);
    QVERIFY2(saved.startsWith("[judge]\nstrstsl=4\nforeign=x\nserver_name=127.0.0.1\n"), saved);
    QCOMPARE(saved.count('['), 1);
    QCOMPARE(TGlobal(path).strstsl, QString("4"));
}

void TestTGlobal::handSetValuesSurviveARun()
{
    const QString path = sandbox_.filePath("hand.ini");
    writeFile(path, "[Judge]\nstrh1=720\nstrw1=1280\nstrdrive=/media/cams/\n");

    TGlobal settings(path);
    QCOMPARE(settings.strw1, QString("1280"));
    QCOMPARE(settings.strh1, QString("720"));
    QCOMPARE(settings.strdrive, QString("/media/cams/"));
    settings.SaveSettings();

    const QByteArray saved = readFile(path);
    QVERIFY2(saved.startsWith("[Judge]\nstrh1=720\nstrw1=1280\nstrdrive=/media/cams/\n"), saved);
    QCOMPARE(saved.count("strw1="), 1);
    QCOMPARE(saved.count("strh1="), 1);
    QCOMPARE(saved.count("strdrive="), 1);
}

void TestTGlobal::foreignContentSurvivesASave()
{
    const QString path = sandbox_.filePath("foreign.ini");
    writeFile(path,
              "; written by hand\n[Other]\nfoo=bar\n\n[judge]\n# note\nmykey=1\nstrstsl=2\n"
              "\n[Last]\nz=9\n");

    TGlobal settings(path);
    settings.strqxd = "2700";
    settings.SaveSettings();

    const QByteArray saved = readFile(path);
    QVERIFY2(containsInOrder(saved, {"; written by hand\n[Other]\nfoo=bar\n\n[judge]\n# note\n"
                                     "mykey=1\nstrstsl=2\nserver_name=",
                                     "strqxd=2700\n", "strqyjkz=N\n\n[Last]\nz=9\n"}),
             saved);
    QVERIFY(saved.endsWith("[Last]\nz=9\n"));
}

void TestTGlobal::badInputIsReadAsFarAsPossible_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expectedStrstsl");
    QTest::addColumn<QList<QByteArray>>("foreignParts");

    QByteArray garbage;
    for (int i = 0; i < 8192; ++i)
        garbage += char((i * 131 + 7) % 256);
    QTest::newRow("binary garbage") << garbage << "1" << QList<QByteArray>{garbage};

    QTest::newRow("empty file") << QByteArray() << "1" << QList<QByteArray>{};
    QTest::newRow("no section")
        << QByteArray("strstsl=3\nstrqxd=1500\n") << "1"
        << QList<QByteArray>{"strstsl=3\nstrqxd=1500\n"};
    QTest::newRow("duplicate keys")
        << QByteArray("[judge]\nstrstsl=2\nstrstsl=4\n") << "2"
        << QList<QByteArray>{"\nstrstsl=4\n"};

    const QByteArray longLine(1024 * 1024, 'x');
    QTest::newRow("1 MB line")
        << longLine + "\n[judge]\nstrstsl=3\n" << "3" << QList<QByteArray>{longLine + "\n"};
    QTest::newRow("CRLF")
        << QByteArray("[judge]\r\nstrstsl=3\r\n; note\r\n") << "3"
        << QList<QByteArray>{"[judge]\r\n", "; note\r\n", "strqyjkz=N\r\n"};
    QTest::newRow("UTF-8 BOM")
        << QByteArray("\xEF\xBB\xBF[judge]\nstrstsl=3\n") << "3"
        << QList<QByteArray>{"\xEF\xBB\xBF[judge]\n"};
    QTest::newRow("invalid UTF-8")
        << QByteArray("[judge]\n\xC3\x28junk=\xFF\xFE\nstrstsl=2\n") << "2"
        << QList<QByteArray>{"\n\xC3\x28junk=\xFF\xFE\n"};
}

void TestTGlobal::badInputIsReadAsFarAsPossible()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expectedStrstsl);
    QFETCH(QList<QByteArray>, foreignParts);

    const QString path = sandbox_.filePath("bad.ini");
    writeFile(path, content);

    TGlobal settings(path);
    QCOMPARE(settings.strstsl, expectedStrstsl);
    QCOMPARE(settings.strdelz, QString("Y"));
    settings.strqxd = "2000";
    settings.SaveSettings();

    const QByteArray saved = readFile(path);
    QVERIFY(saved.startsWith(content.left(content.indexOf('\n') + 1)));
    QVERIFY(containsInOrder(saved, foreignParts));

    const TGlobal reloaded(path);
    QCOMPARE(reloaded.strqxd, QString("2000"));
    QCOMPARE(reloaded.strstsl, expectedStrstsl);
}

void TestTGlobal::refusedWriteNamesTheFile_data()
{
    QTest::addColumn<Refusal>("refusal");

    QTest::newRow("path is a folder") << Refusal::PathIsFolder;
    QTest::newRow("path inside a file") << Refusal::PathInsideFile;
    QTest::newRow("read-only file") << Refusal::ReadOnlyFile;
    QTest::newRow("read-only folder") << Refusal::ReadOnlyFolder;
}

void TestTGlobal::refusedWriteNamesTheFile()
{
    QFETCH(Refusal, refusal);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray original = "[judge]\nstrstsl=3\n";
    QString path = dir.filePath("Kamvist.ini");
    switch (refusal) {
    case Refusal::PathIsFolder:
        QVERIFY(QDir(dir.path()).mkdir("Kamvist.ini"));
        break;
    case Refusal::PathInsideFile:
        writeFile(dir.filePath("plain"), original);
        path = dir.filePath("plain/Kamvist.ini");
        break;
    case Refusal::ReadOnlyFile:
        writeFile(path, original);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        break;
    case Refusal::ReadOnlyFolder:
        writeFile(path, original);
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        break;
    }
    const QStringList entriesBefore = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

    TGlobal settings(path);
    settings.server_name = "10.0.0.1";
    try {
        settings.SaveSettings();
        QFAIL("the save was not refused");
    } catch (const AppError &error) {
        QCOMPARE(error.text(), "Unable to write to " + path);
    }

    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), entriesBefore);
    if (refusal == Refusal::ReadOnlyFile || refusal == Refusal::ReadOnlyFolder)
        QCOMPARE(readFile(path), original);
    QCOMPARE(settings.server_name, QString("10.0.0.1"));
}

void TestTGlobal::saveStopsAtTheRefusedKey()
{
    const QString path = sandbox_.filePath("refused.ini");
    QByteArray original = "[Judge]\n";
    for (const QString &key : keyOrder)
        original += key.toUtf8() + "=old\n";
    writeFile(path, original);

    const int refusedWrite = 5;
    TGlobal settings(path, std::make_shared<RefusingStorage>(refusedWrite));
    QCOMPARE(settings.server_name, QString("old"));
    QCOMPARE(settings.strqyjkz, QString("old"));
    settings.server_name = settings.strdrive = settings.strw1 = settings.strh1 = "new";
    settings.strkjqy = settings.strjrjk = settings.strqyjkz = "new";
    QVERIFY_THROWS_EXCEPTION(AppError, settings.SaveSettings());

    QByteArray expected = "[Judge]\n";
    for (int i = 0; i < keyOrder.size(); ++i)
        expected += keyOrder[i].toUtf8() + (i < refusedWrite - 1 ? "=new\n" : "=old\n");
    QCOMPARE(readFile(path), expected);
    QCOMPARE(settings.strkjqy, QString("new"));
}

void TestTGlobal::saveKeepsPermissionsAndLinks()
{
    const QString target = sandbox_.filePath("target.ini");
    const QString link = sandbox_.filePath("link.ini");
    writeFile(target, "[judge]\nstrstsl=2\n");
    const QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(target, permissions));
    QVERIFY(QFile::link(target, link));

    TGlobal settings(link);
    QCOMPARE(settings.strstsl, QString("2"));
    settings.strstsl = "3";
    settings.SaveSettings();

    QVERIFY(QFileInfo(link).isSymLink());
    // The "User" flags mirror the owner's for the process that owns the file.
    const QFile::Permissions userFlags = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
    QCOMPARE(QFileInfo(target).permissions() & ~userFlags, permissions);
    QCOMPARE(TGlobal(target).strstsl, QString("3"));
}

void TestTGlobal::iniFileNameFor_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no extension") << "/opt/kamvist/Kamvist" << "/opt/kamvist/Kamvist.ini";
    QTest::newRow(".exe") << "/cams/Kamvist.exe" << "/cams/Kamvist.ini";
    QTest::newRow("long extension") << "/cams/Kamvist.x86_64" << "/cams/Kamvist.ini";
    QTest::newRow("short extension") << "/cams/Kamvist.b" << "/cams/Kamvist.ini";
    QTest::newRow("only the last extension") << "/cams/kam.vist.bin" << "/cams/kam.vist.ini";
    QTest::newRow("dot in the folder only") << "/opt/kam.d/Kamvist" << "/opt/kam.d/Kamvist.ini";
    QTest::newRow("hidden file") << "/cams/.kamvist" << "/cams/.kamvist.ini";
    QTest::newRow("root folder") << "/Kamvist" << "/Kamvist.ini";
    QTest::newRow("Chinese names") << "/录像/监控.exe" << "/录像/监控.ini";
}

void TestTGlobal::iniFileNameFor()
{
    QFETCH(QString, executable);
    QFETCH(QString, expected);
    QCOMPARE(TGlobal::iniFileNameFor(executable), expected);
}

void TestTGlobal::defaultFileLiesBesideTheExecutable()
{
    const TGlobal settings;
    QCOMPARE(settings.IniFileName,
             QCoreApplication::applicationDirPath() + "/settings_tglobal.ini");
}

QTEST_GUILESS_MAIN(TestTGlobal)
#include "tst_TGlobal.moc"

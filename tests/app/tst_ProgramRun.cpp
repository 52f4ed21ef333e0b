// The program as a process: its exit codes, its one-line messages, and the
// settings file it leaves beside itself when it ends.
#include <QProcess>
#include <csignal>
#include <QTemporaryDir>
#include <QtTest>

class ProgramRunTest : public QObject
{
    Q_OBJECT
private slots:
    void signalEndsTheRunAndSavesSettings_data();
    void signalEndsTheRunAndSavesSettings();
    void refusedSettingsWriteIsReportedAndExitIsNormal();
    void badOptionsExitWithCodeTwo_data();
    void badOptionsExitWithCodeTwo();
    void noDisplaySaysSoInOneLine();

private:
    // The program copied into a sandbox, so its settings file lands there.
    QString installCopy(const QTemporaryDir &sandbox) const;
    static QProcessEnvironment offscreen();
};

QString ProgramRunTest::installCopy(const QTemporaryDir &sandbox) const
{
    const QString copy = sandbox.filePath("Kamvist");
    if (!QFile::copy(KAMVIST_BINARY, copy))
        return {};
    return copy;
}

QProcessEnvironment ProgramRunTest::offscreen()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    return env;
}

void ProgramRunTest::signalEndsTheRunAndSavesSettings_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void ProgramRunTest::signalEndsTheRunAndSavesSettings()
{
    QFETCH(int, signalNumber);
    QTemporaryDir sandbox;
    const QString program = installCopy(sandbox);
    QVERIFY(!program.isEmpty());
    // A hand-set value of a key the program does not use survives the run.
    QFile ini(sandbox.filePath("Kamvist.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[judge]\nstrw1=1024\n[Other]\nkeep=me\n");
    ini.close();

    QProcess process;
    process.setProcessEnvironment(offscreen());
    process.start(program, {});
    QVERIFY(process.waitForStarted());
    QTest::qWait(1500);
    ::kill(pid_t(process.processId()), signalNumber);
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);

    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(ini.readAll()).split('\n', Qt::SkipEmptyParts);
    const QStringList keys = {"server_name", "strdrive", "strw1", "strh1", "strkjqy", "strjrjk", "strzxh",
                              "strqpxs", "stremail", "strtell", "strqvklj", "strqyemail", "strgs", "strfbl",
                              "strysbl", "strjrmm", "strsfbj", "strsfbcsp", "strjp", "strstsl", "strbcpathz",
                              "strqxd", "strdelz", "strqyjkz"};
    QStringList written;
    for (const QString &line : lines) {
        if (line.contains('=') && !line.startsWith("keep"))
            written << line.section('=', 0, 0);
    }
    // Keys already in the file keep their place; the others are appended in table order.
    QStringList expected = keys;
    expected.removeOne("strw1");
    expected.prepend("strw1");
    QCOMPARE(written, expected);
    QVERIFY(lines.contains("strw1=1024"));
    QVERIFY(lines.contains("strqxd=1000"));
    QVERIFY(lines.contains("strbcpathz=" + QDir(sandbox.path()).absolutePath() + "/"));
    QVERIFY(lines.contains("[Other]") && lines.contains("keep=me"));
}

void ProgramRunTest::refusedSettingsWriteIsReportedAndExitIsNormal()
{
    QTemporaryDir sandbox;
    const QString program = installCopy(sandbox);
    QVERIFY(!program.isEmpty());
    // A folder where the settings file should be: every write is refused.
    QVERIFY(QDir(sandbox.path()).mkdir("Kamvist.ini"));

    QProcess process;
    process.setProcessEnvironment(offscreen());
    process.start(program, {});
    QVERIFY(process.waitForStarted());
    QTest::qWait(1000);
    process.terminate();
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitCode(), 0);
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
    QVERIFY2(errors.contains("Unable to write to " + sandbox.filePath("Kamvist.ini")), qPrintable(errors));
}

void ProgramRunTest::badOptionsExitWithCodeTwo_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown option") << QStringList{"--bogus"};
    QTest::newRow("too many cameras") << QStringList{"--virtual-cameras", "9"};
}

void ProgramRunTest::badOptionsExitWithCodeTwo()
{
    QFETCH(QStringList, arguments);
    QProcess process;
    process.setProcessEnvironment(offscreen());
    process.start(KAMVIST_BINARY, arguments);
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitCode(), 2);
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    QVERIFY2(!errors.isEmpty() && !errors.contains('\n'), qPrintable(errors));
}

void ProgramRunTest::noDisplaySaysSoInOneLine()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(variable);
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(KAMVIST_BINARY, {});
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitCode(), 1);
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    QVERIFY2(errors.contains("xvfb-run") && !errors.contains('\n'), qPrintable(errors));

    process.start(KAMVIST_BINARY, {"--help"});
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(process.readAllStandardOutput().contains("--virtual-cameras"));
}

QTEST_GUILESS_MAIN(ProgramRunTest)
#include "tst_ProgramRun.moc"

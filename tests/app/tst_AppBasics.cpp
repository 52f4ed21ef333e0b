// Program options and the fixed date and time text.
#include "common/DateText.h"
#include "app/ProgramOptions.h"

#include <QtTest>

class AppBasicsTest : public QObject
{
    Q_OBJECT
private slots:
    void options_data();
    void options();
    void qtOptionsAreLeftToQt();
    void dateTimeText_data();
    void dateTimeText();
    void readingDateText_data();
    void readingDateText();
};

void AppBasicsTest::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("virtualCameras");
    QTest::addColumn<bool>("help");
    QTest::addColumn<bool>("fails");
    QTest::newRow("none") << QStringList{} << 0 << false << false;
    QTest::newRow("four") << QStringList{"--virtual-cameras", "4"} << 4 << false << false;
    QTest::newRow("with =") << QStringList{"--virtual-cameras=2"} << 2 << false << false;
    QTest::newRow("help") << QStringList{"--help"} << 0 << true << false;
    QTest::newRow("zero") << QStringList{"--virtual-cameras", "0"} << 0 << false << true;
    QTest::newRow("five") << QStringList{"--virtual-cameras", "5"} << 0 << false << true;
    QTest::newRow("not a number") << QStringList{"--virtual-cameras", "two"} << 0 << false << true;
    QTest::newRow("missing number") << QStringList{"--virtual-cameras"} << 0 << false << true;
    QTest::newRow("unknown") << QStringList{"--record-all"} << 0 << false << true;
    QTest::newRow("stray word") << QStringList{"cameras"} << 0 << false << true;
}

void AppBasicsTest::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, virtualCameras);
    QFETCH(bool, help);
    QFETCH(bool, fails);
    const ProgramOptions options = ProgramOptions::parse(arguments);
    QCOMPARE(!options.error.isEmpty(), fails);
    QVERIFY(!options.error.contains('\n'));
    if (!fails) {
        QCOMPARE(options.virtualCameras, virtualCameras);
        QCOMPARE(options.showHelp, help);
    }
}

void AppBasicsTest::qtOptionsAreLeftToQt()
{
    const ProgramOptions options = ProgramOptions::parseCommandLine(
        {"-platform", "offscreen", "--virtual-cameras", "3", "-style", "fusion", "-reverse"});
    QVERIFY(options.error.isEmpty());
    QCOMPARE(options.virtualCameras, 3);
    QVERIFY(!ProgramOptions::parseCommandLine({"-platform", "offscreen", "--verbose"}).error.isEmpty());
}

void AppBasicsTest::dateTimeText_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("text");
    QTest::newRow("midnight: the date alone") << QDateTime(QDate(2026, 1, 5), QTime(0, 0, 0)) << "2026-01-05";
    QTest::newRow("one second later") << QDateTime(QDate(2026, 1, 5), QTime(0, 0, 1)) << "2026-01-05 0:00:01";
    QTest::newRow("morning, no leading zero") << QDateTime(QDate(2024, 3, 12), QTime(8, 30, 5)) << "2024-03-12 8:30:05";
    QTest::newRow("evening") << QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59)) << "2024-12-31 23:59:59";
}

void AppBasicsTest::dateTimeText()
{
    QFETCH(QDateTime, moment);
    QFETCH(QString, text);
    QCOMPARE(DateText::fromDateTime(moment), text);
}

void AppBasicsTest::readingDateText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("moment");
    QTest::newRow("date") << "2024-03-12" << QDateTime(QDate(2024, 3, 12), QTime(0, 0));
    QTest::newRow("date and time") << "2024-03-12 8:30:05" << QDateTime(QDate(2024, 3, 12), QTime(8, 30, 5));
    QTest::newRow("not a date") << "12.03.2024" << QDateTime();
    QTest::newRow("no such day") << "2024-02-30" << QDateTime();
    QTest::newRow("bad time") << "2024-03-12 25:00:00" << QDateTime();
    QTest::newRow("empty") << "" << QDateTime();
}

void AppBasicsTest::readingDateText()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, moment);
    QCOMPARE(DateText::toDateTime(text), moment);
}

QTEST_MAIN(AppBasicsTest)
#include "tst_AppBasics.moc"

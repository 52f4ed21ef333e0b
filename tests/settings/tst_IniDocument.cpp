#include "settings/IniDocument.h"

#include <QTest>

namespace {

// A byte array from a literal that holds NUL bytes.
template <std::size_t N>
QByteArray withNulBytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

} // namespace

class TestIniDocument : public QObject
{
    Q_OBJECT

private slots:
    void readsValue_data();
    void readsValue();
    void writesValue_data();
    void writesValue();
    void unchangedTextRoundTrips_data();
    void unchangedTextRoundTrips();
};

void TestIniDocument::readsValue_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QString def = "DEFAULT";
    QTest::newRow("plain") << QByteArray("[Judge]\nstrstsl=2\n") << "judge" << "strstsl" << "2";
    QTest::newRow("section and key in other case")
        << QByteArray("[JUDGE]\nStrStsl=3\n") << "judge" << "strstsl" << "3";
    QTest::newRow("missing file text") << QByteArray() << "judge" << "strstsl" << def;
    QTest::newRow("missing section")
        << QByteArray("[Other]\nstrstsl=3\n") << "judge" << "strstsl" << def;
    QTest::newRow("missing key") << QByteArray("[judge]\nstrqxd=1500\n") << "judge" << "strstsl" << def;
    QTest::newRow("key belongs to the next section")
        << QByteArray("[judge]\n[other]\nstrstsl=4\n") << "judge" << "strstsl" << def;
    QTest::newRow("key before any section is ignored")
        << QByteArray("strstsl=4\n[judge]\n") << "judge" << "strstsl" << def;
    QTest::newRow("first duplicate key wins")
        << QByteArray("[judge]\nstrstsl=2\nSTRSTSL=4\n") << "judge" << "strstsl" << "2";
    QTest::newRow("first duplicate section wins")
        << QByteArray("[judge]\na=1\n[Judge]\nstrstsl=4\n") << "judge" << "strstsl" << def;
    QTest::newRow("blanks around name and value")
        << QByteArray("  [ judge ]  \n  strstsl  =  3  \n") << "judge" << "strstsl" << "3";
    QTest::newRow("empty value is a value") << QByteArray("[judge]\nstrstsl=\n") << "judge" << "strstsl" << "";
    QTest::newRow("value holding '='")
        << QByteArray("[judge]\nstrjrmm=a=b\n") << "judge" << "strjrmm" << "a=b";
    QTest::newRow("commented out key")
        << QByteArray("[judge]\n;strstsl=3\n#strstsl=4\n") << "judge" << "strstsl" << def;
    QTest::newRow("CRLF") << QByteArray("[judge]\r\nstrstsl=3\r\n") << "judge" << "strstsl" << "3";
    QTest::newRow("UTF-8 BOM") << QByteArray("\xEF\xBB\xBF[judge]\nstrstsl=3\n") << "judge" << "strstsl" << "3";
    QTest::newRow("Chinese value")
        << QByteArray("[judge]\nstrbcpathz=/录像/\n") << "judge" << "strbcpathz" << "/录像/";
    QTest::newRow("invalid UTF-8 beside a good key")
        << withNulBytes("[judge]\n\xFF\xFE\x80=\xC0\n\x00\x01\x02\nstrstsl=2\n")
        << "judge" << "strstsl" << "2";
    QTest::newRow("header without closing bracket")
        << QByteArray("[judge\nstrstsl=2\n") << "judge" << "strstsl" << "2";
    QTest::newRow("no line break at the end")
        << QByteArray("[judge]\nstrstsl=2") << "judge" << "strstsl" << "2";
    QTest::newRow("double quotes around the value")
        << QByteArray("[judge]\nstrbcpathz=\"/srv/rec/\"\n") << "judge" << "strbcpathz" << "/srv/rec/";
    QTest::newRow("single quotes around the value")
        << QByteArray("[judge]\nstrbcpathz='/srv/rec/'\n") << "judge" << "strbcpathz" << "/srv/rec/";
    QTest::newRow("blanks kept inside quotes")
        << QByteArray("[judge]\nstrbcpathz = \" /srv/rec/ \" \n") << "judge" << "strbcpathz" << " /srv/rec/ ";
    QTest::newRow("only one pair is stripped")
        << QByteArray("[judge]\nstrjrmm=\"\"x\"\"\n") << "judge" << "strjrmm" << "\"x\"";
    QTest::newRow("unmatched quotes stay")
        << QByteArray("[judge]\nstrjrmm=\"x'\n") << "judge" << "strjrmm" << "\"x'";
    QTest::newRow("one quote alone stays")
        << QByteArray("[judge]\nstrjrmm=\"\n") << "judge" << "strjrmm" << "\"";
    QTest::newRow("empty quoted value") << QByteArray("[judge]\nstrjrmm=\"\"\n") << "judge" << "strjrmm" << "";
}

void TestIniDocument::readsValue()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    QCOMPARE(IniDocument::fromBytes(text).value(section, key, "DEFAULT"), expected);
}

void TestIniDocument::writesValue_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new text starts with [Judge]")
        << QByteArray() << "strstsl" << "2" << QByteArray("[Judge]\nstrstsl=2\n");
    QTest::newRow("updated in place, spelling and neighbours kept")
        << QByteArray("; top\n[judge]\na=1\nSTRSTSL = 1\nb=2\n") << "strstsl" << "4"
        << QByteArray("; top\n[judge]\na=1\nSTRSTSL=4\nb=2\n");
    QTest::newRow("only the first duplicate is updated")
        << QByteArray("[judge]\nstrstsl=1\nstrstsl=9\n") << "strstsl" << "4"
        << QByteArray("[judge]\nstrstsl=4\nstrstsl=9\n");
    QTest::newRow("new key at the end of its section, before the blank lines")
        << QByteArray("[judge]\na=1\n; note\n\n[other]\nx=1\n") << "strstsl" << "2"
        << QByteArray("[judge]\na=1\n; note\nstrstsl=2\n\n[other]\nx=1\n");
    QTest::newRow("new key under an empty last section")
        << QByteArray("[other]\nx=1\n[judge]\n") << "strstsl" << "2"
        << QByteArray("[other]\nx=1\n[judge]\nstrstsl=2\n");
    QTest::newRow("missing section appended after a blank line")
        << QByteArray("[other]\nx=1\n") << "strstsl" << "2"
        << QByteArray("[other]\nx=1\n\n[Judge]\nstrstsl=2\n");
    QTest::newRow("last line without line break")
        << QByteArray("[judge]\na=1") << "strstsl" << "2"
        << QByteArray("[judge]\na=1\nstrstsl=2\n");
    QTest::newRow("CRLF text gets CRLF lines")
        << QByteArray("[judge]\r\nstrstsl=1\r\na=1\r\n") << "strstsl" << "3"
        << QByteArray("[judge]\r\nstrstsl=3\r\na=1\r\n");
    QTest::newRow("CRLF text, new key")
        << QByteArray("[judge]\r\na=1\r\n") << "strstsl" << "3"
        << QByteArray("[judge]\r\na=1\r\nstrstsl=3\r\n");
    QTest::newRow("BOM kept")
        << QByteArray("\xEF\xBB\xBF[judge]\nstrstsl=1\n") << "strstsl" << "2"
        << QByteArray("\xEF\xBB\xBF[judge]\nstrstsl=2\n");
    QTest::newRow("garbage and no section: section appended, garbage kept")
        << QByteArray("\x01\xFF\xFE junk\n\x80\x81=\x82\n") << "strstsl" << "2"
        << QByteArray("\x01\xFF\xFE junk\n\x80\x81=\x82\n\n[Judge]\nstrstsl=2\n");
    QTest::newRow("line breaks in a value cannot add keys")
        << QByteArray("[judge]\nstrbcpathz=/a/\n") << "strbcpathz" << "/x\nstrstsl=4\r\n/"
        << QByteArray("[judge]\nstrbcpathz=/x strstsl=4  /\n");
}

void TestIniDocument::writesValue()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    IniDocument doc = IniDocument::fromBytes(before);
    doc.setValue("Judge", key, value);
    QCOMPARE(doc.toBytes(), after);
    QCOMPARE(IniDocument::fromBytes(doc.toBytes()).value("judge", key, "DEFAULT"),
             QString(value).replace('\r', ' ').replace('\n', ' ').trimmed());
}

void TestIniDocument::unchangedTextRoundTrips_data()
{
    QTest::addColumn<QByteArray>("text");

    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 37 + 11) % 256);
    QTest::newRow("binary garbage") << garbage;
    QTest::newRow("no line break at the end") << QByteArray("[judge]\na=1");
    QTest::newRow("mixed line ends") << QByteArray("[judge]\r\na=1\nb=2\r\n\r\n");
    QTest::newRow("BOM only") << QByteArray("\xEF\xBB\xBF");
    QTest::newRow("1 MB line") << QByteArray(1024 * 1024, 'x') + "\n[judge]\n";
}

void TestIniDocument::unchangedTextRoundTrips()
{
    QFETCH(QByteArray, text);
    QCOMPARE(IniDocument::fromBytes(text).toBytes(), text);
}

QTEST_APPLESS_MAIN(TestIniDocument)
#include "tst_IniDocument.moc"

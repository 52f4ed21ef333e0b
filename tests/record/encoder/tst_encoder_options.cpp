#include "EncoderTestSupport.h"
#include "record/encoder/EncoderOptions.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <QTest>

namespace {

QString rateText(AVRational rate)
{
    return QStringLiteral("%1/%2").arg(rate.num).arg(rate.den);
}

QString sizeText(QSize size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

QString numberText(const std::optional<qint64> &number)
{
    return number ? QString::number(*number) : QStringLiteral("unset");
}

// One parsed value by name, as text, so a table row can name what it checks.
QString outputField(const OutputOptions &options, const QString &field)
{
    if (field == QLatin1String("c:v"))
        return options.videoCodec;
    if (field == QLatin1String("c:a"))
        return options.audioCodec;
    if (field == QLatin1String("f"))
        return options.container;
    if (field == QLatin1String("s"))
        return sizeText(options.frameSize);
    if (field == QLatin1String("r"))
        return rateText(options.frameRate);
    if (field == QLatin1String("pix_fmt"))
        return QString::fromLatin1(av_get_pix_fmt_name(options.pixelFormat));
    if (field == QLatin1String("g"))
        return numberText(options.gopSizeFrames);
    if (field == QLatin1String("b:v"))
        return numberText(options.videoBitRateBps);
    if (field == QLatin1String("maxrate"))
        return numberText(options.maxRateBps);
    if (field == QLatin1String("minrate"))
        return numberText(options.minRateBps);
    if (field == QLatin1String("bufsize"))
        return numberText(options.bufferSizeBits);
    if (field == QLatin1String("packetsize"))
        return numberText(options.packetSizeBytes);
    if (field == QLatin1String("muxrate"))
        return numberText(options.muxRateBps);
    if (field == QLatin1String("frames:v"))
        return numberText(options.frameLimit);
    return QStringLiteral("no field %1").arg(field);
}

} // namespace

class EncoderOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void channelStringsGiveTheDvdRecording_data();
    void channelStringsGiveTheDvdRecording();
    void laterOptionsOverrideEarlierOnes_data();
    void laterOptionsOverrideEarlierOnes();
    void badOptionsFailNamingTheOption_data();
    void badOptionsFailNamingTheOption();
};

void EncoderOptionsTest::channelStringsGiveTheDvdRecording_data()
{
    QTest::addColumn<QString>("frameSize");
    QTest::addColumn<QString>("bitRateKbps");
    QTest::addColumn<QString>("expectedBitRateBps");
    QTest::newRow("channels 1-3") << "640x480" << "1000" << "1000000";
    QTest::newRow("channel 4") << "320x240" << "1000" << "1000000";
    QTest::newRow("highest quality") << "640x480" << "2700" << "2700000";
}

void EncoderOptionsTest::channelStringsGiveTheDvdRecording()
{
    QFETCH(QString, frameSize);
    QFETCH(QString, bitRateKbps);
    QFETCH(QString, expectedBitRateBps);

    InputOptions input;
    QString errorText;
    QVERIFY2(parseInputOptions(channelInputOptions(frameSize), &input, &errorText), qPrintable(errorText));
    QCOMPARE(input.format, QStringLiteral("frameinput"));
    QCOMPARE(input.inputType, QStringLiteral("canvas"));
    QCOMPARE(input.canvasPixelFormat, AV_PIX_FMT_BGR24);
    QCOMPARE(rateText(input.frameRate), QStringLiteral("30/1"));
    QCOMPARE(sizeText(input.frameSize), frameSize);
    QVERIFY(input.realTime);

    OutputOptions output;
    QVERIFY2(parseOutputOptions(channelOutputOptions(bitRateKbps, frameSize), &output, &errorText),
             qPrintable(errorText));
    const QList<QPair<QString, QString>> expected{
        {"c:v", "mpeg2video"}, {"c:a", "ac3"},           {"f", "dvd"},
        {"s", frameSize},      {"r", "30/1"},             {"pix_fmt", "yuv420p"},
        {"g", "15"},           {"b:v", expectedBitRateBps}, {"maxrate", "9000000"},
        {"minrate", "0"},      {"bufsize", "1835008"},    {"packetsize", "2048"},
        {"muxrate", "10080000"}};
    for (const auto &[field, value] : expected)
        QVERIFY2(outputField(output, field) == value,
                 qPrintable(QStringLiteral("%1 is %2, not %3").arg(field, outputField(output, field), value)));
    QCOMPARE(output.frameLimit, std::nullopt);
}

void EncoderOptionsTest::laterOptionsOverrideEarlierOnes_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("target sets the dvd size") << "-target pal-dvd" << "s" << "720x576";
    QTest::newRow("target sets the dvd rate") << "-target pal-dvd" << "r" << "25/1";
    QTest::newRow("target's bit rate by default") << "-target pal-dvd" << "b:v" << "6000000";
    QTest::newRow("target overrides an earlier size") << "-s 640x480 -target pal-dvd" << "s" << "720x576";
    QTest::newRow("later size overrides the target") << "-target pal-dvd -s 320x240" << "s" << "320x240";
    QTest::newRow("target overrides an earlier codec") << "-c:v libx264 -target pal-dvd" << "c:v" << "mpeg2video";
    QTest::newRow("later codec overrides the target") << "-target pal-dvd -c:v libx264" << "c:v" << "libx264";
    QTest::newRow("earlier gop survives the target") << "-g 30 -target pal-dvd" << "g" << "30";
    QTest::newRow("later maxrate survives the target") << "-target pal-dvd -maxrate 5M" << "maxrate" << "5000000";
    QTest::newRow("last bit rate wins") << "-b:v 2000k -b:v 500k" << "b:v" << "500000";
    QTest::newRow("last rate wins") << "-r 25 -r 30/1" << "r" << "30/1";
    QTest::newRow("ntsc target") << "-target ntsc-dvd" << "r" << "30000/1001";
    QTest::newRow("no target, no defaults") << "-c:v mpeg2video" << "muxrate" << "unset";
    QTest::newRow("frame limit") << "-target pal-dvd -frames:v 600" << "frames:v" << "600";
}

void EncoderOptionsTest::laterOptionsOverrideEarlierOnes()
{
    QFETCH(QString, options);
    QFETCH(QString, field);
    QFETCH(QString, expected);
    OutputOptions output;
    QString errorText;
    QVERIFY2(parseOutputOptions(options, &output, &errorText), qPrintable(errorText));
    QCOMPARE(outputField(output, field), expected);
}

void EncoderOptionsTest::badOptionsFailNamingTheOption_data()
{
    QTest::addColumn<bool>("isInput");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QStringList>("namedInError");
    QTest::newRow("unknown output option")
        << false << "-c:v mpeg2video -crf 23 -s 640x480" << QStringList{"-crf"};
    QTest::newRow("unknown input option") << true << "-f frameinput -framerate 30" << QStringList{"-framerate"};
    QTest::newRow("missing value") << false << "-target pal-dvd -s" << QStringList{"-s"};
    QTest::newRow("bad size") << false << "-s 64x" << QStringList{"-s", "64x"};
    QTest::newRow("bad rate") << true << "-f frameinput -r fast" << QStringList{"-r", "fast"};
    QTest::newRow("bad bit rate") << false << "-b:v lots" << QStringList{"-b:v", "lots"};
    QTest::newRow("unsupported target") << false << "-target pal-vcd" << QStringList{"pal-vcd"};
    QTest::newRow("other input format") << true << "-f v4l2 -s 640x480" << QStringList{"v4l2"};
    QTest::newRow("stray word") << false << "-b:v 1000k 2000k" << QStringList{"2000k"};
    QTest::newRow("no input format") << true << "-s 640x480 -re" << QStringList{"-f"};
}

void EncoderOptionsTest::badOptionsFailNamingTheOption()
{
    QFETCH(bool, isInput);
    QFETCH(QString, options);
    QFETCH(QStringList, namedInError);
    QString errorText;
    InputOptions input;
    OutputOptions output;
    const bool parsed = isInput ? parseInputOptions(options, &input, &errorText)
                                : parseOutputOptions(options, &output, &errorText);
    QVERIFY(!parsed);
    for (const QString &name : namedInError)
        QVERIFY2(errorText.contains(name), qPrintable(errorText));
}

QTEST_GUILESS_MAIN(EncoderOptionsTest)
#include "tst_encoder_options.moc"

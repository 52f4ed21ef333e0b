#include "EncoderTestSupport.h"

#include <QColor>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include <atomic>
#include <memory>

QString channelInputOptions(const QString &frameSize, bool realTime)
{
    return QStringLiteral("-f frameinput -input_type canvas -pix_fmt bgr24 -r 30/1 -s ") + frameSize
        + (realTime ? QStringLiteral(" -re") : QString());
}

QString channelOutputOptions(const QString &bitRateKbps, const QString &frameSize)
{
    return QStringLiteral("-c:v libx264 -c:a libmp3lame -b:v ") + bitRateKbps
        + QStringLiteral("k -target pal-dvd -pix_fmt yuv420p -r 30/1 -s ") + frameSize
        + QStringLiteral(" -vsync -1");
}

std::function<QImage()> movingPicture(QSize size)
{
    auto calls = std::make_shared<std::atomic<int>>(0);
    return [size, calls] {
        QImage picture(size, QImage::Format_RGB32);
        const int call = (*calls)++;
        picture.fill(QColor::fromHsv((call * 7) % 360, 200, 200));
        const int barX = (call * 5) % size.width();
        for (int y = 0; y < size.height(); y += 8)
            std::fill_n(reinterpret_cast<QRgb *>(picture.scanLine(y)) + barX,
                        std::min(40, size.width() - barX), qRgb(255, 255, 255));
        return picture;
    };
}

bool startRecording(RecordingEncoder &encoder, const FrameInputAdapter &adapter, const QString &path,
                    const QString &inputOptions, const QString &outputOptions)
{
    encoder.ClearTasks();
    const int taskIndex = encoder.AddTask(adapter.identityText(), inputOptions);
    if (taskIndex < 0) {
        qWarning("AddTask failed: %s", qPrintable(encoder.lastErrorText()));
        return false;
    }
    if (encoder.SetOutput(taskIndex, path, outputOptions) < 0) {
        qWarning("SetOutput failed: %s", qPrintable(encoder.lastErrorText()));
        return false;
    }
    encoder.Start();
    return true;
}

int ProbedVideo::gopLength() const
{
    const qsizetype first = pictureTypes.indexOf(QLatin1Char('I'));
    const qsizetype second = first < 0 ? -1 : pictureTypes.indexOf(QLatin1Char('I'), first + 1);
    return second < 0 ? 0 : int(second - first);
}

bool runTool(const QString &program, const QStringList &arguments, QString *errorOutput,
             int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForFinished(timeoutMs);
    if (errorOutput)
        *errorOutput = QString::fromLocal8Bit(process.readAllStandardError());
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

ProbedVideo probeVideo(const QString &path)
{
    ProbedVideo probed;
    QProcess streams;
    streams.start(QStringLiteral("ffprobe"),
                  {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_format"),
                   QStringLiteral("-show_streams"), QStringLiteral("-of"), QStringLiteral("json"), path});
    streams.waitForFinished(60000);
    probed.errors = QString::fromLocal8Bit(streams.readAllStandardError());
    const QJsonObject root = QJsonDocument::fromJson(streams.readAllStandardOutput()).object();
    const QJsonObject format = root.value(QStringLiteral("format")).toObject();
    probed.formatName = format.value(QStringLiteral("format_name")).toString();
    probed.durationSec = format.value(QStringLiteral("duration")).toString().toDouble();
    probed.bitRateBps = format.value(QStringLiteral("bit_rate")).toString().toLongLong();
    for (const QJsonValue &value : root.value(QStringLiteral("streams")).toArray()) {
        const QJsonObject stream = value.toObject();
        const QString type = stream.value(QStringLiteral("codec_type")).toString();
        if (type == QLatin1String("audio"))
            ++probed.audioStreams;
        if (type != QLatin1String("video"))
            continue;
        ++probed.videoStreams;
        probed.codecName = stream.value(QStringLiteral("codec_name")).toString();
        probed.width = stream.value(QStringLiteral("width")).toInt();
        probed.height = stream.value(QStringLiteral("height")).toInt();
        probed.frameRate = stream.value(QStringLiteral("r_frame_rate")).toString();
        probed.pixelFormat = stream.value(QStringLiteral("pix_fmt")).toString();
    }

    QProcess frames;
    frames.start(QStringLiteral("ffprobe"),
                 {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
                  QStringLiteral("v:0"), QStringLiteral("-show_entries"),
                  QStringLiteral("frame=pict_type"), QStringLiteral("-of"), QStringLiteral("csv=p=0"),
                  path});
    frames.waitForFinished(60000);
    probed.errors += QString::fromLocal8Bit(frames.readAllStandardError());
    const QString types = QString::fromLatin1(frames.readAllStandardOutput());
    for (const QString &line : types.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        probed.pictureTypes += line.trimmed().left(1);
    return probed;
}

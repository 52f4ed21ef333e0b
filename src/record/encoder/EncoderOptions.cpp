#include "record/encoder/EncoderOptions.h"

extern "C" {
#include <libavutil/eval.h>
#include <libavutil/parseutils.h>
#include <libavutil/pixdesc.h>
}

#include <QRegularExpression>

#include <cmath>

namespace {

QString invalidValue(const QString &option, const QString &value)
{
    return QStringLiteral("Invalid value \"%1\" for option %2").arg(value, option);
}

bool readRate(const QString &option, const QString &value, AVRational *rate, QString *errorText)
{
    AVRational parsed{0, 1};
    if (av_parse_video_rate(&parsed, value.toUtf8().constData()) < 0 || parsed.num <= 0) {
        *errorText = invalidValue(option, value);
        return false;
    }
    *rate = parsed;
    return true;
}

bool readSize(const QString &option, const QString &value, QSize *size, QString *errorText)
{
    int width = 0;
    int height = 0;
    if (av_parse_video_size(&width, &height, value.toUtf8().constData()) < 0) {
        *errorText = invalidValue(option, value);
        return false;
    }
    *size = QSize(width, height);
    return true;
}

bool readPixelFormat(const QString &option, const QString &value, AVPixelFormat *format,
                     QString *errorText)
{
    const AVPixelFormat parsed = av_get_pix_fmt(value.toUtf8().constData());
    if (parsed == AV_PIX_FMT_NONE) {
        *errorText = invalidValue(option, value);
        return false;
    }
    *format = parsed;
    return true;
}

// Whole numbers with the tool's SI suffixes: "1000k", "9000000", "1.5M".
bool readInteger(const QString &option, const QString &value, std::optional<qint64> *number,
                 QString *errorText)
{
    const QByteArray text = value.toUtf8();
    char *tail = nullptr;
    const double parsed = av_strtod(text.constData(), &tail);
    if (text.isEmpty() || tail == nullptr || *tail != '\0' || !std::isfinite(parsed)
        || parsed < 0 || parsed > 9.0e18) {
        *errorText = invalidValue(option, value);
        return false;
    }
    *number = static_cast<qint64>(std::llround(parsed));
    return true;
}

bool readSeconds(const QString &option, const QString &value, std::optional<double> *seconds,
                 QString *errorText)
{
    bool ok = false;
    const double parsed = value.toDouble(&ok);
    if (!ok || !std::isfinite(parsed) || parsed <= 0) {
        *errorText = invalidValue(option, value);
        return false;
    }
    *seconds = parsed;
    return true;
}

// The DVD targets the tool knows, by norm.
struct DvdTarget
{
    QSize frameSize;
    AVRational frameRate;
    qint64 gopSizeFrames;
};

std::optional<DvdTarget> dvdTargetNamed(const QString &name)
{
    if (name == QLatin1String("pal-dvd"))
        return DvdTarget{QSize(720, 576), AVRational{25, 1}, 15};
    if (name == QLatin1String("ntsc-dvd"))
        return DvdTarget{QSize(720, 480), AVRational{30000, 1001}, 18};
    if (name == QLatin1String("film-dvd"))
        return DvdTarget{QSize(720, 480), AVRational{24000, 1001}, 18};
    return std::nullopt;
}

// Values a DVD target fills in only where the line does not give them itself.
void fillDvdDefaults(const DvdTarget &target, OutputOptions *options)
{
    const auto fill = [](std::optional<qint64> &field, qint64 value) {
        if (!field)
            field = value;
    };
    fill(options->gopSizeFrames, target.gopSizeFrames);
    fill(options->videoBitRateBps, 6000000);
    fill(options->maxRateBps, 9000000);
    fill(options->minRateBps, 0);
    fill(options->bufferSizeBits, 1835008);
    fill(options->packetSizeBytes, 2048);
    fill(options->muxRateBps, 10080000);
    fill(options->audioBitRateBps, 448000);
}

int videoSyncMethodNamed(const QString &value)
{
    static const QStringList names{QStringLiteral("passthrough"), QStringLiteral("cfr"),
                                   QStringLiteral("vfr"), QStringLiteral("drop")};
    if (value == QLatin1String("auto") || value == QLatin1String("-1"))
        return -1;
    bool isNumber = false;
    const int number = value.toInt(&isNumber);
    if (isNumber)
        return number >= 0 && number <= 3 ? number : -2;
    const int index = names.indexOf(value);
    return index >= 0 ? index : -2;
}

// Options and values are blank-separated words; a value is the word after
// its option, even when it starts with '-' ("-vsync -1").
QStringList wordsOf(const QString &text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return text.split(blanks, Qt::SkipEmptyParts);
}

bool takeValue(const QStringList &words, qsizetype *index, QString *value, QString *errorText)
{
    const QString &option = words.at(*index);
    if (*index + 1 >= words.size()) {
        *errorText = QStringLiteral("Option %1 needs a value").arg(option);
        return false;
    }
    *index += 1;
    *value = words.at(*index);
    return true;
}

bool isOneOf(const QString &word, std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        if (word == QLatin1String(name))
            return true;
    }
    return false;
}

} // namespace

bool parseInputOptions(const QString &text, InputOptions *options, QString *errorText)
{
    InputOptions parsed;
    const QStringList words = wordsOf(text);
    for (qsizetype index = 0; index < words.size(); ++index) {
        const QString option = words.at(index);
        if (option == QLatin1String("-re")) {
            parsed.realTime = true;
            continue;
        }
        if (!isOneOf(option, {"-f", "-input_type", "-pix_fmt", "-r", "-s"})) {
            *errorText = option.startsWith(QLatin1Char('-'))
                ? QStringLiteral("Unknown input option %1").arg(option)
                : QStringLiteral("Unexpected word \"%1\" in the input options").arg(option);
            return false;
        }
        QString value;
        if (!takeValue(words, &index, &value, errorText))
            return false;
        if (option == QLatin1String("-f")) {
            if (value != QLatin1String("frameinput")) {
                *errorText = QStringLiteral("Unsupported input format \"%1\" for option -f").arg(value);
                return false;
            }
            parsed.format = value;
        } else if (option == QLatin1String("-input_type")) {
            if (value != QLatin1String("canvas")) {
                *errorText = invalidValue(option, value);
                return false;
            }
            parsed.inputType = value;
        } else if (option == QLatin1String("-pix_fmt")) {
            if (!readPixelFormat(option, value, &parsed.canvasPixelFormat, errorText))
                return false;
        } else if (option == QLatin1String("-r")) {
            if (!readRate(option, value, &parsed.frameRate, errorText))
                return false;
        } else if (!readSize(option, value, &parsed.frameSize, errorText)) {
            return false;
        }
    }
    if (parsed.format.isEmpty()) {
        *errorText = QStringLiteral("The input options need -f frameinput");
        return false;
    }
    *options = parsed;
    return true;
}

bool parseOutputOptions(const QString &text, OutputOptions *options, QString *errorText)
{
    OutputOptions parsed;
    std::optional<DvdTarget> target;
    const QStringList words = wordsOf(text);
    for (qsizetype index = 0; index < words.size(); ++index) {
        const QString option = words.at(index);
        if (!option.startsWith(QLatin1Char('-'))) {
            *errorText = QStringLiteral("Unexpected word \"%1\" in the output options").arg(option);
            return false;
        }
        static const std::initializer_list<const char *> knownOptions{
            "-c:v", "-codec:v", "-vcodec", "-c:a", "-codec:a", "-acodec", "-f", "-target",
            "-pix_fmt", "-r", "-s", "-vsync", "-t", "-frames:v", "-vframes", "-b:v", "-g",
            "-g:v", "-maxrate", "-maxrate:v", "-minrate", "-minrate:v", "-bufsize",
            "-bufsize:v", "-packetsize", "-muxrate", "-b:a", "-ar", "-ar:a"};
        if (!isOneOf(option, knownOptions)) {
            *errorText = QStringLiteral("Unknown output option %1").arg(option);
            return false;
        }
        QString value;
        if (!takeValue(words, &index, &value, errorText))
            return false;

        bool ok = true;
        if (isOneOf(option, {"-c:v", "-codec:v", "-vcodec"})) {
            parsed.videoCodec = value;
        } else if (isOneOf(option, {"-c:a", "-codec:a", "-acodec"})) {
            parsed.audioCodec = value;
        } else if (option == QLatin1String("-f")) {
            parsed.container = value;
        } else if (option == QLatin1String("-target")) {
            target = dvdTargetNamed(value);
            if (!target) {
                *errorText = QStringLiteral("Unsupported target \"%1\" for option -target").arg(value);
                return false;
            }
            // Codecs and container as if written here; the picture values
            // can still be overridden by later options.
            parsed.videoCodec = QStringLiteral("mpeg2video");
            parsed.audioCodec = QStringLiteral("ac3");
            parsed.container = QStringLiteral("dvd");
            parsed.frameSize = target->frameSize;
            parsed.frameRate = target->frameRate;
            parsed.pixelFormat = AV_PIX_FMT_YUV420P;
            parsed.audioSampleRateHz = 48000;
        } else if (option == QLatin1String("-pix_fmt")) {
            ok = readPixelFormat(option, value, &parsed.pixelFormat, errorText);
        } else if (option == QLatin1String("-r")) {
            ok = readRate(option, value, &parsed.frameRate, errorText);
        } else if (option == QLatin1String("-s")) {
            ok = readSize(option, value, &parsed.frameSize, errorText);
        } else if (option == QLatin1String("-vsync")) {
            parsed.videoSyncMethod = videoSyncMethodNamed(value);
            if (parsed.videoSyncMethod < -1) {
                *errorText = invalidValue(option, value);
                ok = false;
            }
        } else if (option == QLatin1String("-t")) {
            ok = readSeconds(option, value, &parsed.durationLimitSec, errorText);
        } else if (isOneOf(option, {"-frames:v", "-vframes"})) {
            ok = readInteger(option, value, &parsed.frameLimit, errorText);
        } else if (option == QLatin1String("-b:v")) {
            ok = readInteger(option, value, &parsed.videoBitRateBps, errorText);
        } else if (isOneOf(option, {"-g", "-g:v"})) {
            ok = readInteger(option, value, &parsed.gopSizeFrames, errorText);
        } else if (isOneOf(option, {"-maxrate", "-maxrate:v"})) {
            ok = readInteger(option, value, &parsed.maxRateBps, errorText);
        } else if (isOneOf(option, {"-minrate", "-minrate:v"})) {
            ok = readInteger(option, value, &parsed.minRateBps, errorText);
        } else if (isOneOf(option, {"-bufsize", "-bufsize:v"})) {
            ok = readInteger(option, value, &parsed.bufferSizeBits, errorText);
        } else if (option == QLatin1String("-packetsize")) {
            ok = readInteger(option, value, &parsed.packetSizeBytes, errorText);
        } else if (option == QLatin1String("-muxrate")) {
            ok = readInteger(option, value, &parsed.muxRateBps, errorText);
        } else if (option == QLatin1String("-b:a")) {
            ok = readInteger(option, value, &parsed.audioBitRateBps, errorText);
        } else {
            ok = readInteger(option, value, &parsed.audioSampleRateHz, errorText);
        }
        if (!ok)
            return false;
    }
    if (target)
        fillDvdDefaults(*target, &parsed);
    *options = parsed;
    return true;
}

// Records a moving picture at 640x480 in real time into the file named by
// its argument until it is killed. Prints "recording" once started and then
// the frame number of every progress notice, one per line.

#include "EncoderTestSupport.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: encoder_record_helper <output file>\n");
        return 2;
    }
    QString errorText;
    if (!RecordingEncoder::loadLibraries(QStringLiteral("LibAV"), &errorText)) {
        std::fprintf(stderr, "%s\n", qPrintable(errorText));
        return 1;
    }
    const QSize frameSize(640, 480);
    FrameInputAdapter adapter;
    adapter.setFrameSource(movingPicture(frameSize));
    RecordingEncoder encoder;
    QObject::connect(&encoder, &RecordingEncoder::progress, [](const ProgressInfo &info) {
        std::printf("%d\n", info.frameNumber);
        std::fflush(stdout);
    });
    if (!startRecording(encoder, adapter, QString::fromLocal8Bit(argv[1]),
                        channelInputOptions(QStringLiteral("640x480")),
                        channelOutputOptions(QStringLiteral("1000"), QStringLiteral("640x480"))))
        return 1;
    std::printf("recording\n");
    std::fflush(stdout);
    return application.exec();
}

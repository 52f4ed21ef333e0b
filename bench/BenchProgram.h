#pragma once

#include "app/ProgramWindows.h"
#include "catalogue/CatalogueFile.h"
#include "common/Clock.h"
#include "common/DiskSpace.h"
#include "common/Prompter.h"
#include "monitor/capture/SystemCaptureBackend.h"
#include "settings/TGlobal.h"

#include <QProcess>
#include <QTimer>
#include <QString>
#include <cstdio>
#include <memory>

// Message boxes would stop an unattended measurement: print them instead.
class PrintingPrompter final : public Prompter
{
public:
    void message(const QString &text, const QString &, Icon) override
    {
        ++messages;
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool askYesNo(const QString &, const QString &) override { return false; }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return {}; }
    int messages = 0;
};

// The program as it runs, in a folder of the benchmark's that stands in for the
// executable's: an empty catalogue, its own settings file (four cameras, the
// folder as save folder, no reclaim), four virtual cameras and the windows,
// shown, with the device list read. Auto start is kept out of the way.
struct BenchProgram
{
    explicit BenchProgram(const QString &folderWithSlash) : folder(folderWithSlash), settings(folder + "Kamvist.ini")
    {
        createCatalogueFile(folder + "dat/dzxcb.db");
        GlobalSettings = &settings;
        settings.strstsl = "4";
        settings.strbcpathz = folder;
        settings.strdelz = "N";
        services.prompter = &prompter;
        services.clock = &clock;
        services.executableFolder = folder;
        services.captureBackend = &cameras;
        services.diskSpace = &disk;
        program = std::make_unique<ProgramWindows>(services);
        window().Timer1->setInterval(24 * 3600 * 1000);
        window().show();
        window().FormActivate();
    }
    ~BenchProgram()
    {
        program.reset();
        GlobalSettings = nullptr;
    }

    Tfmain &window() { return *program->fmain; }

    QString folder;
    TGlobal settings;
    PrintingPrompter prompter;
    SystemClock clock;
    SystemCaptureBackend cameras{4};
    SystemDiskSpace disk;
    MainWindowServices services;
    std::unique_ptr<ProgramWindows> program;
};

// Frames ffprobe decodes from a recording.
inline int countFrames(const QString &path)
{
    QProcess ffprobe;
    ffprobe.start("ffprobe", {"-v", "error", "-select_streams", "v", "-count_frames", "-show_entries",
                              "stream=nb_read_frames", "-of", "csv=p=0", path});
    ffprobe.waitForFinished(120000);
    // "frames," (a trailing field for side data may follow)
    return ffprobe.readAllStandardOutput().trimmed().split(',').value(0).toInt();
}

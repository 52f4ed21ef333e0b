#pragma once

#include "support/FakeDatePicker.h"
#include "browser/DeletionProgress.h"
#include "browser/RecordingBrowser.h"
#include "catalogue/CatalogueFile.h"
#include "catalogue/Tdbhouse.h"
#include "support/FakeDesktopOpener.h"
#include "support/FakePrompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

// Records the progress calls; asks for a stop after stopAfterRows pairs when set.
class FakeProgress final : public DeletionProgress
{
public:
    void begin(int totalRows) override { begunWith = totalRows; }
    void advance(int doneRows) override { lastDone = doneRows; }
    bool stopRequested() const override { return stopAfterRows >= 0 && lastDone >= stopAfterRows; }
    void end() override { ++ended; }

    int begunWith = -1;
    int lastDone = 0;
    int ended = 0;
    int stopAfterRows = -1;
};

// A catalogue in a sandbox program folder, a save folder "rec/" for the
// recording files, and a browser over fakes. The query bar is `filter`.
struct BrowserFixture
{
    BrowserFixture()
    {
        QVERIFY(createCatalogueFile(Tdbhouse::catalogueFilePath(dir.path())));
        house.openCatalogue(dir.path());
        QVERIFY(house.adoacccon.isOpen());
        saveFolder = dir.path() + QStringLiteral("/rec/");
        QVERIFY(QDir().mkpath(saveFolder));
        RecordingBrowserServices services;
        services.catalogue = &house;
        services.prompter = &prompter;
        services.desktop = &desktop;
        services.datePicker = &picker;
        services.progress = &progress;
        services.readFilter = [this] { return filter; };
        services.liveRecordingFiles = [this] {
            QStringList live;
            for (const QString &path : livePaths)
                live << QFileInfo(path).canonicalFilePath();
            return live;
        };
        browser.emplace(services);
    }

    // A recording as a channel makes it: a file in the save folder and its row.
    QString record(const QString &sj, int camera, bool withFile = true)
    {
        const QDateTime moment = QDateTime::fromString(sj, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const QString name = moment.toString(QStringLiteral("yyyyMMddHHmmss")) + QStringLiteral("_%1.mpg").arg(camera);
        const QString path = saveFolder + name;
        if (withFile)
            writeFile(path);
        house.insertRecording(moment, QDateTime(moment.date(), QTime(0, 0)), name, path, camera);
        return path;
    }

    static void writeFile(const QString &path)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("recording");
    }

    void setFilter(const QString &from, const QString &to, const QString &camera = QStringLiteral("所有"))
    {
        filter = {from, to, camera};
    }

    // The file names the result list holds, in its order.
    QStringList listedNames()
    {
        QStringList names;
        for (int row = 0; row < house.qwjcx.rowCount(); ++row)
            names << house.qwjcx.valueAt(row, QStringLiteral("wjmc")).toString();
        return names;
    }

    // The file names of every catalogue row, oldest first (a separate statement object).
    QStringList catalogueNames()
    {
        CatalogueQuery all(house.adoacccon);
        all.addLine(QStringLiteral("select wjmc from avib order by iid"));
        all.open();
        QStringList names;
        for (all.first(); !all.atEnd(); all.next())
            names << all.textField(QStringLiteral("wjmc"));
        return names;
    }

    QStringList filesInSaveFolder() const
    {
        return QDir(saveFolder).entryList(QDir::Files | QDir::System, QDir::Name);
    }

    QTemporaryDir dir;
    QString saveFolder;
    Tdbhouse house;
    FakePrompter prompter;
    FakeDesktopOpener desktop;
    FakeDatePicker picker;
    FakeProgress progress;
    RecordingFilter filter{QStringLiteral("2024-03-05"), QStringLiteral("2024-03-05"), QStringLiteral("所有")};
    QSet<QString> livePaths;
    std::optional<RecordingBrowser> browser;
};

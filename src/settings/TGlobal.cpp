#include "settings/TGlobal.h"

#include "settings/IniFile.h"
#include "settings/SettingsKeys.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

TGlobal *GlobalSettings = nullptr;

namespace {

// Read from "judge" but written to "Judge": names match without regard to
// case, so both address the same section, and a new file gets "[Judge]".
const QString readSection = QStringLiteral("judge");
const QString writeSection = QStringLiteral("Judge");

} // namespace

TGlobal::TGlobal()
    : TGlobal(iniFileNameFor(QCoreApplication::applicationFilePath()))
{
}

TGlobal::TGlobal(const QString &iniFileName, std::shared_ptr<IniStorage> storage)
    : IniFileName(iniFileName), storage_(std::move(storage))
{
    LoadSettings();
}

QString TGlobal::iniFileNameFor(const QString &executablePath)
{
    const QFileInfo executable(executablePath);
    QString name = executable.fileName();
    // A leading dot marks a hidden file, not an extension.
    const qsizetype lastDot = name.lastIndexOf(u'.');
    if (lastDot > 0)
        name.truncate(lastDot);
    return QDir(executable.path()).filePath(name + QStringLiteral(".ini"));
}

void TGlobal::LoadSettings()
{
    const IniFile ini(IniFileName, storage_);
    for (const SettingsKey &key : settingsKeys())
        this->*key.field = ini.readString(readSection, QString::fromUtf8(key.name),
                                          QString::fromUtf8(key.defaultValue));
}

void TGlobal::SaveSettings()
{
    IniFile ini(IniFileName, storage_);
    for (const SettingsKey &key : settingsKeys())
        ini.writeString(writeSection, QString::fromUtf8(key.name), this->*key.field);
}

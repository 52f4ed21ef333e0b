#include "common/RecordingFileRule.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

bool isRemovableRecordingFile(const QString &path)
{
    static const QRegularExpression scheme(QStringLiteral("[0-9]{14}_[1-4]\\.mpg$"));
    const QFileInfo file(path);
    return file.isAbsolute() && scheme.match(file.fileName()).hasMatch() && !file.isSymLink() && file.isFile();
}

void deleteRecordingFileOfRow(const QString &path, const QStringList &liveFiles)
{
    if (isRemovableRecordingFile(path) && !liveFiles.contains(QFileInfo(path).canonicalFilePath()))
        QFile::remove(path);
}

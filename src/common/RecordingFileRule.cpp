#include "common/RecordingFileRule.h"

#include <QFileInfo>
#include <QRegularExpression>

bool isRemovableRecordingFile(const QString &path)
{
    static const QRegularExpression scheme(QStringLiteral("[0-9]{14}_[1-4]\\.mpg$"));
    const QFileInfo file(path);
    return file.isAbsolute() && scheme.match(file.fileName()).hasMatch() && !file.isSymLink() && file.isFile();
}

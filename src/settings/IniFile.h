#pragma once

#include "settings/IniDocument.h"
#include "settings/IniStorage.h"

#include <QString>
#include <memory>

// One INI file on disk. Reads come from the text as it was when the object
// was made; each write reads the file afresh, changes the one key and writes
// the whole file back, so nothing another writer put there in between is lost.
class IniFile
{
public:
    explicit IniFile(const QString &path,
                     std::shared_ptr<IniStorage> storage = std::make_shared<DiskIniStorage>());

    const QString &path() const { return path_; }

    // The key's value, or defaultValue when the file, section or key is missing
    // or the file cannot be read.
    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue) const;

    // Throws AppError("Unable to write to <path>") when the write is refused,
    // including when the file exists but cannot be read: writing it anyway
    // would throw away whatever else it holds.
    void writeString(const QString &section, const QString &key, const QString &value);

private:
    QString path_;
    std::shared_ptr<IniStorage> storage_;
    IniDocument document_;
};

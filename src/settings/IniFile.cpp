#include "settings/IniFile.h"

#include "common/AppError.h"

IniFile::IniFile(const QString &path, std::shared_ptr<IniStorage> storage)
    : path_(path), storage_(std::move(storage))
{
    if (const std::optional<QByteArray> bytes = storage_->readAll(path_))
        document_ = IniDocument::fromBytes(*bytes);
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    return document_.value(section, key, defaultValue);
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const std::optional<QByteArray> bytes = storage_->readAll(path_);
    if (!bytes)
        throw AppError("Unable to write to " + path_);

    IniDocument updated = IniDocument::fromBytes(*bytes);
    updated.setValue(section, key, value);
    storage_->writeAll(path_, updated.toBytes());
    document_ = std::move(updated);
}

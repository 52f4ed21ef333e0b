#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// The one connection to the recording catalogue file. Opening is silent: a
// failure only leaves the connection closed and remembers why, so that the
// next statement can try again and report the reason if it fails once more.
class CatalogueConnection
{
public:
    CatalogueConnection();
    ~CatalogueConnection();
    CatalogueConnection(const CatalogueConnection &) = delete;
    CatalogueConnection &operator=(const CatalogueConnection &) = delete;

    void setDatabaseFile(const QString &path);
    QString databaseFile() const { return databaseFile_; }

    // Opens the file without ever creating it; false and a kept reason on failure.
    bool open();
    void close();
    bool isOpen() const;

    // Why the last open failed (empty after a successful open).
    QString lastFailure() const { return lastFailure_; }

    // Before a statement: connects again when closed, raises AppError when that fails.
    void ensureOpen();

    QSqlDatabase database() const;
    QString connectionName() const { return connectionName_; }

    // How long a statement waits for another process's lock before failing.
    static constexpr int busyTimeoutMs = 300;

private:
    QString failureFor(const QString &step, const QSqlError &error) const;
    // Empty when the file is a readable SQLite database with table avib.
    QString checkCatalogueTable(const QSqlDatabase &db) const;

    QString connectionName_;
    QString databaseFile_;
    QString lastFailure_;
};

#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariant>

class CatalogueConnection;
class QSqlQuery;

// One statement object of the catalogue: its text as a list of lines, its
// named parameters (":name" in the text) and, once opened, a result set that
// is read completely into memory. Rows deleted through another statement
// object therefore never change a walk that is under way.
class CatalogueQuery : public QObject
{
    Q_OBJECT

public:
    explicit CatalogueQuery(CatalogueConnection &connection, QObject *parent = nullptr);

    // Drops the result set; the text and parameters stay.
    void close();
    // Empties the text and forgets every parameter.
    void clearText();
    void addLine(const QString &fragment);
    QString text() const { return lines_.join(QLatin1Char('\n')); }

    // Date-times go in as text "yyyy-MM-dd HH:mm:ss", so text order is time order.
    void bindDateTime(const QString &name, const QDateTime &value);
    void bindInteger(const QString &name, int value);
    void bindText(const QString &name, const QString &value);

    // Runs a statement without result. Raises AppError on any failure.
    void execute();
    // Runs a query and keeps all of its rows. Raises AppError on any failure.
    void open();
    bool isOpen() const { return isOpen_; }

    void first();
    void next();
    // True past the last row, on an empty result and when closed.
    bool atEnd() const;
    int rowCount() const { return static_cast<int>(rows_.size()); }
    int currentRow() const { return currentRow_; }
    // Moves to a row (0 .. rowCount()-1), e.g. the one selected in a grid;
    // an index out of range is ignored and false returned.
    bool setCurrentRow(int row);

    // Fields of the current row by name; raise AppError without a current
    // row or for an unknown field.
    QString textField(const QString &name) const;
    int integerField(const QString &name) const;

    QStringList fieldNames() const { return fieldNames_; }
    // Drops the current row from the result set only (the caller deletes it
    // from the table); the row after it, or the new last row, becomes current.
    void removeCurrentRow();

    // Any row's field without moving the current row; invalid when absent.
    QVariant valueAt(int row, const QString &name) const;

    static constexpr const char *dateTimeFormat = "yyyy-MM-dd HH:mm:ss";

signals:
    void resultSetAboutToChange();
    void resultSetChanged();
    void currentRowChanged(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);

private:
    // Connects again if needed, prepares, binds and executes the text.
    QSqlQuery run() const;
    QString parameterKey(const QString &name) const;
    void setParameter(const QString &name, const QVariant &value);
    QVariant currentValue(const QString &name) const;
    void replaceResultSet(QStringList fieldNames, QList<QVariantList> rows);
    void moveTo(int row);

    CatalogueConnection &connection_;
    QStringList lines_;
    QList<QPair<QString, QVariant>> parameters_;
    QStringList fieldNames_;
    QList<QVariantList> rows_;
    int currentRow_ = 0;
    bool isOpen_ = false;
};

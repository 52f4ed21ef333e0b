#include "catalogue/CatalogueQuery.h"

#include "common/AppError.h"
#include "catalogue/CatalogueConnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <utility>

namespace {

QString statementFailure(const QSqlError &error)
{
    return QStringLiteral("录像目录语句执行失败：%1").arg(error.text().trimmed());
}

}  // namespace

CatalogueQuery::CatalogueQuery(CatalogueConnection &connection, QObject *parent)
    : QObject(parent), connection_(connection)
{
}

void CatalogueQuery::close()
{
    if (!isOpen_ && rows_.isEmpty())
        return;
    isOpen_ = false;
    replaceResultSet({}, {});
}

void CatalogueQuery::clearText()
{
    lines_.clear();
    parameters_.clear();
}

void CatalogueQuery::addLine(const QString &fragment)
{
    lines_.append(fragment);
}

QString CatalogueQuery::parameterKey(const QString &name) const
{
    return name.startsWith(QLatin1Char(':')) ? name : QLatin1Char(':') + name;
}

void CatalogueQuery::bindDateTime(const QString &name, const QDateTime &value)
{
    // An invalid date would be stored as an empty text and silently match nothing.
    if (!value.isValid())
        throw AppError(QStringLiteral("参数 %1 不是有效的日期时间").arg(parameterKey(name)));
    bindText(name, value.toString(QString::fromLatin1(dateTimeFormat)));
}

void CatalogueQuery::bindInteger(const QString &name, int value)
{
    setParameter(name, value);
}

void CatalogueQuery::bindText(const QString &name, const QString &value)
{
    // A null QString would be stored as SQL NULL; the catalogue keeps texts.
    setParameter(name, value.isNull() ? QString(QLatin1String("")) : value);
}

void CatalogueQuery::setParameter(const QString &name, const QVariant &value)
{
    const QString key = parameterKey(name);
    for (auto &parameter : parameters_) {
        if (parameter.first == key) {
            parameter.second = value;
            return;
        }
    }
    parameters_.append({key, value});
}

QSqlQuery CatalogueQuery::run() const
{
    connection_.ensureOpen();
    QSqlQuery query(connection_.database());
    query.setForwardOnly(true);
    if (!query.prepare(text()))
        throw AppError(statementFailure(query.lastError()));
    for (const auto &[key, value] : std::as_const(parameters_))
        query.bindValue(key, value);
    if (!query.exec())
        throw AppError(statementFailure(query.lastError()));
    return query;
}

void CatalogueQuery::execute()
{
    run();
}

void CatalogueQuery::open()
{
    close();
    QSqlQuery query = run();

    const QSqlRecord record = query.record();
    QStringList names;
    for (int field = 0; field < record.count(); ++field)
        names.append(record.fieldName(field));

    QList<QVariantList> rows;
    while (query.next()) {
        QVariantList row;
        row.reserve(record.count());
        for (int field = 0; field < record.count(); ++field)
            row.append(query.value(field));
        rows.append(row);
    }
    if (query.lastError().isValid())
        throw AppError(statementFailure(query.lastError()));

    isOpen_ = true;
    replaceResultSet(std::move(names), std::move(rows));
}

void CatalogueQuery::replaceResultSet(QStringList fieldNames, QList<QVariantList> rows)
{
    emit resultSetAboutToChange();
    fieldNames_ = std::move(fieldNames);
    rows_ = std::move(rows);
    currentRow_ = 0;
    emit resultSetChanged();
    emit currentRowChanged(currentRow_);
}

void CatalogueQuery::moveTo(int row)
{
    if (row == currentRow_)
        return;
    currentRow_ = row;
    emit currentRowChanged(currentRow_);
}

void CatalogueQuery::first()
{
    moveTo(0);
}

void CatalogueQuery::next()
{
    if (currentRow_ < rowCount())
        moveTo(currentRow_ + 1);
}

bool CatalogueQuery::atEnd() const
{
    return currentRow_ >= rowCount();
}

bool CatalogueQuery::setCurrentRow(int row)
{
    if (row < 0 || row >= rowCount())
        return false;
    moveTo(row);
    return true;
}

void CatalogueQuery::removeCurrentRow()
{
    if (atEnd())
        return;
    const int removed = currentRow_;
    emit rowAboutToBeRemoved(removed);
    rows_.removeAt(removed);
    emit rowRemoved(removed);
    currentRow_ = std::min(removed, std::max(0, rowCount() - 1));
    emit currentRowChanged(currentRow_);
}

QVariant CatalogueQuery::valueAt(int row, const QString &name) const
{
    if (row < 0 || row >= rowCount())
        return {};
    for (int field = 0; field < fieldNames_.size(); ++field) {
        if (fieldNames_.at(field).compare(name, Qt::CaseInsensitive) == 0)
            return rows_.at(row).at(field);
    }
    return {};
}

QVariant CatalogueQuery::currentValue(const QString &name) const
{
    if (!isOpen_)
        throw AppError(QStringLiteral("查询未打开，无法读取字段 %1").arg(name));
    if (atEnd())
        throw AppError(QStringLiteral("没有当前记录，无法读取字段 %1").arg(name));
    const bool known = std::any_of(fieldNames_.cbegin(), fieldNames_.cend(), [&](const QString &field) {
        return field.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (!known)
        throw AppError(QStringLiteral("结果中没有字段 %1").arg(name));
    return valueAt(currentRow_, name);
}

QString CatalogueQuery::textField(const QString &name) const
{
    const QVariant value = currentValue(name);
    return value.isNull() ? QString() : value.toString();
}

int CatalogueQuery::integerField(const QString &name) const
{
    const QVariant value = currentValue(name);
    if (value.isNull())
        return 0;
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok)
        throw AppError(QStringLiteral("字段 %1 的值“%2”不是整数").arg(name, value.toString()));
    return number;
}

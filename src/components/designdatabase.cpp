#include "designdatabase.h"

#include "datatools.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlQuery>
#include <QVariant>

namespace {

// What went wrong, in SQLite's words where it has some.
QString why(const QSqlError &error)
{
    return error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
}

// Runs one query with bound values, and gives the values of each row;
// "" when every row was read, else why not.
QString runQuery(const QString &connection, const QString &sql, const QVariantList &values,
                 QList<QVariantList> &rows)
{
    return DataTools::readDatabase(connection, [&](const QSqlDatabase &db) {
        rows.clear();
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.prepare(sql))
            return why(query.lastError());
        for (const QVariant &value : values)
            query.addBindValue(value);
        if (!query.exec())
            return why(query.lastError());
        const int columns = query.record().count();
        while (query.next()) {
            QVariantList row;
            row.reserve(columns);
            for (int i = 0; i < columns; ++i)
                row.append(query.value(i));
            rows.append(std::move(row));
        }
        // A row that could not be read ends the rows early.
        return query.lastError().isValid() ? why(query.lastError()) : QString();
    });
}

template <typename T>
DesignRead<T> result(const QString &error, T value)
{
    return error.isEmpty() ? DesignRead<T>(std::move(value)) : DesignRead<T>::failed(error);
}

QString withoutBraces(QString text)
{
    return text.remove(u'{').remove(u'}');
}

} // namespace

DesignDatabase::DesignDatabase(QString connection)
    : m_connection(std::move(connection))
{
}

DesignRead<QList<WorkingMode>> DesignDatabase::modes() const
{
    QList<QVariantList> rows;
    const QString error = runQuery(
        m_connection,
        QStringLiteral("SELECT TTxMMode, TTxMName FROM ZN7TTextExportMode WHERE TTxMMode <> 'ALL' "
                       "ORDER BY TTxMName"),
        {}, rows);
    QList<WorkingMode> modes;
    for (const QVariantList &row : std::as_const(rows))
        modes.append({row.at(0).toString(), row.at(1).toString()});
    return result(error, modes);
}

DesignRead<QString> DesignDatabase::modeName(const QString &code) const
{
    QList<QVariantList> rows;
    const QString error = runQuery(
        m_connection, QStringLiteral("SELECT TTxMName FROM ZN7TTextExportMode WHERE TTxMMode = ? LIMIT 1"),
        {code}, rows);
    return result(error, rows.isEmpty() ? QString() : rows.constFirst().at(0).toString());
}

DesignRead<QList<DesignField>> DesignDatabase::fields(const QString &mode) const
{
    QList<QVariantList> rows;
    const QString error = runQuery(
        m_connection,
        QStringLiteral("SELECT TTxPField, TTxPName, TTxPSampleD, TTxPSampleT FROM ZN7VTextExport "
                       "WHERE (TTxMMode = 'ALL' OR TTxMMode = ?) ORDER BY TTxPField"),
        {mode}, rows);
    QList<DesignField> fields;
    fields.reserve(rows.size());
    for (const QVariantList &row : std::as_const(rows))
        fields.append({withoutBraces(row.at(0).toString()), row.at(1).toString(), row.at(2).toString(),
                       row.at(3).toString()});
    return result(error, fields);
}

#include "designdatabase.h"

#include "datatools.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <functional>

namespace {

// Runs one query with bound values on a connection of its own, which is
// removed afterwards; `row` sees each row. False when the database cannot
// be opened or the query fails.
bool runQuery(const QString &connection, const QString &sql, const QVariantList &values,
              const std::function<void(const QSqlQuery &)> &row)
{
    static int uses = 0;
    const QString name = QStringLiteral("zn7-design-%1").arg(++uses);
    bool ok = false;
    if (DataTools::openDatabase(connection, name)) {
        QSqlQuery query(QSqlDatabase::database(name, false));
        query.setForwardOnly(true);
        if (query.prepare(sql)) {
            for (const QVariant &value : values)
                query.addBindValue(value);
            if (query.exec()) {
                ok = true;
                while (query.next())
                    row(query);
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
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

std::optional<QList<WorkingMode>> DesignDatabase::modes() const
{
    QList<WorkingMode> modes;
    const bool ok = runQuery(
        m_connection,
        QStringLiteral("SELECT TTxMMode, TTxMName FROM ZN7TTextExportMode WHERE TTxMMode <> 'ALL' "
                       "ORDER BY TTxMName"),
        {}, [&modes](const QSqlQuery &q) { modes.append({q.value(0).toString(), q.value(1).toString()}); });
    return ok ? std::optional(modes) : std::nullopt;
}

std::optional<QString> DesignDatabase::modeName(const QString &code) const
{
    QString name;
    const bool ok = runQuery(
        m_connection, QStringLiteral("SELECT TTxMName FROM ZN7TTextExportMode WHERE TTxMMode = ? LIMIT 1"),
        {code}, [&name](const QSqlQuery &q) { name = q.value(0).toString(); });
    return ok ? std::optional(name) : std::nullopt;
}

std::optional<QList<DesignField>> DesignDatabase::fields(const QString &mode) const
{
    QList<DesignField> fields;
    const bool ok = runQuery(
        m_connection,
        QStringLiteral("SELECT TTxPField, TTxPName, TTxPSampleD, TTxPSampleT FROM ZN7VTextExport "
                       "WHERE (TTxMMode = 'ALL' OR TTxMMode = ?) ORDER BY TTxPField"),
        {mode}, [&fields](const QSqlQuery &q) {
            fields.append({withoutBraces(q.value(0).toString()), q.value(1).toString(),
                           q.value(2).toString(), q.value(3).toString()});
        });
    return ok ? std::optional(fields) : std::nullopt;
}

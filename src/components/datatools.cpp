#include "datatools.h"

#include <QAtomicInteger>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

const QString kSourceKey = QStringLiteral(";Data Source=");

// A connection name of its own for every use, so nested or repeated uses
// never share a handle.
QString uniqueConnectionName(const char *purpose)
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("zn7-%1-%2").arg(QLatin1String(purpose)).arg(counter.fetchAndAddRelaxed(1));
}

// Removes a named connection once the last handle to it is gone.
class ScopedConnection final
{
public:
    explicit ScopedConnection(const QString &connection, const char *purpose)
        : m_name(uniqueConnectionName(purpose))
        , m_open(DataTools::openDatabase(connection, m_name))
    {
    }
    ~ScopedConnection() { QSqlDatabase::removeDatabase(m_name); }
    ScopedConnection(const ScopedConnection &) = delete;
    ScopedConnection &operator=(const ScopedConnection &) = delete;

    bool isOpen() const { return m_open; }
    QSqlDatabase database() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
    bool m_open;
};

QStringList splitList(const QString &text)
{
    QStringList items = text.split(u',');
    for (QString &item : items)
        item = item.trimmed();
    return items;
}

} // namespace

DataTools::~DataTools() = default;

QString DataTools::BuildConnection(const QString &type, const QString &folder,
                                   const QString &fileName, const QString &password,
                                   const QString &, const QString &, const QString &) const
{
    return QStringLiteral("Type=%1;Password=%2").arg(type, password) + kSourceKey + folder
        + u'/' + fileName;
}

QString DataTools::databasePath(const QString &connection)
{
    const qsizetype at = connection.indexOf(kSourceKey);
    if (at < 0)
        return {};
    return connection.mid(at + kSourceKey.size());
}

bool DataTools::openDatabase(const QString &connection, const QString &connectionName)
{
    const QString path = databasePath(connection);
    // SQLite would create a missing file; a missing database must stay missing.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(path);
    // Read-only, and a bounded wait when another program holds a write lock.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=1500"));
    return db.open();
}

QString DataTools::LookupValue(const QString &, int, int, const QString &keyField,
                               const QString &keyValue, const QString &resultField,
                               const QString &table, const QString &connection,
                               bool *readable) const
{
    if (readable)
        *readable = false;
    const ScopedConnection scoped(connection, "lookup");
    if (!scoped.isOpen())
        return {};
    QString value;
    {
        QSqlQuery query(scoped.database());
        query.setForwardOnly(true);
        if (!query.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ? LIMIT 1")
                               .arg(resultField, table, keyField)))
            return {};
        query.addBindValue(keyValue);
        if (!query.exec())
            return {};
        if (readable)
            *readable = true;
        if (query.next())
            value = query.value(0).toString();
    }
    return value;
}

QString DataTools::SelectFromList(const QString &title, const QString &resultField,
                                  const QString &fieldList, const QString &captions,
                                  const QString &widths, const QString &,
                                  const QString &source, const QString &connection)
{
    ListRequest request;
    request.title = title;
    const QStringList fields = splitList(fieldList);
    request.captions = splitList(captions);
    for (const QString &width : splitList(widths))
        request.widths.append(width.toInt());
    const qsizetype resultColumn = fields.indexOf(resultField);

    {
        const ScopedConnection scoped(connection, "list");
        if (scoped.isOpen()) {
            QSqlQuery query(scoped.database());
            query.setForwardOnly(true);
            if (query.exec(QStringLiteral("SELECT %1 FROM %2").arg(fields.join(u','), source))) {
                while (query.next()) {
                    ListRow row;
                    for (int i = 0; i < fields.size(); ++i)
                        row.append(query.value(i).toString());
                    request.rows.append(row);
                }
            }
        }
    }

    const int picked = pickRow(request);
    if (picked < 0 || picked >= request.rows.size() || resultColumn < 0)
        return {};
    return request.rows.at(picked).at(resultColumn);
}

#include "datatools.h"

#include <QFileInfo>
#include <QSqlDatabase>

namespace {

const QString kSourceKey = QStringLiteral(";Data Source=");

} // namespace

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

#include "datatools.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QUrl>

namespace {

const QString kSourceKey = QStringLiteral(";Data Source=");

// A SQLite database in WAL mode (bytes 18 and 19 of its header are 2) with
// no -wal file beside it: no program has it open for writing, and its file
// holds every change.
bool isQuietWalDatabase(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(20);
    return header.size() == 20 && header.startsWith("SQLite format 3") && header.at(18) == 2 && header.at(19) == 2
        && !QFileInfo::exists(path + QStringLiteral("-wal"));
}

// A file's size and time, to see whether anyone wrote it.
struct FileState
{
    qint64 size = -1;
    QDateTime modified;

    static FileState of(const QString &path)
    {
        const QFileInfo info(path);
        return {info.size(), info.lastModified()};
    }
    friend bool operator==(const FileState &, const FileState &) = default;
};

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

QString DataTools::readDatabase(const QString &connection, const std::function<QString(const QSqlDatabase &)> &read)
{
    const QString path = databasePath(connection);
    // SQLite would create a missing file; a missing database must stay missing.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return QCoreApplication::translate("DataTools", "There is no database file %1.").arg(path);
    static int uses = 0;
    const QString name = QStringLiteral("zn7-read-%1").arg(++uses);
    QString error;
    for (bool fileAlone = isQuietWalDatabase(path);; fileAlone = false) {
        const FileState before = FileState::of(path);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            // A URI names the file, so SQLite's own options can be given; the
            // bounded wait is for another program holding a write lock.
            db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)
                               + (fileAlone ? QStringLiteral("?mode=ro&immutable=1") : QStringLiteral("?mode=ro")));
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=1500"));
            if (!db.open()) {
                error = db.lastError().databaseText().isEmpty() ? db.lastError().driverText()
                                                                : db.lastError().databaseText();
            } else {
                error = read(db);
            }
        }
        QSqlDatabase::removeDatabase(name);
        // Read as a file nobody writes, yet written meanwhile: read again.
        if (!fileAlone || (FileState::of(path) == before && !QFileInfo::exists(path + QStringLiteral("-wal"))))
            return error;
    }
}

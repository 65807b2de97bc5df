#pragma once

#include <QString>

#include <functional>

class QSqlDatabase;

// Data access of the installation's shared databases.
//
// Connection texts have the form "Type=ACCESS;Password=...;Data Source=<path>":
// the data source is last and runs to the end, so a path may hold any
// character. The databases are SQLite files; the password is carried for the
// other programs of the family and ignored here. What the designer reads
// from them, it reads through DesignDatabase.
class DataTools final
{
public:
    QString BuildConnection(const QString &type, const QString &folder, const QString &fileName,
                            const QString &password, const QString &, const QString &,
                            const QString &) const;

    // The path named by a connection text; "" when the text names none.
    static QString databasePath(const QString &connection);

    // Runs `read` on the database of a connection text, opened read-only on
    // a connection of its own, and gives what `read` gives: "" when it read
    // everything, else why not; also why the database could not be opened
    // (missing, not a database). Reading writes nothing into the data folder:
    // a database in WAL mode that no program is writing is read as the file
    // alone, without the -wal and -shm files SQLite would otherwise make
    // beside it and leave there; should a program write it meanwhile, `read`
    // runs again, with SQLite's locks, so nothing stale or half-written is
    // kept.
    static QString readDatabase(const QString &connection, const std::function<QString(const QSqlDatabase &)> &read);
};

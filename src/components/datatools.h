#pragma once

#include <QString>

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

    // Opens the database of a connection text read-only under a connection
    // name of the caller's; false when it is missing or not a database. The
    // caller removes the connection when done.
    static bool openDatabase(const QString &connection, const QString &connectionName);
};

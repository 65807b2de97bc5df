#pragma once

#include <QString>
#include <QStringList>
#include <QList>

class QSqlDatabase;

// One row offered by the selection list: the values of the listed fields.
using ListRow = QStringList;

// What the selection list shows: the title, one caption and width (in twips,
// 0 hides the column) per field, and the rows read from the source.
struct ListRequest
{
    QString title;
    QStringList captions;
    QList<int> widths;
    QList<ListRow> rows;
};

// Data access of the installation's shared databases.
//
// Connection texts have the form "Type=ACCESS;Password=...;Data Source=<path>":
// the data source is last and runs to the end, so a path may hold any
// character. The databases are SQLite files; the password is carried for the
// other programs of the family and ignored here.
//
// Every value reaches SQL as a bound parameter. Identifiers (tables, fields,
// the list's source clause) come from the program's own code, never from
// files or users.
class DataTools
{
public:
    virtual ~DataTools();

    QString BuildConnection(const QString &type, const QString &folder, const QString &fileName,
                            const QString &password, const QString &, const QString &,
                            const QString &) const;

    // The path named by a connection text; "" when the text names none.
    static QString databasePath(const QString &connection);

    // The value of resultField in the first row of table whose keyField equals
    // keyValue; "" when there is no such row or the database cannot be read.
    // `readable`, when given, tells the two apart: false when the database
    // could not be opened or queried.
    QString LookupValue(const QString &, int, int, const QString &keyField, const QString &keyValue,
                        const QString &resultField, const QString &table,
                        const QString &connection, bool *readable = nullptr) const;

    // Shows a modal list over "SELECT fieldList FROM source" and returns the
    // resultField of the row the user picks; "" when the user picks nothing or
    // the rows cannot be read (the list then opens empty).
    QString SelectFromList(const QString &title, const QString &resultField,
                           const QString &fieldList, const QString &captions,
                           const QString &widths, const QString &perColumn,
                           const QString &source, const QString &connection);

    // Opens the database of a connection text read-only under a connection
    // name of the caller's; false when it is missing or not a database. The
    // caller removes the connection when done.
    static bool openDatabase(const QString &connection, const QString &connectionName);

protected:
    // Lets the user pick one of the request's rows; the row's index, or -1
    // when the list is closed without a choice.
    virtual int pickRow(const ListRequest &request) = 0;
};

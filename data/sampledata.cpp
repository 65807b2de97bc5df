// Builds a SQLite database file from SQL scripts: zn7sampledata OUT.db SCRIPT...
// The file is written anew. Statements end with ";" at the end of a line.
#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <cstdio>

static bool runScript(QSqlDatabase &db, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    QString statement;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString &line : lines) {
        if (line.trimmed().startsWith(QLatin1String("--")))
            continue;
        statement += line + u'\n';
        if (!line.trimmed().endsWith(u';'))
            continue;
        QSqlQuery query(db);
        if (!query.exec(statement)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(query.lastError().text()));
            return false;
        }
        statement.clear();
    }
    return true;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: zn7sampledata OUT.db SCRIPT...\n");
        return 2;
    }
    const QString out = args.at(1);
    QFile::remove(out);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("build"));
        db.setDatabaseName(out);
        if (!db.open()) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(out));
            return 1;
        }
        db.transaction();
        for (qsizetype i = 2; i < args.size() && ok; ++i)
            ok = runScript(db, args.at(i));
        ok = ok && db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("build"));
    if (!ok)
        QFile::remove(out);
    return ok ? 0 : 1;
}

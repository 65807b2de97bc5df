#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Comma-separated values as RFC 4180 has them, the way spreadsheets save
// and read them: a field that holds the separator, a quote or a line break
// is quoted, a quote inside doubled. Written with a comma; read with the
// separator the first record uses (a spreadsheet in a locale whose decimal
// mark is the comma saves with semicolons).
namespace CsvText {

// Quotes the field that `out` holds from `from` on where it must be: where
// it holds a comma, a quote or a line break, or starts or ends with a
// space.
void quote(QString &out, qsizetype from);

// `text` as one written field.
QString field(const QString &text);

struct Record
{
    int line = 0;   // the line of the text it starts on, from 1
    QStringList fields;
};

struct Table
{
    QList<Record> records;
    QChar separator = u',';
    // Why the text is no CSV, naming the line; "" when it is.
    QString error;
};

// Reads `text`: records end at a line break outside quotes (CR LF, LF or
// CR); a line with nothing on it is no record. The separator is a semicolon
// when the first line holds one outside quotes and no comma, else a comma.
Table read(QStringView text);

} // namespace CsvText

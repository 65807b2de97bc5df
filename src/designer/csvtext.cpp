#include "csvtext.h"

namespace CsvText {

void quote(QString &out, qsizetype from)
{
    const QStringView value = QStringView(out).sliced(from);
    bool needed = value.startsWith(u' ') || value.endsWith(u' ');
    qsizetype quotes = 0;
    for (const QChar ch : value) {
        needed = needed || ch == u',' || ch == u'\n' || ch == u'\r';
        quotes += ch == u'"';
    }
    if (!needed && quotes == 0)
        return;
    if (quotes > 0) {
        const QString doubled = value.toString().replace(u'"', QLatin1String("\"\""));
        out.truncate(from);
        out += doubled;
    }
    out.insert(from, u'"');
    out += u'"';
}

QString field(const QString &text)
{
    QString out = text;
    quote(out, 0);
    return out;
}

namespace {

QChar separatorOf(QStringView text)
{
    bool quoted = false;
    bool semicolon = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted && c == u',')
            return u',';
        else if (!quoted && c == u';')
            semicolon = true;
    }
    return semicolon ? QChar(u';') : QChar(u',');
}

} // namespace

Table read(QStringView text)
{
    Table table;
    table.separator = separatorOf(text);
    Record record;
    QString field;
    bool quoted = false;        // inside a quoted field
    bool wasQuoted = false;     // the field began with a quote
    bool any = false;           // the record has something on it
    int line = 1;
    int quoteLine = 0;
    record.line = 1;
    const auto endField = [&] {
        record.fields.append(field);
        field.clear();
        wasQuoted = false;
    };
    const auto endRecord = [&] {
        if (any || !field.isEmpty() || !record.fields.isEmpty()) {
            endField();
            table.records.append(record);
        }
        record = Record();
        field.clear();
        any = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n' || (c == u'\r' && !(i + 1 < text.size() && text.at(i + 1) == u'\n')))
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            endRecord();
            record.line = ++line;
            continue;
        }
        if (c == table.separator) {
            endField();
            any = true;
            continue;
        }
        if (c == u'"' && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
            quoteLine = line;
            any = true;
            continue;
        }
        field += c;
        any = true;
    }
    if (quoted) {
        table.error = QStringLiteral("line %1: a quoted field is not closed").arg(quoteLine);
        table.records.clear();
        return table;
    }
    endRecord();
    return table;
}

} // namespace CsvText

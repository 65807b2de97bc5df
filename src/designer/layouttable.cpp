#include "layouttable.h"

#include "components/codepage.h"
#include "components/texttools.h"
#include "designer/csvtext.h"
#include "designer/gridlayout.h"
#include "designer/patternfile.h"
#include "field/fielddescriptor.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <map>

namespace LayoutTable {

namespace {

using PatternPreview::Span;
using RecordShape::Piece;

const QStringList kColumns{QStringLiteral("record"), QStringLiteral("field"),  QStringLiteral("start"),
                           QStringLiteral("end"),    QStringLiteral("length"), QStringLiteral("value"),
                           QStringLiteral("description")};

// A spreadsheet saves CSV in UTF-8 or in the system's code page.
QString decodeTable(const QByteArray &bytes)
{
    if (!CodePage::looksLikeUtf8(bytes))
        return QStringDecoder(CodePage::kPattern).decode(bytes);
    QByteArrayView view(bytes);
    if (view.startsWith(CodePage::kUtf8ByteOrderMark))
        view = view.sliced(3);
    return QStringDecoder(QStringDecoder::Utf8).decode(view);
}

QString span(int start, int end)
{
    return start == end ? QString::number(start) : QStringLiteral("%1-%2").arg(start).arg(end);
}

QString quoted(const QString &text)
{
    return u'\'' + text + u'\'';
}

QString cellName(const Piece &piece)
{
    QString name = QStringLiteral("Field%1").arg(piece.column - GridLayout::kFirstFieldColumn + 1);
    if (piece.kind == Span::Kind::Field)
        name += u' ' + piece.field;
    else if (piece.kind == Span::Kind::Constant)
        name += QStringLiteral(" (constant)");
    return name;
}

QString fieldName(const Field &field)
{
    return field.name.isEmpty() ? QStringLiteral("the field of line %1").arg(field.line)
                                : QStringLiteral("field ") + field.name;
}

// Reads a position: 0 for none; a problem for text that is no whole number
// from 1 on.
int positionOf(const QString &text, const QString &column, int line, Table &table)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0;
    bool ok = false;
    const int value = trimmed.toInt(&ok);
    if (!ok)
        table.problems.append({line, QStringLiteral("%1 %2 is not a number").arg(column, quoted(trimmed))});
    else if (value < 1)
        table.problems.append({line, QStringLiteral("%1 %2 is below 1").arg(column).arg(value)});
    return ok && value >= 1 ? value : 0;
}

// Derives the position the field leaves out from the two it gives; says
// where the three disagree or are too few.
void placeField(Field &f, Table &table)
{
    const QString name = fieldName(f);
    if (f.start && f.end && f.length) {
        if (f.end - f.start + 1 != f.length)
            table.problems.append({f.line, QStringLiteral("%1: %2 is %3, its length says %4")
                                               .arg(name, span(f.start, f.end),
                                                    TextTools::counted(f.end - f.start + 1, "character", "characters"))
                                               .arg(f.length)});
    } else if (f.start && f.length) {
        f.end = f.start + f.length - 1;
    } else if (f.start && f.end) {
        f.length = f.end - f.start + 1;
    } else if (f.end && f.length) {
        f.start = f.end - f.length + 1;
    } else {
        table.problems.append({f.line, QStringLiteral("%1 needs two of start, end and length").arg(name)});
        f.start = f.end = f.length = 0;
        return;
    }
    if (f.start < 1 || f.end < f.start) {
        table.problems.append({f.line, QStringLiteral("%1: its positions do not fit (start %2, end %3)")
                                           .arg(name).arg(f.start).arg(f.end)});
        f.start = f.end = f.length = 0;
    }
}

// Overlaps, gaps and a stated length the fields do not reach, per record.
void checkRecord(const Record &record, Table &table)
{
    QList<const Field *> placed;
    for (const Field &f : record.fields) {
        if (f.start > 0)
            placed.append(&f);
    }
    std::stable_sort(placed.begin(), placed.end(), [](const Field *a, const Field *b) { return a->start < b->start; });
    int reached = 0;   // the last position a field covers so far
    const Field *last = nullptr;
    for (const Field *f : std::as_const(placed)) {
        if (f->start <= reached)
            table.problems.append({f->line, QStringLiteral("%1 (%2) overlaps %3 (%4)")
                                                .arg(fieldName(*f), span(f->start, f->end), fieldName(*last),
                                                     span(last->start, last->end))});
        else if (f->start > reached + 1)
            table.problems.append({f->line, QStringLiteral("positions %1 before %2 are in no field")
                                                .arg(span(reached + 1, f->start - 1), fieldName(*f))});
        if (f->end > reached) {
            reached = f->end;
            last = f;
        }
    }
    if (record.statedLength > 0 && record.statedLength != reached)
        table.problems.append({record.statedLine, QStringLiteral("the record's length is %1, its fields end at %2")
                                                      .arg(record.statedLength)
                                                      .arg(reached)});
}

} // namespace

Table read(const QByteArray &bytes)
{
    Table table;
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0) {
        table.error = QStringLiteral("line %1: a NUL byte; this is no text file").arg(bytes.first(nul).count('\n') + 1);
        return table;
    }
    const CsvText::Table csv = CsvText::read(decodeTable(bytes));
    if (!csv.error.isEmpty()) {
        table.error = csv.error;
        return table;
    }
    if (csv.records.isEmpty()) {
        table.error = QStringLiteral("the table is empty");
        return table;
    }
    const CsvText::Record &header = csv.records.constFirst();
    QHash<QString, qsizetype> columnOf;
    for (qsizetype i = 0; i < header.fields.size(); ++i) {
        const QString name = header.fields.at(i).trimmed().toLower();
        if (kColumns.contains(name) && !columnOf.contains(name))
            columnOf.insert(name, i);
        else
            table.notes.append({header.line, QStringLiteral("column %1 is not used").arg(quoted(header.fields.at(i)))});
    }
    const int positions = int(columnOf.contains(QStringLiteral("start"))) + int(columnOf.contains(QStringLiteral("end")))
                        + int(columnOf.contains(QStringLiteral("length")));
    if (!columnOf.contains(QStringLiteral("field")) || positions < 2) {
        table.notes.clear();
        table.error = QStringLiteral("line %1: the header must name a field column and two of start, end and length "
                                     "(its columns: record, field, start, end, length, value, description)")
                          .arg(header.line);
        return table;
    }
    QHash<QString, qsizetype> recordOf;
    for (qsizetype r = 1; r < csv.records.size(); ++r) {
        const CsvText::Record &row = csv.records.at(r);
        const auto value = [&](const char *column) {
            const qsizetype i = columnOf.value(QLatin1String(column), -1);
            return i >= 0 ? row.fields.value(i) : QString();
        };
        const QString recordName = value("record").trimmed();
        qsizetype at = recordOf.value(recordName, -1);
        if (at < 0) {
            at = table.records.size();
            recordOf.insert(recordName, at);
            table.records.append({recordName, row.line, {}, 0, 0});
        }
        Record &record = table.records[at];
        Field f;
        f.line = row.line;
        f.name = value("field").trimmed();
        f.start = positionOf(value("start"), QStringLiteral("start"), row.line, table);
        f.end = positionOf(value("end"), QStringLiteral("end"), row.line, table);
        f.length = positionOf(value("length"), QStringLiteral("length"), row.line, table);
        // A value of spaces is a value; spaces around one are the spreadsheet's.
        const QString raw = value("value");
        f.value = raw.trimmed().isEmpty() ? raw : raw.trimmed();
        f.description = value("description").trimmed();
        if (f.name.isEmpty() && f.value.isEmpty()) {
            // The record's whole length, or nothing at all.
            const int stated = f.length ? f.length : f.end;
            if (stated > 0) {
                record.statedLength = stated;
                record.statedLine = row.line;
            }
            continue;
        }
        placeField(f, table);
        if (!f.value.isEmpty() && f.length > 0 && f.value.size() != f.length)
            table.problems.append({f.line, QStringLiteral("%1: its value %2 is %3, its length %4")
                                               .arg(fieldName(f), quoted(f.value),
                                                    TextTools::counted(f.value.size(), "character", "characters"))
                                               .arg(f.length)});
        record.fields.append(f);
    }
    for (const Record &record : std::as_const(table.records))
        checkRecord(record, table);
    std::stable_sort(table.problems.begin(), table.problems.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    return table;
}

namespace {

// The row's characters its constants fix on its first line, by position from 1.
QHash<int, QChar> fixedOf(const RecordShape::Row &row)
{
    QHash<int, QChar> fixed;
    for (const auto &[position, c] : row.lines.constFirst().fixed)
        fixed.insert(position + 1, c);
    return fixed;
}

bool writesValue(const QHash<int, QChar> &fixed, const Field &f)
{
    if (f.start == 0 || f.value.size() != f.length)
        return false;
    for (int i = 0; i < f.length; ++i) {
        if (fixed.value(f.start + i) != f.value.at(i))
            return false;
    }
    return true;
}

QString recordName(const Record &record)
{
    return record.name.isEmpty() ? QStringLiteral("the record") : QStringLiteral("record ") + record.name;
}

QString rowName(const RecordShape::Row &row)
{
    return QStringLiteral("row %1 (%2)").arg(row.row).arg(row.type);
}

void compareRecord(const Record &record, const RecordShape::Row &row, QList<Finding> &found)
{
    const QString head = QStringLiteral("%1, %2: ").arg(recordName(record), rowName(row));
    const RecordShape::Line &line = row.lines.constFirst();
    const QHash<int, QChar> fixed = fixedOf(row);
    const auto pieceAt = [&line](int position) -> const Piece * {
        for (const Piece &p : line.pieces) {
            if (p.start <= position && position <= p.end)
                return &p;
        }
        return nullptr;
    };
    QList<std::pair<int, int>> covered;
    int tableEnd = 0;
    for (const Field &f : record.fields) {
        if (f.start == 0)
            continue;
        covered.append({f.start, f.end});
        tableEnd = std::max(tableEnd, f.end);
        const Piece *p = pieceAt(f.start);
        if (!p) {
            found.append({f.line, head + QStringLiteral("%1 at %2: the row writes nothing there (its line is %3)")
                                             .arg(fieldName(f), span(f.start, f.end),
                                                  TextTools::counted(line.length, "character", "characters"))});
            continue;
        }
        if (!f.value.isEmpty()) {
            if (!writesValue(fixed, f)) {
                QString writes = cellName(*p);
                if (p->kind == Span::Kind::Constant) {
                    QString text;
                    for (int i = f.start; i <= f.end; ++i)
                        text += fixed.value(i, u'?');
                    writes = QStringLiteral("%1 (%2)").arg(cellName(*p), quoted(text));
                }
                found.append({f.line, head + QStringLiteral("fixed value %1 at %2: the row writes %3 there")
                                                 .arg(quoted(f.value), span(f.start, f.end), writes)});
            }
            continue;
        }
        if (p->start != f.start || p->end != f.end)
            found.append({f.line, head + QStringLiteral("%1 is %2 (%3), the row's %4 writes %5 (%6)")
                                             .arg(fieldName(f), span(f.start, f.end))
                                             .arg(f.end - f.start + 1)
                                             .arg(cellName(*p), span(p->start, p->end))
                                             .arg(p->length())});
    }
    // What the row writes where the table has no field.
    for (const Piece &p : line.pieces) {
        int first = 0;
        int last = 0;
        for (int position = p.start; position <= p.end; ++position) {
            const bool inTable = std::any_of(covered.cbegin(), covered.cend(), [position](const auto &c) {
                return c.first <= position && position <= c.second;
            });
            if (!inTable) {
                if (first == 0)
                    first = position;
                last = position;
            }
        }
        if (first > 0)
            found.append({record.line, head + QStringLiteral("the row's %1 writes %2, where the table has no field")
                                                   .arg(cellName(p), span(first, last))});
    }
    const int tableLength = record.statedLength > 0 ? record.statedLength : tableEnd;
    if (tableLength != line.length)
        found.append({record.statedLine > 0 ? record.statedLine : record.line,
                      head + QStringLiteral("the table's record is %1, the row writes %2")
                                 .arg(TextTools::counted(tableLength, "character", "characters"))
                                 .arg(line.length)});
    if (row.lines.size() > 1)
        found.append({record.line, head + QStringLiteral("the row writes %1 lines; its first is compared").arg(row.lines.size())});
}

} // namespace

QList<Finding> compare(const Table &table, const QList<RecordShape::Row> &rows)
{
    // Records with fixed values go to the first row that writes them all
    // where the table puts them; the others, in order, to the rows left.
    QList<qsizetype> rowOf(table.records.size(), -1);
    QList<bool> taken(rows.size(), false);
    for (qsizetype r = 0; r < table.records.size(); ++r) {
        const Record &record = table.records.at(r);
        const bool hasValue = std::any_of(record.fields.cbegin(), record.fields.cend(),
                                          [](const Field &f) { return !f.value.isEmpty() && f.start > 0; });
        if (!hasValue)
            continue;
        for (qsizetype w = 0; w < rows.size() && rowOf[r] < 0; ++w) {
            if (taken[w])
                continue;
            const QHash<int, QChar> fixed = fixedOf(rows.at(w));
            const bool all = std::all_of(record.fields.cbegin(), record.fields.cend(), [&fixed](const Field &f) {
                return f.value.isEmpty() || f.start == 0 || writesValue(fixed, f);
            });
            if (all) {
                rowOf[r] = w;
                taken[w] = true;
            }
        }
    }
    qsizetype next = 0;
    for (qsizetype r = 0; r < table.records.size(); ++r) {
        if (rowOf[r] >= 0)
            continue;
        while (next < rows.size() && taken[next])
            ++next;
        if (next < rows.size()) {
            rowOf[r] = next;
            taken[next] = true;
        }
    }
    QList<Finding> found;
    for (qsizetype r = 0; r < table.records.size(); ++r) {
        const Record &record = table.records.at(r);
        if (rowOf[r] < 0)
            found.append({record.line, QStringLiteral("%1: no row of the pattern is left for it").arg(recordName(record))});
        else
            compareRecord(record, rows.at(rowOf[r]), found);
    }
    for (qsizetype w = 0; w < rows.size(); ++w) {
        if (!taken[w])
            found.append({0, QStringLiteral("%1: no record of the table").arg(rowName(rows.at(w)))});
    }
    return found;
}

namespace {

// A constant of `text` as a pattern file holds it.
QString constantCell(const QString &text)
{
    FieldSettings constant;
    constant.kind = FieldSettings::Kind::Constant;
    constant.constantText = text;
    return PatternFile::fileForm(formatDescriptor(constant)).toString();
}

// A field name as a cell can hold it: what a descriptor cannot hold
// becomes "_".
QString storableName(QString name)
{
    for (QChar &c : name) {
        if (c == u'{' || c == u'}' || firstRefusedCharacter(QString(c)) >= 0)
            c = u'_';
    }
    return name;
}

const DesignField *matchingField(const QList<DesignField> &fields, const QString &name)
{
    for (const DesignField &field : fields) {
        if (field.field.compare(name, Qt::CaseInsensitive) == 0 || field.name.compare(name, Qt::CaseInsensitive) == 0)
            return &field;
    }
    return nullptr;
}

} // namespace

Import import(const Table &table, const QList<DesignField> &fields)
{
    Import out;
    int row = 0;
    for (const Record &record : table.records) {
        QList<const Field *> placed;
        for (const Field &f : record.fields) {
            if (f.start > 0)
                placed.append(&f);
            else
                out.report << QStringLiteral("line %1: %2 has no positions and is left out").arg(f.line).arg(fieldName(f));
        }
        std::stable_sort(placed.begin(), placed.end(), [](const Field *a, const Field *b) { return a->start < b->start; });
        QStringList cells;
        int position = 1;
        const auto spaces = [&](int upTo) {
            if (upTo > position)
                cells << constantCell(QString(upTo - position, u' '));
            position = std::max(position, upTo);
        };
        ++row;
        const QString where = QStringLiteral("row %1 (%2)").arg(row).arg(recordName(record));
        for (const Field *f : std::as_const(placed)) {
            if (f->start < position) {
                out.report << QStringLiteral("line %1: %2 overlaps the field before it and is left out").arg(f->line).arg(fieldName(*f));
                continue;
            }
            spaces(f->start);
            if (!f->value.isEmpty()) {
                QString text = f->value.left(f->length);
                text += QString(f->length - text.size(), u' ');
                if (firstRefusedCharacter(text) >= 0) {
                    out.report << QStringLiteral("line %1: the value %2 of %3 holds a character a pattern cannot store; "
                                                 "spaces stand in its place").arg(f->line).arg(quoted(f->value), fieldName(*f));
                    text = QString(f->length, u' ');
                }
                cells << constantCell(text);
            } else if (const DesignField *match = matchingField(fields, f->name); match && canStoreFieldName(match->field)) {
                cells << formatDescriptor(suggestedSettings(*match, f->length));
                out.report << QStringLiteral("%1: %2 is the mode's field %3").arg(where, fieldName(*f), match->field);
            } else {
                FieldSettings s;
                s.fieldName = storableName(f->name);
                s.length = QString::number(f->length);
                s.fill = QStringLiteral(" ");
                cells << formatDescriptor(s);
                out.report << QStringLiteral("%1: %2 is no field of the mode; it stands as {%3} for you to choose with F2")
                                  .arg(where, fieldName(*f), s.fieldName);
            }
            position = f->end + 1;
        }
        if (record.statedLength > 0)
            spaces(record.statedLength + 1);
        if (cells.isEmpty()) {
            out.report << QStringLiteral("%1 has no field with positions; no row is made for it").arg(recordName(record));
            --row;
            continue;
        }
        out.lines << QStringLiteral("[H];") + cells.join(u';');
    }
    return out;
}

} // namespace LayoutTable

#pragma once

#include "components/designdatabase.h"
#include "designer/recordshape.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A bank's layout table: the fields of each record of the file the bank
// wants, with their positions and fixed values, as its spreadsheet is
// saved to CSV. A header row names the columns, in any order and case:
// record, field, start, end, length, value, description; at least two of
// start, end and length; positions count from 1. A row with no field name
// states its record's whole length. Read, it can be held against a pattern
// (compare) or made into one (import).
namespace LayoutTable {

struct Field
{
    int line = 0;          // the table's line, from 1
    QString name;
    int start = 0;         // 0 where the table does not give it (or gives no number)
    int end = 0;
    int length = 0;
    QString value;         // a fixed value; "" for none
    QString description;
};

struct Record
{
    QString name;          // "" when the table has no record column
    int line = 0;          // the line of its first field
    QList<Field> fields;   // in the table's order
    int statedLength = 0;  // 0 when no row states it
    int statedLine = 0;
};

struct Table
{
    QList<Record> records;
    // What the table itself gets wrong, "LINE: message" each (a position
    // that is no number, end - start + 1 unlike the length, overlaps, gaps,
    // a stated length the fields do not add up to), and columns it has that
    // are not used.
    QList<std::pair<int, QString>> problems;
    QList<std::pair<int, QString>> notes;
    // Why the bytes are no layout table at all (naming the line); "" when
    // they are one.
    QString error;
};

// Reads a table from a file's bytes: UTF-8 (a byte-order mark dropped)
// when they are valid UTF-8, else windows-874; comma- or
// semicolon-separated.
Table read(const QByteArray &bytes);

// A difference between the table and a pattern, on a table line (0 for a
// row of the pattern no record has).
struct Finding
{
    int line = 0;
    QString message;
};

// Every difference between the table and the rows of a pattern: records are
// matched to rows by their fixed values standing at the same positions,
// else in order. Per record: a field whose start or length differs from the
// cell that writes there, positions one covers and the other not, a fixed
// value the pattern does not write there, and a record whose length differs
// from its row's; then records without a row and rows without a record.
QList<Finding> compare(const Table &table, const QList<RecordShape::Row> &rows);

// A new pattern from a table: one LINE row per record, its cells in
// position order; a constant for each fixed value; else the mode's field
// whose identifier or name is the table's field name (case aside), else the
// table's name as a field of the mode (left for the user to choose); spaces
// where the table leaves positions out, so every field stands where the
// table puts it. `lines` are the rows as a pattern file holds them, after
// its mode line; `report` says what was matched and what is left to do.
struct Import
{
    QStringList lines;
    QStringList report;
};

Import import(const Table &table, const QList<DesignField> &fields);

} // namespace LayoutTable

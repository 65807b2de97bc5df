#pragma once

#include "designer/recordshape.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QIODevice;

// A real export file read through a pattern: each line matched to the
// pattern row that wrote it, each field's text taken from its positions,
// and for a line no row wrote, the row it comes nearest to and where it
// first differs. What `zn7pat inspect` prints and the designer's Inspect
// window shows.
namespace ExportMatch {

// An export file decoded, and where its lines are in the text, without
// their ends: one string for the whole file, however many lines it has.
struct ExportText
{
    QString text;
    QList<std::pair<qsizetype, qsizetype>> lines;   // start and length of each line
    qsizetype crlf = 0;   // lines that ended in CR LF
    qsizetype lf = 0;     // in LF alone; the last line may end in neither

    qsizetype size() const { return lines.size(); }
    QStringView line(qsizetype i) const { return QStringView(text).sliced(lines[i].first, lines[i].second); }
    // "CR LF", "LF", "none", or "mixed: 3 CR LF, 1 LF".
    QString lineEnds() const;
};

// Decodes an export file's bytes in the code page `encoding`
// ("windows-874" or "utf-8"; a UTF-8 byte-order mark is dropped). A file
// holding a NUL byte is no text file: nothing, with `error` saying where.
std::optional<ExportText> decode(const QByteArray &bytes, const char *encoding, QString *error);

// Where a line first differs from a row's first line: the position (from
// 1) of the first character the row's constants fix that the line has not,
// the character found there (null past the line's end) and the one
// expected; position 0 when every fixed character is right and only the
// length differs.
struct Difference
{
    int position = 0;
    QChar found;
    QChar expected;
    int length = 0;           // the line's
    int expectedLength = 0;   // the row's first line's
};

struct LineMatch
{
    int shape = -1;     // index of the row shape the line belongs to; -1 for none
    int part = 0;       // its output line within that row, from 0
    int nearest = -1;   // for a line of no row: the nearest shape (fewest fixed characters wrong)
    Difference difference;
};

struct Result
{
    QList<LineMatch> lines;   // one per line of the file
    // Lines (by index) where other rows fit as well as the one taken: those rows.
    QHash<int, QList<int>> ties;
    QList<qsizetype> records;   // per shape, the records matched to it
    qsizetype unmatched = 0;
};

// Matches every line. A row fits where the file has as many lines left as
// the row writes, each of its line's length, with every character its
// constants fix in place. Of the rows that fit, the one fixing most
// characters is taken (the first of those in pattern order on a tie, the
// others kept as ties), and its lines are consumed.
Result inspect(const QList<RecordShape::Row> &shapes, const ExportText &text);

// The record a line of the file belongs to, as the preview draws a row:
// the record's lines joined by "\n" and the spans its row's cells take in
// them. A line of no row stands alone, with no spans. `row` gets the grid
// row: the line's, or the nearest for a line of no row (0 when none).
PatternPreview::RenderedRow recordAt(const QList<RecordShape::Row> &shapes, const ExportText &text,
                                     const Result &result, qsizetype line, int *row);

// What a piece of a shape reads on a line of the file.
QStringView textOf(QStringView line, const RecordShape::Piece &piece);

// "no row matches: nearest row 3 (LOOP), position 1: '7', row 3 expects '6'".
QString describeMiss(const QList<RecordShape::Row> &shapes, const LineMatch &match);

// "row 1 (LINE): 1, row 2 (LOOP): 10; 1 line matches no row; line ends: CR LF".
QString summary(const QList<RecordShape::Row> &shapes, const ExportText &text, const Result &result);

// Writes the inspection of `text` (the file `fileName`): in text a line of
// the file a line, "FILE:LINE: ..." with each field's cell, identifier,
// positions and text, then the summary; in CSV a record per field (a line
// with no row, one record saying so); in JSON an object with the lines and
// the summary. UTF-8. False, with `error` set, when the device refuses.
bool write(QIODevice &device, PatternLayout::Format format, const QString &fileName, const QList<RecordShape::Row> &shapes,
           const ExportText &text, const Result &result, QString *error);

} // namespace ExportMatch

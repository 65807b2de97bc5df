#pragma once

#include "components/designdatabase.h"
#include "designer/patternfile.h"
#include "field/fielddescriptor.h"

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

class PatternGrid;

// The output the exporting program writes for the rows of a pattern, laid
// out from the working mode's sample data, with the span each cell writes
// and the layout problems found on the way. Needs no widget: the preview
// panel draws it and a checker prints it.
namespace PatternPreview {

// The mode's fields by identifier; without samples when the design
// database could not be read.
struct Samples
{
    bool available = false;
    QHash<QString, DesignField> fields;
    // The pattern's mode when the design database was read and does not
    // know it; "" when it does, or could not be read.
    QString unknownMode;

    static Samples of(const std::optional<QList<DesignField>> &fields);
    // The fields of `mode` from the design database of `connection` (a
    // connection text of DataTools), and whether it knows the mode;
    // nothing, and why, when the fields cannot be read.
    static DesignRead<Samples> read(const QString &connection, const QString &mode);
};

// Whether the design database of `connection` can be read and does not
// know the mode `mode`.
bool modeIsUnknown(const QString &connection, const QString &mode);

// "the mode BANKS is not in the design database"
QString unknownModeMessage(const QString &mode);

// What one filled field cell writes.
struct Span
{
    using Kind = DescriptorView::Kind;
    int column = 0;      // grid column of the cell
    Kind kind = Kind::Other;
    QString field;       // the identifier of a data field
    qsizetype begin = 0; // its characters in RenderedRow::text
    qsizetype end = 0;
    // The characters of a field's span that its sample (or, without
    // samples, its name) gives; the others are its fill. None for others.
    qsizetype sampleBegin = 0;
    qsizetype sampleEnd = 0;

    friend bool operator==(const Span &, const Span &) = default;
};

// One row as it is written: its text, a "\n" wherever a constant's {NL}
// breaks the line, and the cells' spans in order. Each cell takes the
// characters the line length counts for it: a field its fixed length, a
// constant its text without the {NL} markers, anything else none.
struct RenderedRow
{
    QString text;
    QList<Span> spans;
    // Characters written, line breaks left out.
    qsizetype length() const { return text.size() - text.count(u'\n'); }
};

RenderedRow renderRow(const PatternGrid &grid, int row, const Samples &samples);

// What a rendered row amounts to: its characters, the bytes they take in
// windows-874 (one each for whatever the code page holds), and the columns
// they take on screen, where a Thai mark above or below a letter takes none.
struct Measure
{
    qsizetype characters = 0;
    qsizetype bytes = 0;
    qsizetype columns = 0;

    friend bool operator==(const Measure &, const Measure &) = default;
};

Measure measure(const RenderedRow &row);

// Whether a character is drawn over or under the one before it.
bool isMark(QChar c);

// A layout problem of one cell (column 0: of the row as a whole).
struct Check
{
    enum class Kind { SampleCut, UnknownField, RowLength, ConstantCount, NotACell, Length, UnknownMode, CellsNotLoaded };
    int row = 0;
    int column = 0;
    Kind kind = Kind::NotACell;
    QString message;

    friend bool operator==(const Check &, const Check &) = default;
};

// The problems of the pattern (row 0: of its mode, which the design
// database does not know), then of every row that is part of it, row by
// row and cell by cell: a field's length that is no number from 1 to
// kLongestLength, a field whose sample is longer than its length, a field
// the mode does not have (both only with samples), a constant whose stored
// count differs from its text or that is too long to be counted, a cell
// that is neither field nor constant; and an output line (a row writes one
// more for each {NL}) whose length differs from `recordLength`, or
// without one (0) from the length more than half of all output lines
// share, if at least two do.
QList<Check> check(const PatternGrid &grid, const Samples &samples, int recordLength = 0);

// What a file held that its rows could not take, as checks of those rows:
// each line with more cells than the field columns hold.
QList<Check> loadChecks(const PatternFile::LoadReport &report);

} // namespace PatternPreview

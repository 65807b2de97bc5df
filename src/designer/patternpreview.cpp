#include "patternpreview.h"

#include "components/patterngrid.h"
#include "components/texttools.h"
#include "designer/gridlayout.h"
#include "designer/linelength.h"
#include "designer/patternrows.h"
#include "field/fielddescriptor.h"
#include "field/fieldpreview.h"

#include <QStringTokenizer>

#include <algorithm>
#include <map>

namespace PatternPreview {

namespace {

// The parts of a cell the output needs, read in one pass over its text:
// the preview reads a whole pattern's cells on every check.
struct Cell
{
    DescriptorView view;
    int counted = 0;             // the length the line length counts
    bool read = false;           // whether the third piece is a 16-bit number
    int alignment = FieldSettings::Left;

    explicit Cell(const QString &text)
        : view(text)
    {
        // As the line length reads it: the third piece as a 16-bit number.
        const std::optional<qint16> value =
            TextTools::ToInteger(QString::fromRawData(view.length.data(), view.length.size()));
        counted = value.value_or(0);
        read = value.has_value();
        alignment = alignmentOf(view.alignment);
    }
};

// Why a field's length gives it no width, "" when it is a length.
QString lengthProblem(const Cell &cell)
{
    if (cell.read && cell.counted >= 1)
        return {};
    const QString text = cell.view.length.trimmed().toString();
    switch (readLength(text).kind) {
    case LengthReading::Kind::Valid: return {};
    case LengthReading::Kind::Missing: return QStringLiteral("the length is missing");
    case LengthReading::Kind::NotANumber: return QStringLiteral("length %1 is not a number").arg(text);
    case LengthReading::Kind::BelowOne: return QStringLiteral("length %1 is below 1").arg(text);
    case LengthReading::Kind::TooLarge: return QStringLiteral("length %1 is above %2").arg(text).arg(kLongestLength);
    }
    return {};
}

// The characters of a field's laid-out text that its sample gives, as
// FieldPreview::adjust places them.
std::pair<qsizetype, qsizetype> samplePart(qsizetype sample, int width, int alignment)
{
    if (width < 1)
        return {0, 0};
    const qsizetype kept = qMin<qsizetype>(sample, width);
    switch (alignment) {
    case FieldSettings::Right: return {width - kept, width};
    case FieldSettings::Center: {
        const qsizetype before = width < sample ? 0 : (width - sample) / 2;
        return {before, before + kept};
    }
    default: return {0, kept};
    }
}

// Renders a row; with `found`, only appends the cells' checks to it and
// appends the lengths of the output lines the row writes to `lines`
// instead of writing them: a field writes its length (none below 1), a
// constant its text without the {NL} markers, each of which starts
// another line.
RenderedRow render(const PatternGrid &grid, int row, const Samples &samples, QList<Check> *found,
                   std::vector<qsizetype> *lines = nullptr)
{
    RenderedRow rendered;
    if (!found) {
        rendered.text.reserve(512);
        rendered.spans.reserve(GridLayout::kLastFieldColumn - GridLayout::kFirstFieldColumn + 1);
    }
    const qsizetype firstLine = found ? qsizetype(lines->size()) : 0;
    for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c) {
        const QString text = grid.CellText(row, c);
        if (text.isEmpty())
            continue;
        if (found && qsizetype(lines->size()) == firstLine)
            lines->push_back(0);   // the row is written: its first line
        const Cell cell(text);
        Span span{c, cell.view.kind, {}, rendered.text.size(), 0};
        const auto add = [&](Check::Kind kind, const QString &message) {
            if (found)
                found->append({row, c, kind, message});
        };
        if (cell.view.kind == Span::Kind::Field) {
            const QString name = cell.view.name();
            const auto known = samples.fields.constFind(name);
            // The span keeps a name of its own: the stored key, or a copy.
            span.field = known != samples.fields.cend() ? known.key() : QString(name.data(), name.size());
            // Without samples a field shows its name in braces, laid out alike.
            static const QString none;
            const QString braced = samples.available ? QString() : u'{' + name + u'}';
            const QString &sample = !samples.available ? braced
                                  : known == samples.fields.cend() ? none
                                                                   : known->formattedSample;
            if (found) {
                lines->back() += qMax(cell.counted, 0);
            } else {
                rendered.text += FieldPreview::adjust(sample, QString::fromRawData(cell.view.fill.data(), cell.view.fill.size()),
                                                      cell.counted, cell.alignment);
                const auto [first, last] = samplePart(sample.size(), cell.counted, cell.alignment);
                span.sampleBegin = span.begin + first;
                span.sampleEnd = span.begin + last;
            }
            if (found) {
                const QString length = lengthProblem(cell);
                if (!length.isEmpty())
                    add(Check::Kind::Length, length);
                if (samples.available && known == samples.fields.cend())
                    add(Check::Kind::UnknownField, QStringLiteral("the mode has no field %1").arg(name));
                else if (length.isEmpty() && samples.available && sample.size() > cell.counted)
                    add(Check::Kind::SampleCut,
                        QStringLiteral("sample %1, %2 kept: the %3 part is cut")
                            .arg(TextTools::counted(sample.size(), "character", "characters"))
                            .arg(cell.counted)
                            .arg(cell.alignment == FieldSettings::Right ? QStringLiteral("left") : QStringLiteral("right")));
            }
        } else if (cell.view.kind == Span::Kind::Constant) {
            // A brace is found far faster than the marker is searched for.
            const bool breaks = cell.view.text.contains(u'{') && cell.view.text.contains(kLineBreak);
            if (found) {
                if (!breaks) {
                    lines->back() += cell.view.text.size();
                } else {
                    bool first = true;
                    for (const QStringView part : QStringTokenizer(cell.view.text, kLineBreak)) {
                        if (!first)
                            lines->push_back(0);
                        first = false;
                        lines->back() += part.size();
                    }
                }
            } else if (breaks) {
                rendered.text += cell.view.text.toString().replace(kLineBreak.toString(), QStringLiteral("\n"));
            } else {
                rendered.text += cell.view.text;
            }
            // A constant's count is checked, not needed to render it.
            if (found) {
                const int actual = constantLength(QString::fromRawData(cell.view.text.data(), cell.view.text.size()));
                if (actual > kLongestLength)
                    add(Check::Kind::Length, QStringLiteral("constant of %1: more than the %2 a length can count")
                                                 .arg(TextTools::counted(actual, "character", "characters"))
                                                 .arg(kLongestLength));
                else if (!cell.view.hasLength)
                    add(Check::Kind::ConstantCount, QStringLiteral("constant of %1 stored without its count")
                                                        .arg(TextTools::counted(actual, "character", "characters")));
                else if (actual != cell.counted || !cell.read)
                    add(Check::Kind::ConstantCount, QStringLiteral("constant of %1 stored with the count %2")
                                                        .arg(TextTools::counted(actual, "character", "characters"),
                                                             cell.view.length.toString()));
            }
        } else {
            add(Check::Kind::NotACell, QStringLiteral("neither a field nor a constant: kept as written, counted as 0"));
        }
        span.end = rendered.text.size();
        if (!found)
            rendered.spans.append(span);
    }
    return rendered;
}

} // namespace

QString unknownModeMessage(const QString &mode)
{
    return QStringLiteral("the mode %1 is not in the design database").arg(mode);
}

bool modeIsUnknown(const QString &connection, const QString &mode)
{
    // "ALL" marks the fields of every mode: it is in the database, though
    // no pattern can be given it.
    const std::optional<QList<WorkingMode>> modes = DesignDatabase(connection).modes();
    return modes && mode != u"ALL"
        && std::none_of(modes->cbegin(), modes->cend(), [&mode](const WorkingMode &m) { return m.code == mode; });
}

DesignRead<Samples> Samples::read(const QString &connection, const QString &mode)
{
    const DesignRead<QList<DesignField>> fields = DesignDatabase(connection).fields(mode);
    if (!fields)
        return DesignRead<Samples>::failed(fields.errorString());
    Samples samples = of(fields);
    if (modeIsUnknown(connection, mode))
        samples.unknownMode = mode;
    return samples;
}

Samples Samples::of(const std::optional<QList<DesignField>> &fields)
{
    Samples samples;
    samples.available = fields.has_value();
    for (const DesignField &field : fields.value_or(QList<DesignField>()))
        samples.fields.insert(field.field, field);
    return samples;
}

RenderedRow renderRow(const PatternGrid &grid, int row, const Samples &samples)
{
    return render(grid, row, samples, nullptr);
}

bool isMark(QChar c)
{
    // No mark comes before the combining diacritics at U+0300.
    if (c.unicode() < 0x0300)
        return false;
    const QChar::Category category = c.category();
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing;
}

Measure measure(const RenderedRow &row)
{
    Measure m;
    for (const QChar c : row.text) {
        if (c == u'\n')
            continue;
        ++m.characters;
        // A single-byte code page: one byte for every character it holds,
        // and one replacement byte for any other, a surrogate pair included.
        if (!c.isLowSurrogate())
            ++m.bytes;
        if (!isMark(c))
            ++m.columns;
    }
    return m;
}

QList<Check> check(const PatternGrid &grid, const Samples &samples, int recordLength)
{
    QList<Check> cells;
    // The rows written, in order, each with its output lines' lengths.
    struct Written
    {
        int row;
        qsizetype firstLine;
    };
    std::vector<Written> rows;
    std::vector<qsizetype> lines;
    for (int row = 1; row <= grid.RowCount(); ++row) {
        if (grid.IsRowRemoved(row))
            continue;
        const qsizetype first = qsizetype(lines.size());
        render(grid, row, samples, &cells, &lines);
        if (qsizetype(lines.size()) > first)   // a row without cells is not written
            rows.push_back({row, first});
    }
    // The length lines must have: the record length, else one that more
    // than half of all lines, and at least two, share.
    std::optional<qsizetype> expected;
    if (recordLength > 0) {
        expected = recordLength;
    } else {
        std::map<qsizetype, qsizetype> linesOfLength;
        for (const qsizetype length : lines)
            ++linesOfLength[length];
        for (const auto &[length, count] : linesOfLength) {
            if (count >= 2 && 2 * count > qsizetype(lines.size()))
                expected = length;
        }
    }
    QList<Check> found;
    found.reserve(cells.size() + qsizetype(rows.size()) + 1);
    if (!samples.unknownMode.isEmpty())
        found.append({0, 0, Check::Kind::UnknownMode, unknownModeMessage(samples.unknownMode)});
    // Each row's lines that differ, before its cells' checks.
    auto cell = cells.cbegin();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = rows[i].row;
        for (; cell != cells.cend() && cell->row < row; ++cell)
            found.append(*cell);
        if (!expected)
            continue;
        const qsizetype first = rows[i].firstLine;
        const qsizetype end = i + 1 < rows.size() ? rows[i + 1].firstLine : qsizetype(lines.size());
        for (qsizetype line = first; line < end; ++line) {
            if (lines[line] == *expected)
                continue;
            const QString where = end - first > 1 ? QStringLiteral("%1 row %2, line %3").arg(PatternRows::word(grid, row)).arg(row).arg(line - first + 1)
                                                  : QStringLiteral("%1 row %2").arg(PatternRows::word(grid, row)).arg(row);
            found.append({row, 0, Check::Kind::RowLength,
                          QStringLiteral("%1: %2; %3")
                              .arg(where, TextTools::counted(lines[line], "character", "characters"),
                                   recordLength > 0 ? QStringLiteral("the record length is %1").arg(recordLength)
                                                    : QStringLiteral("most lines: %1").arg(*expected))});
        }
    }
    for (; cell != cells.cend(); ++cell)
        found.append(*cell);
    return found;
}

QList<Check> loadChecks(const PatternFile::LoadReport &report)
{
    QList<Check> found;
    for (const PatternFile::LoadReport::Overlong &line : report.overlong)
        found.append({line.row, 0, Check::Kind::CellsNotLoaded,
                      QStringLiteral("line %1 has %2 cells; only Field1 to Field%3 were loaded")
                          .arg(line.line)
                          .arg(line.cells)
                          .arg(GridLayout::kLastFieldColumn - GridLayout::kFirstFieldColumn + 1)});
    return found;
}

} // namespace PatternPreview

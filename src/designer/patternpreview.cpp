#include "patternpreview.h"

#include "components/patterngrid.h"
#include "components/texttools.h"
#include "designer/gridlayout.h"
#include "designer/linelength.h"
#include "field/fielddescriptor.h"
#include "field/fieldpreview.h"

#include <QStringTokenizer>

#include <algorithm>
#include <map>

namespace PatternPreview {

namespace {

const QString kNewLine = QStringLiteral("{NL}");

// The parts of a cell the output needs, read in one pass over its text
// (pieces split at ":", as the descriptor has them): the preview reads a
// whole pattern's cells on every check.
struct Cell
{
    Span::Kind kind = Span::Kind::Other;
    QStringView field;           // the identifier, braces and all
    int counted = 0;             // the length the line length counts
    int alignment = FieldSettings::Left;
    QStringView fill;
    QStringView constant;

    // The identifier without braces. Where the braces are only around it,
    // as written, the text is not copied: the result then lives as long
    // as the cell's text.
    QString name() const
    {
        const QStringView inner = field.startsWith(u'{') && field.endsWith(u'}') ? field.sliced(1, field.size() - 2) : field;
        if (std::any_of(inner.begin(), inner.end(), [](QChar c) { return c == u'{' || c == u'}'; }))
            return field.toString().remove(u'{').remove(u'}');
        return QString::fromRawData(inner.data(), inner.size());
    }
};

Cell parse(const QString &text)
{
    Cell cell;
    int i = 0;
    for (const QStringView piece : QStringTokenizer(text, u':')) {
        if (i == 0) {
            const QStringView tag = TextTools::trimSpaces(piece).left(3);
            cell.kind = tag == u"[F]" ? Span::Kind::Field : tag == u"[C]" ? Span::Kind::Constant : Span::Kind::Other;
            if (cell.kind == Span::Kind::Other) {
                cell.counted = LineLength::cellLength(text);
                break;
            }
        } else if (i == 1) {
            (cell.kind == Span::Kind::Constant ? cell.constant : cell.field) = piece;
        } else if (i == 2) {
            // As the line length reads it: the third piece as a 16-bit number.
            cell.counted = TextTools::ToInteger(QString::fromRawData(piece.data(), piece.size())).value_or(0);
            if (cell.kind == Span::Kind::Constant)
                break;
        } else if (i == 3) {
            cell.alignment = alignmentOf(piece);
        } else if (i == 4) {
            cell.fill = piece.left(1);
            break;
        }
        ++i;
    }
    return cell;
}

// Renders a row; with `found`, only appends the cells' checks to it and
// counts the characters the row writes into `length` instead of writing
// them: a field writes its length (none below 1), a constant its text
// without the {NL} markers.
RenderedRow render(const PatternGrid &grid, int row, const Samples &samples, QList<Check> *found,
                   qsizetype *length = nullptr)
{
    RenderedRow rendered;
    if (!found) {
        rendered.text.reserve(512);
        rendered.spans.reserve(GridLayout::kLastFieldColumn - GridLayout::kFirstFieldColumn + 1);
    }
    for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c) {
        const QString text = grid.CellText(row, c);
        if (text.isEmpty())
            continue;
        const Cell cell = parse(text);
        Span span{c, cell.kind, {}, rendered.text.size(), 0};
        const auto add = [&](Check::Kind kind, const QString &message) {
            if (found)
                found->append({row, c, kind, message});
        };
        if (cell.kind == Span::Kind::Field) {
            const QString name = cell.name();
            const auto known = samples.fields.constFind(name);
            // The span keeps a name of its own: the stored key, or a copy.
            span.field = known != samples.fields.cend() ? known.key() : QString(name.data(), name.size());
            // Without samples a field shows its name in braces, laid out alike.
            static const QString none;
            const QString braced = samples.available ? QString() : u'{' + name + u'}';
            const QString &sample = !samples.available ? braced
                                  : known == samples.fields.cend() ? none
                                                                   : known->formattedSample;
            if (found)
                *length += qMax(cell.counted, 0);
            else
                rendered.text += FieldPreview::adjust(sample, QString::fromRawData(cell.fill.data(), cell.fill.size()),
                                                      cell.counted, cell.alignment);
            if (samples.available && known == samples.fields.cend())
                add(Check::Kind::UnknownField, QStringLiteral("the mode has no field %1").arg(name));
            else if (samples.available && sample.size() > cell.counted)
                add(Check::Kind::SampleCut,
                    QStringLiteral("sample %1 characters, %2 kept: the %3 part is cut")
                        .arg(sample.size())
                        .arg(qMax(cell.counted, 0))
                        .arg(cell.alignment == FieldSettings::Right ? QStringLiteral("left") : QStringLiteral("right")));
        } else if (cell.kind == Span::Kind::Constant) {
            const int actual = constantLength(QString::fromRawData(cell.constant.data(), cell.constant.size()));
            if (found)
                *length += actual;
            else if (cell.constant.contains(kNewLine))
                rendered.text += cell.constant.toString().replace(kNewLine, QStringLiteral("\n"));
            else
                rendered.text += cell.constant;
            if (actual != cell.counted)
                add(Check::Kind::ConstantCount,
                    QStringLiteral("constant of %1 characters stored with the count %2").arg(actual).arg(cell.counted));
        } else {
            add(Check::Kind::NotACell, QStringLiteral("neither a field nor a constant: kept as written, counted as 0"));
        }
        span.end = rendered.text.size();
        if (found)
            rendered.spans.resize(1);   // the checks ask only whether the row writes anything
        else
            rendered.spans.append(span);
    }
    return rendered;
}

} // namespace

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

QString typeName(const PatternGrid &grid, int row)
{
    switch (grid.CellListIndex(row, GridLayout::kTypeColumn)) {
    case 0: return QStringLiteral("LINE");
    case 1: return QStringLiteral("GROUP");
    default: return QStringLiteral("LOOP");   // as the file stores any other type
    }
}

bool isMark(QChar c)
{
    // No mark comes before the combining diacritics at U+0300.
    return c.unicode() >= 0x0300
        && (c.category() == QChar::Mark_NonSpacing || c.category() == QChar::Mark_Enclosing);
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

QList<Check> check(const PatternGrid &grid, const Samples &samples)
{
    QList<Check> cells;
    std::vector<std::pair<int, qsizetype>> lengths;   // rows in order, with their lengths
    for (int row = 1; row <= grid.RowCount(); ++row) {
        if (grid.IsRowRemoved(row))
            continue;
        qsizetype length = 0;
        if (!render(grid, row, samples, &cells, &length).spans.isEmpty())   // a row without cells is not written
            lengths.emplace_back(row, length);
    }
    // The length most rows have (the shorter one on a tie), and the rows
    // that differ from it, each before its cells' checks.
    std::map<qsizetype, int> rowsOfLength;
    for (const auto &[row, length] : lengths)
        ++rowsOfLength[length];
    qsizetype common = 0;
    int most = 0;
    for (const auto &[length, rows] : rowsOfLength) {
        if (rows > most) {
            most = rows;
            common = length;
        }
    }
    QList<Check> found;
    found.reserve(cells.size() + qsizetype(lengths.size()));
    auto cell = cells.cbegin();
    for (const auto &[row, length] : lengths) {
        for (; cell != cells.cend() && cell->row < row; ++cell)
            found.append(*cell);
        if (length != common)
            found.append({row, 0, Check::Kind::RowLength,
                          QStringLiteral("%1 row %2: %3 characters; most rows: %4")
                              .arg(typeName(grid, row)).arg(row).arg(length).arg(common)});
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

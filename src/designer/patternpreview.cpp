#include "patternpreview.h"

#include "components/codepage.h"
#include "components/patterngrid.h"
#include "designer/gridlayout.h"
#include "designer/linelength.h"
#include "field/fielddescriptor.h"
#include "field/fieldpreview.h"

#include <QStringEncoder>

#include <algorithm>
#include <map>

namespace PatternPreview {

namespace {

const QString kNewLine = QStringLiteral("{NL}");

Span::Kind kindOf(const QString &cell)
{
    const QString tag = descriptorTag(cell);
    return tag == u"[F]" ? Span::Kind::Field : tag == u"[C]" ? Span::Kind::Constant : Span::Kind::Other;
}

// What a data field writes: its sample laid out at its length, or, without
// samples, its name in braces laid out the same way.
QString fieldText(const FieldSettings &field, int width, const Samples &samples)
{
    const QString sample = samples.available ? samples.fields.value(field.fieldName).formattedSample
                                             : u'{' + field.fieldName + u'}';
    return FieldPreview::adjust(sample, field.fill, width, field.alignment);
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
    RenderedRow rendered;
    for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c) {
        const QString cell = grid.CellText(row, c);
        if (cell.isEmpty())
            continue;
        Span span{c, kindOf(cell), {}, rendered.text.size(), 0};
        const FieldSettings settings = loadDescriptor(cell, FieldSettings());
        if (span.kind == Span::Kind::Field) {
            span.field = settings.fieldName;
            rendered.text += fieldText(settings, LineLength::cellLength(cell), samples);
        } else if (span.kind == Span::Kind::Constant) {
            rendered.text += QString(settings.constantText).replace(kNewLine, QStringLiteral("\n"));
        }
        span.end = rendered.text.size();
        rendered.spans.append(span);
    }
    return rendered;
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
    return c.category() == QChar::Mark_NonSpacing || c.category() == QChar::Mark_Enclosing;
}

Measure measure(const RenderedRow &row)
{
    const QString text = QString(row.text).remove(u'\n');
    Measure m;
    m.characters = text.size();
    m.bytes = QByteArray(QStringEncoder(CodePage::kPattern).encode(text)).size();
    m.columns = std::count_if(text.cbegin(), text.cend(), [](QChar c) { return !isMark(c); });
    return m;
}

QList<Check> check(const PatternGrid &grid, const Samples &samples)
{
    QList<Check> found;
    std::map<int, qsizetype> lengths;   // row -> length
    for (int row = 1; row <= grid.RowCount(); ++row) {
        if (grid.IsRowRemoved(row))
            continue;
        const RenderedRow rendered = renderRow(grid, row, samples);
        if (rendered.spans.isEmpty())
            continue;   // a row without cells is not written
        lengths[row] = rendered.length();
        for (const Span &span : rendered.spans) {
            const QString cell = grid.CellText(row, span.column);
            const FieldSettings settings = loadDescriptor(cell, FieldSettings());
            const auto add = [&](Check::Kind kind, const QString &message) {
                found.append({row, span.column, kind, message});
            };
            if (span.kind == Span::Kind::Other) {
                add(Check::Kind::NotACell, QStringLiteral("neither a field nor a constant: kept as written, counted as 0"));
            } else if (span.kind == Span::Kind::Constant) {
                const int stored = LineLength::cellLength(cell);
                const int actual = constantLength(settings.constantText);
                if (stored != actual)
                    add(Check::Kind::ConstantCount,
                        QStringLiteral("constant of %1 characters stored with the count %2").arg(actual).arg(stored));
            } else if (samples.available && !samples.fields.contains(settings.fieldName)) {
                add(Check::Kind::UnknownField, QStringLiteral("the mode has no field %1").arg(settings.fieldName));
            } else if (samples.available) {
                const qsizetype sample = samples.fields.value(settings.fieldName).formattedSample.size();
                const int kept = LineLength::cellLength(cell);
                if (sample > kept)
                    add(Check::Kind::SampleCut,
                        QStringLiteral("sample %1 characters, %2 kept: the %3 part is cut")
                            .arg(sample)
                            .arg(qMax(kept, 0))
                            .arg(settings.alignment == FieldSettings::Right ? QStringLiteral("left")
                                                                            : QStringLiteral("right")));
            }
        }
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
    for (const auto &entry : lengths) {
        const int row = entry.first;
        if (entry.second == common)
            continue;
        const Check rowCheck{row, 0, Check::Kind::RowLength,
                             QStringLiteral("%1 row %2: %3 characters; most rows: %4")
                                 .arg(typeName(grid, row)).arg(row).arg(entry.second).arg(common)};
        const auto at = std::find_if(found.begin(), found.end(), [row](const Check &c) { return c.row >= row; });
        found.insert(at, rowCheck);
    }
    return found;
}

} // namespace PatternPreview

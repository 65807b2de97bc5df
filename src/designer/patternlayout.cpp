#include "patternlayout.h"

#include "components/patterngrid.h"
#include "designer/patternrows.h"
#include "designer/csvtext.h"
#include "designer/gridlayout.h"
#include "field/fielddescriptor.h"

#include <QHash>
#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>

#include <charconv>
#include <string>
#include <unordered_map>

namespace PatternLayout {

namespace {

using PatternPreview::Span;

// Column indexes of keys().
enum Key {
    kRow, kType, kCell, kKind, kField, kName, kLine, kStart, kEndLine, kEnd, kLength,
    kAlignment, kFill, kPrefix, kSuffix, kMultiLine, kSample, kRowLength, kKeyCount
};

const QChar kBreakMark = QChar(0x21B5);   // ↵, as the preview shows a break

QString kindName(Span::Kind kind)
{
    switch (kind) {
    case Span::Kind::Field: return QStringLiteral("field");
    case Span::Kind::Constant: return QStringLiteral("constant");
    case Span::Kind::Other: break;
    }
    return QStringLiteral("other");
}

QString alignmentName(int alignment)
{
    switch (alignment) {
    case FieldSettings::Center: return QStringLiteral("center");
    case FieldSettings::Right: return QStringLiteral("right");
    default: return QStringLiteral("left");
    }
}

// Appends the value of `key` as text; nothing for a value the cell has not.
void appendValue(QString &out, const CellLayout &c, int key)
{
    const auto number = [&out](qsizetype value, bool present) {
        char digits[24];
        if (present)
            out += QLatin1StringView(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    };
    switch (key) {
    case kRow: return number(c.row, true);
    case kType: out += c.type; return;
    case kCell: out += c.cell; return;
    case kKind: out += kindName(c.kind); return;
    case kField: out += c.field; return;
    case kName: out += c.name; return;
    case kLine: return number(c.line, c.writes());
    case kStart: return number(c.start, c.writes());
    case kEndLine: return number(c.endLine, c.writes());
    case kEnd: return number(c.end, c.writes());
    case kLength: return number(c.length, true);
    case kAlignment: out += c.alignment; return;
    case kFill: out += c.fill; return;
    case kPrefix: out += c.prefix; return;
    case kSuffix: out += c.suffix; return;
    case kMultiLine: return number(c.multiLine, c.multiLine >= 0);
    case kSample: out += c.sample; return;
    case kRowLength: return number(c.rowLength, true);
    }
}

bool isNumber(int key)
{
    return key == kRow || key == kLine || key == kStart || key == kEndLine || key == kEnd || key == kLength
        || key == kMultiLine || key == kRowLength;
}

// A record's values as text in key order; "" for a value the cell has not.
QStringList texts(const CellLayout &c)
{
    QStringList t(kKeyCount);
    for (int k = 0; k < kKeyCount; ++k)
        appendValue(t[k], c, k);
    return t;
}

QJsonObject jsonOf(const CellLayout &c)
{
    const auto optional = [](qsizetype value, bool present) { return present ? QJsonValue(value) : QJsonValue(); };
    static const QStringList k = keys();
    return {{k[kRow], c.row},
            {k[kType], c.type},
            {k[kCell], c.cell},
            {k[kKind], kindName(c.kind)},
            {k[kField], c.field.isEmpty() ? QJsonValue() : QJsonValue(c.field)},
            {k[kName], c.field.isEmpty() ? QJsonValue() : QJsonValue(c.name)},
            {k[kLine], optional(c.line, c.writes())},
            {k[kStart], optional(c.start, c.writes())},
            {k[kEndLine], optional(c.endLine, c.writes())},
            {k[kEnd], optional(c.end, c.writes())},
            {k[kLength], c.length},
            {k[kAlignment], c.alignment.isEmpty() ? QJsonValue() : QJsonValue(c.alignment)},
            {k[kFill], c.multiLine < 0 ? QJsonValue() : QJsonValue(c.fill)},
            {k[kPrefix], c.multiLine < 0 ? QJsonValue() : QJsonValue(c.prefix)},
            {k[kSuffix], c.multiLine < 0 ? QJsonValue() : QJsonValue(c.suffix)},
            {k[kMultiLine], optional(c.multiLine, c.multiLine >= 0)},
            {k[kSample], c.sample},
            {k[kRowLength], c.rowLength}};
}

// Appends the value of `key` as a CSV field and the separator after it.
void appendCsv(QString &out, const CellLayout &c, int key)
{
    const qsizetype from = out.size();
    appendValue(out, c, key);
    if (!isNumber(key))
        CsvText::quote(out, from);
    out += key + 1 < kKeyCount ? QLatin1String(",") : QLatin1String("\r\n");
}

QByteArray csvOf(const QString &text)
{
    return CsvText::field(text).toUtf8();
}

// A value as the table and the sheet show it: breaks as ↵; the fill,
// prefix and suffix in quotes, so a space shows; other control characters
// as their pictures (␛ for an escape, � for a C1 control), one column each,
// so that a table on a terminal shows them instead of acting on them.
QString shown(const QString &value, int key)
{
    if (value.isEmpty())
        return value;
    QString text = key == kFill || key == kPrefix || key == kSuffix ? u'\'' + value + u'\''
        : key == kSample                                            ? QString(value).replace(u'\n', kBreakMark)
                                                                    : value;
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20)
            c = QChar(0x2400 + u);
        else if (u == 0x7f)
            c = QChar(0x2421);
        else if (u >= 0x80 && u < 0xa0)
            c = QChar::ReplacementCharacter;
    }
    return text;
}

// The columns a text takes on screen: a Thai mark above or below takes none.
qsizetype columnsOf(const QString &text)
{
    qsizetype columns = 0;
    for (const QChar c : text)
        columns += PatternPreview::isMark(c) ? 0 : 1;
    return columns;
}

// What a cell's text fixes whatever row it stands in, the samples being
// those of the whole run: its record but for the row, type, cell, positions
// and row length, and those values as CSV. A long pattern repeats the same
// few texts row after row, so each is worked out once.
struct Known
{
    CellLayout cell;
    bool breaks = false;   // the sample holds a line break
    QByteArray csvWhat;    // kind, field and name as CSV, each with its comma
    QByteArray csvHow;     // length to sample alike
};
// What one run has worked out: each distinct cell text, each column's caption.
struct Memo
{
    std::unordered_map<QString, Known> texts;
    QHash<int, QString> captions;   // by grid column
};

Known describe(const Span &span, QStringView written, const QString &text, const PatternPreview::Samples &samples)
{
    Known known;
    CellLayout &c = known.cell;
    c.kind = span.kind;
    c.sample = written.toString();
    c.length = written.size() - written.count(u'\n');
    known.breaks = c.length != written.size();
    if (span.kind == Span::Kind::Field) {
        const FieldSettings settings = loadDescriptor(text, FieldSettings());
        c.field = span.field;
        const auto design = samples.fields.constFind(span.field);
        c.name = design == samples.fields.cend() ? QString() : design->name;
        c.alignment = alignmentName(settings.alignment);
        c.fill = settings.fill;
        c.prefix = settings.prefix;
        c.suffix = settings.suffix;
        c.multiLine = settings.multiLine;
    }
    QString what;
    QString how;
    for (int k = kKind; k <= kName; ++k)
        appendCsv(what, c, k);
    for (int k = kLength; k <= kSample; ++k)
        appendCsv(how, c, k);
    known.csvWhat = what.toUtf8();
    known.csvHow = how.toUtf8();
    return known;
}

// Where each cell of a row stands: its column, what its text fixes, its
// first and last written character's line and position (0 when it writes
// nothing).
struct Placed
{
    int column = 0;
    const Known *known = nullptr;
    int line = 0;
    int start = 0;
    int endLine = 0;
    int end = 0;
};

struct PlacedRow
{
    QString type;
    qsizetype length = 0;
    QList<Placed> cells;
};

PlacedRow place(const PatternGrid &grid, int row, const PatternPreview::Samples &samples, Memo &memo)
{
    const PatternPreview::RenderedRow rendered = PatternPreview::renderRow(grid, row, samples);
    PlacedRow out{PatternRows::word(grid, row), rendered.length(), {}};
    out.cells.reserve(rendered.spans.size());
    // The line and the position reached: the spans come in order.
    int line = 1;
    int position = 0;
    for (const Span &span : rendered.spans) {
        const QString text = grid.CellText(row, span.column);
        auto [entry, isNew] = memo.texts.try_emplace(text);
        if (isNew)
            entry->second = describe(span, QStringView(rendered.text).sliced(span.begin, span.end - span.begin), text, samples);
        Placed cell{span.column, &entry->second};
        const qsizetype length = cell.known->cell.length;
        if (!cell.known->breaks && length > 0) {
            cell.line = cell.endLine = line;
            cell.start = position + 1;
            cell.end = position += int(length);
        }
        for (qsizetype offset = span.begin; cell.known->breaks && offset < span.end; ++offset) {
            if (rendered.text.at(offset) == u'\n') {
                ++line;
                position = 0;
                continue;
            }
            if (cell.start == 0) {
                cell.line = line;
                cell.start = position + 1;
            }
            cell.endLine = line;
            cell.end = ++position;
        }
        out.cells.append(cell);
    }
    return out;
}

RowLayout layOut(const PatternGrid &grid, int row, const PatternPreview::Samples &samples, Memo &memo)
{
    const PlacedRow placed = place(grid, row, samples, memo);
    RowLayout out{row, placed.type, placed.length, {}};
    out.cells.reserve(placed.cells.size());
    for (const Placed &p : placed.cells) {
        CellLayout cell = p.known->cell;
        cell.row = row;
        cell.type = out.type;
        cell.column = p.column;
        auto caption = memo.captions.constFind(p.column);
        if (caption == memo.captions.cend())
            caption = memo.captions.insert(p.column, grid.CellText(0, p.column));
        cell.cell = *caption;
        cell.line = p.line;
        cell.start = p.start;
        cell.endLine = p.endLine;
        cell.end = p.end;
        cell.rowLength = out.length;
        out.cells.append(std::move(cell));
    }
    return out;
}

bool put(QIODevice &device, const QString &text, QString *error)
{
    const QByteArray bytes = text.toUtf8();
    if (device.write(bytes) == bytes.size())
        return true;
    if (error)
        *error = device.errorString();
    return false;
}

bool writeText(QIODevice &device, const PatternGrid &grid, const PatternPreview::Samples &samples, QString *error)
{
    const QList<int> rows = PatternRows::writtenRows(grid);
    const QStringList heading = keys();
    QList<qsizetype> widths(kKeyCount);
    const auto widen = [&widths](const QStringList &values) {
        for (int k = 0; k < kKeyCount; ++k)
            widths[k] = qMax(widths[k], values[k].isEmpty() ? 1 : columnsOf(values[k]));
    };
    const auto shownTexts = [](const CellLayout &cell) {
        QStringList values = texts(cell);
        for (int k = 0; k < kKeyCount; ++k)
            values[k] = shown(values[k], k);
        return values;
    };
    widen(heading);
    Memo memo;
    for (const int row : rows) {
        for (const CellLayout &cell : layOut(grid, row, samples, memo).cells)
            widen(shownTexts(cell));
    }
    const auto line = [&widths](const QStringList &values) {
        QString out;
        for (int k = 0; k < kKeyCount; ++k) {
            const QString value = values[k].isEmpty() ? QStringLiteral("-") : values[k];
            out += value;
            if (k + 1 < kKeyCount)   // the last column is not padded
                out += QString(widths[k] - columnsOf(value) + 2, u' ');
        }
        return out + u'\n';
    };
    if (!put(device, line(heading), error))
        return false;
    for (const int row : rows) {
        QString out;
        for (const CellLayout &cell : layOut(grid, row, samples, memo).cells)
            out += line(shownTexts(cell));
        if (!put(device, out, error))
            return false;
    }
    return true;
}

} // namespace

RowLayout layOutRow(const PatternGrid &grid, int row, const PatternPreview::Samples &samples)
{
    Memo memo;
    return layOut(grid, row, samples, memo);
}

QList<RowLayout> rowLayouts(const PatternGrid &grid, const PatternPreview::Samples &samples)
{
    QList<RowLayout> layouts;
    Memo memo;
    for (const int row : PatternRows::writtenRows(grid))
        layouts.append(layOut(grid, row, samples, memo));
    return layouts;
}

QStringList keys()
{
    return {QStringLiteral("row"),    QStringLiteral("type"),      QStringLiteral("cell"),
            QStringLiteral("kind"),   QStringLiteral("field"),     QStringLiteral("name"),
            QStringLiteral("line"),   QStringLiteral("start"),     QStringLiteral("endLine"),
            QStringLiteral("end"),    QStringLiteral("length"),    QStringLiteral("alignment"),
            QStringLiteral("fill"),   QStringLiteral("prefix"),    QStringLiteral("suffix"),
            QStringLiteral("multiLine"), QStringLiteral("sample"), QStringLiteral("rowLength")};
}

std::optional<Format> formatNamed(QStringView name)
{
    if (name == u"text")
        return Format::Text;
    if (name == u"csv")
        return Format::Csv;
    if (name == u"json")
        return Format::Json;
    return std::nullopt;
}

bool write(QIODevice &device, Format format, const PatternGrid &grid, const PatternPreview::Samples &samples,
           QString *error)
{
    if (format == Format::Text)
        return writeText(device, grid, samples, error);
    const bool csv = format == Format::Csv;
    // CSV is made as bytes from the pieces each text fixes; JSON object by object.
    std::string bytes = csv ? keys().join(u',').toStdString() + "\r\n" : "[";
    const auto append = [&bytes](const QByteArray &piece) { bytes.append(piece.constData(), size_t(piece.size())); };
    const auto number = [&bytes](qsizetype value) {
        char digits[24];
        bytes.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    };
    const auto written = [&device, &bytes, error] {
        const bool done = device.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
        if (!done && error)
            *error = device.errorString();
        bytes.clear();   // the buffer stays for the next row
        return done;
    };
    Memo memo;
    QList<QByteArray> captions(GridLayout::kLastFieldColumn + 1);   // each column's caption as CSV, with its comma
    bool first = true;
    for (const int row : PatternRows::writtenRows(grid)) {
        if (!csv) {
            for (const CellLayout &cell : layOut(grid, row, samples, memo).cells) {
                bytes += first ? "\n  " : ",\n  ";
                append(QJsonDocument(jsonOf(cell)).toJson(QJsonDocument::Compact));
                first = false;
            }
        } else {
            const PlacedRow placed = place(grid, row, samples, memo);
            const QByteArray head = QByteArray::number(row) + ',' + csvOf(placed.type) + ',';
            for (const Placed &cell : placed.cells) {
                QByteArray &caption = captions[cell.column];
                if (caption.isEmpty())
                    caption = csvOf(grid.CellText(0, cell.column)) + ',';
                append(head);
                append(caption);
                append(cell.known->csvWhat);
                if (cell.start > 0) {
                    for (const int position : {cell.line, cell.start, cell.endLine, cell.end}) {
                        number(position);
                        bytes += ',';
                    }
                } else {
                    bytes += ",,,,";
                }
                append(cell.known->csvHow);
                number(placed.length);
                bytes += "\r\n";
            }
        }
        if (!written())
            return false;
    }
    if (!csv)
        bytes += first ? "]\n" : "\n]\n";
    return written();
}

QString sheetHtml(const SheetHeading &heading, const PatternGrid &grid, const PatternPreview::Samples &samples)
{
    // Row, type and row length stand in each table's title.
    const QList<int> columns{kCell, kKind, kField, kName, kLine, kStart, kEndLine, kEnd, kLength,
                             kAlignment, kFill, kPrefix, kSuffix, kMultiLine, kSample};
    const QStringList names = keys();
    const auto escaped = [](const QString &text) { return text.toHtmlEscaped(); };
    QString html = QStringLiteral(
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1</title>\n"
        "<style>body { font-family: Garuda, Loma, sans-serif; font-size: 9pt; }\n"
        "h1 { font-size: 14pt; } h2 { font-size: 10pt; margin-top: 12pt; }\n"
        "th { background-color: #e8e8e8; text-align: left; }\n"
        "td.n { text-align: right; } td.s { white-space: pre; }</style>"
        "</head><body>\n")
        .arg(escaped(QStringLiteral("Layout of %1").arg(heading.fileName)));
    html += QStringLiteral("<h1>Layout of %1</h1>\n<p>Mode: %2 — %3<br>Date: %4</p>\n")
                .arg(escaped(heading.fileName), escaped(heading.mode), escaped(heading.modeName),
                     heading.date.toString(Qt::ISODate));
    const QList<int> rows = PatternRows::writtenRows(grid);
    if (rows.isEmpty())
        html += QStringLiteral("<p>The pattern has no rows.</p>\n");
    Memo memo;
    for (const int row : rows) {
        const RowLayout layout = layOut(grid, row, samples, memo);
        html += QStringLiteral("<h2>Row %1 — %2 — total length %3</h2>\n"
                               "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\"><tr>")
                    .arg(row).arg(layout.type).arg(layout.length);
        for (const int k : columns)
            html += QStringLiteral("<th>%1</th>").arg(names[k]);
        html += QStringLiteral("</tr>\n");
        for (const CellLayout &cell : layout.cells) {
            const QStringList values = texts(cell);
            html += QStringLiteral("<tr>");
            for (const int k : columns) {
                html += QStringLiteral("<td%1>%2</td>")
                            .arg(k == kSample ? QStringLiteral(" class=\"s\"") : isNumber(k) ? QStringLiteral(" class=\"n\"") : QString(),
                                 escaped(shown(values[k], k)));
            }
            html += QStringLiteral("</tr>\n");
        }
        html += QStringLiteral("</table>\n");
    }
    return html + QStringLiteral("</body></html>\n");
}

} // namespace PatternLayout

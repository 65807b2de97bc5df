#include "exportmatch.h"

#include "components/codepage.h"
#include "components/texttools.h"
#include "designer/csvtext.h"
#include "designer/gridlayout.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <vector>

namespace ExportMatch {

using RecordShape::Piece;
using RecordShape::Row;

QString ExportText::lineEnds() const
{
    if (crlf > 0 && lf > 0)
        return QStringLiteral("mixed: %1 CR LF, %2 LF").arg(crlf).arg(lf);
    return crlf > 0 ? QStringLiteral("CR LF") : lf > 0 ? QStringLiteral("LF") : QStringLiteral("none");
}

std::optional<ExportText> decode(const QByteArray &bytes, const char *encoding, QString *error)
{
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0) {
        if (error) {
            const qsizetype line = bytes.first(nul).count('\n') + 1;
            *error = QStringLiteral("line %1: a NUL byte; this is no text file").arg(line);
        }
        return std::nullopt;
    }
    QByteArrayView view(bytes);
    if (qstrcmp(encoding, "utf-8") == 0 && view.startsWith(CodePage::kUtf8ByteOrderMark))
        view = view.sliced(3);
    QStringDecoder decoder(encoding);
    ExportText out;
    out.text = decoder.decode(view);
    const QString &text = out.text;
    out.lines.reserve(bytes.count('\n') + 1);
    for (qsizetype from = 0; from < text.size();) {
        qsizetype end = text.indexOf(u'\n', from);
        const bool ended = end >= 0;
        if (!ended)
            end = text.size();
        qsizetype last = end;
        if (ended && last > from && text.at(last - 1) == u'\r') {
            --last;
            ++out.crlf;
        } else if (ended) {
            ++out.lf;
        }
        out.lines.append({from, last - from});
        from = end + 1;
    }
    return out;
}

namespace {

bool fitsLine(const RecordShape::Line &shape, QStringView line)
{
    if (line.size() != shape.length)
        return false;
    for (const auto &[position, c] : shape.fixed) {
        if (line.at(position) != c)
            return false;
    }
    return true;
}

bool fits(const Row &shape, const ExportText &text, qsizetype at)
{
    if (at + shape.lines.size() > text.size())
        return false;
    for (qsizetype j = 0; j < shape.lines.size(); ++j) {
        if (!fitsLine(shape.lines.at(j), text.line(at + j)))
            return false;
    }
    return true;
}

// How near a line comes to a shape's first line, and where it first
// differs: the fewer fixed characters wrong the nearer (a filler of spaces
// that a line of another row happens to share must not outweigh the
// record type it gets wrong), then a line of the same length, then the
// more fixed characters right.
struct Nearness
{
    qsizetype wrong = 0;
    bool sameLength = false;
    qsizetype right = 0;

    bool nearerThan(const Nearness &other) const
    {
        if (wrong != other.wrong)
            return wrong < other.wrong;
        if (sameLength != other.sameLength)
            return sameLength;
        return right > other.right;
    }
};

std::pair<Nearness, Difference> compare(const Row &shape, QStringView line)
{
    const RecordShape::Line &first = shape.lines.constFirst();
    Difference difference{0, {}, {}, int(line.size()), first.length};
    Nearness nearness{0, line.size() == first.length, 0};
    for (const auto &[position, c] : first.fixed) {
        const QChar found = position < line.size() ? line.at(position) : QChar();
        if (found == c) {
            ++nearness.right;
            continue;
        }
        ++nearness.wrong;
        if (difference.position == 0) {
            difference.position = position + 1;
            difference.found = found;
            difference.expected = c;
        }
    }
    return {nearness, difference};
}

QString shown(QChar c)
{
    if (c.isNull())
        return QStringLiteral("the end of the line");
    if (c.unicode() < 0x20 || c.unicode() == 0x7f)
        return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return u'\'' + QString(c) + u'\'';
}

QString cellName(int column)
{
    return QStringLiteral("Field%1").arg(column - GridLayout::kFirstFieldColumn + 1);
}

// A text as a JSON string, quotes and all.
QString jsonString(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.sliced(1, array.size() - 2));
}

QString rowName(const Row &shape)
{
    return QStringLiteral("row %1 (%2)").arg(shape.row).arg(shape.type);
}

QString tieNote(const QList<Row> &shapes, const QList<int> &ties)
{
    QStringList rows;
    for (const int shape : ties)
        rows << rowName(shapes.at(shape));
    return rows.join(QStringLiteral(", ")) + (ties.size() == 1 ? QStringLiteral(" fits as well") : QStringLiteral(" fit as well"));
}

} // namespace

Result inspect(const QList<Row> &shapes, const ExportText &text)
{
    Result result;
    result.lines.resize(text.size());
    result.records.fill(0, shapes.size());
    // Only rows whose first line has the line's length can fit it.
    QHash<int, QList<int>> byLength;
    for (int s = 0; s < shapes.size(); ++s)
        byLength[shapes.at(s).lines.constFirst().length].append(s);
    QList<qsizetype> fixed(shapes.size());
    for (int s = 0; s < shapes.size(); ++s)
        fixed[s] = shapes.at(s).fixedCount();

    for (qsizetype at = 0; at < text.size();) {
        int best = -1;
        QList<int> ties;
        const auto sameLength = byLength.constFind(int(text.lines[at].second));
        for (const int s : sameLength == byLength.cend() ? QList<int>() : *sameLength) {
            if (!fits(shapes.at(s), text, at))
                continue;
            if (best < 0 || fixed[s] > fixed[best]) {
                best = s;
                ties.clear();
            } else if (fixed[s] == fixed[best]) {
                ties.append(s);
            }
        }
        if (best >= 0) {
            const qsizetype parts = shapes.at(best).lines.size();
            for (qsizetype j = 0; j < parts; ++j)
                result.lines[at + j] = {best, int(j), -1, {}};
            if (!ties.isEmpty())
                result.ties.insert(int(at), ties);
            ++result.records[best];
            at += parts;
            continue;
        }
        LineMatch &miss = result.lines[at];
        Nearness nearest;
        for (int s = 0; s < shapes.size(); ++s) {
            const auto [nearness, difference] = compare(shapes.at(s), text.line(at));
            if (miss.nearest < 0 || nearness.nearerThan(nearest)) {
                nearest = nearness;
                miss.nearest = s;
                miss.difference = difference;
            }
        }
        ++result.unmatched;
        ++at;
    }
    return result;
}

PatternPreview::RenderedRow recordAt(const QList<Row> &shapes, const ExportText &text, const Result &result,
                                     qsizetype line, int *row)
{
    PatternPreview::RenderedRow record;
    const LineMatch &match = result.lines.at(line);
    const int shape = match.shape >= 0 ? match.shape : match.nearest;
    if (row)
        *row = shape >= 0 ? shapes.at(shape).row : 0;
    if (match.shape < 0) {
        record.text = text.line(line).toString();
        return record;
    }
    const Row &of = shapes.at(match.shape);
    const qsizetype first = line - match.part;
    for (qsizetype part = 0; part < of.lines.size(); ++part) {
        if (part > 0)
            record.text += u'\n';
        const qsizetype offset = record.text.size();
        record.text += text.line(first + part);
        // A real record's field is all data: which of its spaces a fill
        // wrote is not known, so none is shown as one.
        for (const Piece &piece : of.lines.at(part).pieces) {
            const qsizetype begin = offset + piece.start - 1;
            const qsizetype end = offset + piece.end;
            record.spans.append({piece.column, piece.kind, piece.field, begin, end, begin, end});
        }
    }
    return record;
}

QStringView textOf(QStringView line, const Piece &piece)
{
    return line.mid(piece.start - 1, piece.length());
}

QString describeMiss(const QList<Row> &shapes, const LineMatch &match)
{
    if (match.nearest < 0)
        return QStringLiteral("no row matches: the pattern has no rows");
    const Row &shape = shapes.at(match.nearest);
    const Difference &d = match.difference;
    QString text = QStringLiteral("no row matches: nearest %1, ").arg(rowName(shape));
    if (d.position > 0) {
        text += QStringLiteral("position %1: %2, row %3 expects %4")
                    .arg(d.position)
                    .arg(shown(d.found))
                    .arg(shape.row)
                    .arg(shown(d.expected));
        if (d.length != d.expectedLength)
            text += QStringLiteral("; the line has %1, the row writes %2")
                        .arg(TextTools::counted(d.length, "character", "characters"))
                        .arg(d.expectedLength);
    } else {
        text += QStringLiteral("the line has %1, row %2 writes %3")
                    .arg(TextTools::counted(d.length, "character", "characters"))
                    .arg(shape.row)
                    .arg(d.expectedLength);
    }
    if (shape.lines.size() > 1 && d.position == 0 && d.length == d.expectedLength)
        text += shape.lines.size() == 2 ? QStringLiteral("; its second line does not follow")
                                        : QStringLiteral("; its other %1 lines do not follow").arg(shape.lines.size() - 1);
    return text;
}

QString summary(const QList<Row> &shapes, const ExportText &text, const Result &result)
{
    QStringList perRow;
    for (int s = 0; s < shapes.size(); ++s)
        perRow << QStringLiteral("%1 %2").arg(rowName(shapes.at(s))).arg(result.records.at(s));
    QString out = TextTools::counted(text.size(), "line", "lines") + QStringLiteral(" read");
    if (!perRow.isEmpty())
        out += QStringLiteral("; records: ") + perRow.join(QStringLiteral(", "));
    out += QStringLiteral("; ") + (result.unmatched == 1 ? QStringLiteral("1 line matches no row")
                                                        : QStringLiteral("%1 lines match no row").arg(result.unmatched));
    out += QStringLiteral("; line ends: ") + text.lineEnds();
    return out;
}

namespace {

// UTF-8 output gathered in a buffer and written in pieces: an export file
// of a hundred thousand lines gives tens of megabytes, so the text form is
// made as bytes straight away, its fixed parts encoded once.
class Output
{
public:
    Output(QIODevice &device, QString *error)
        : m_device(device)
        , m_error(error)
        , m_buffer(kPiece)
    {
    }

    void add(QByteArrayView bytes)
    {
        char *out = room(bytes.size());
        std::memcpy(out, bytes.data(), size_t(bytes.size()));
        m_used += size_t(bytes.size());
    }
    void add(QStringView text) { m_used = size_t(encode(room(3 * text.size()), text) - m_buffer.data()); }
    void number(qsizetype value)
    {
        char *out = room(24);
        m_used = size_t(std::to_chars(out, out + 24, value).ptr - m_buffer.data());
    }
    // `text` with a quote, a backslash and control characters escaped, to
    // stand between quotes: a line of output stays one line. One pass:
    // most fields are digits and letters, which are their own bytes.
    void escaped(QStringView text)
    {
        char *out = room(6 * text.size());
        for (qsizetype i = 0; i < text.size();) {
            const char16_t c = text[i].unicode();
            if (c >= 0x20 && c < 0x7f && c != u'"' && c != u'\\') {
                *out++ = char(c);
                ++i;
            } else if (c == u'"' || c == u'\\') {
                *out++ = '\\';
                *out++ = char(c);
                ++i;
            } else if (c < 0x20 || (c >= 0x7f && c < 0xa0)) {
                out += std::snprintf(out, 7, c < 0x80 ? "\\x%02x" : "\\u%04x", unsigned(c));
                ++i;
            } else {
                qsizetype end = i + 1;
                while (end < text.size() && text[end].unicode() >= 0xa0)
                    ++end;
                out = m_utf8.appendToBuffer(out, text.sliced(i, end - i));
                i = end;
            }
        }
        m_used = size_t(out - m_buffer.data());
    }
    // Writes what is gathered once there is a piece's worth, or always;
    // false once a write failed.
    bool flush(bool always = false)
    {
        if (always || m_used >= kPiece)
            write();
        return !m_failed;
    }

private:
    static constexpr size_t kPiece = 1 << 16;

    // Room for `bytes` more at the end of what is gathered.
    char *room(qsizetype bytes)
    {
        const size_t needed = size_t(bytes);
        if (m_used + needed > m_buffer.size()) {
            write();
            if (needed > m_buffer.size())
                m_buffer.resize(needed);
        }
        return m_buffer.data() + m_used;
    }
    char *encode(char *out, QStringView text)
    {
        qsizetype ascii = 0;
        for (; ascii < text.size() && text[ascii].unicode() < 0x80; ++ascii)
            *out++ = char(text[ascii].unicode());
        return ascii < text.size() ? m_utf8.appendToBuffer(out, text.sliced(ascii)) : out;
    }
    void write()
    {
        if (!m_failed && m_used > 0 && m_device.write(m_buffer.data(), qint64(m_used)) != qint64(m_used)) {
            m_failed = true;
            if (m_error)
                *m_error = m_device.errorString();
        }
        m_used = 0;
    }

    QIODevice &m_device;
    QString *m_error;
    std::vector<char> m_buffer;
    size_t m_used = 0;
    bool m_failed = false;
    QStringEncoder m_utf8{QStringEncoder::Utf8};
};

// What the text form writes of each row, whatever the line: per output
// line of the row, its head (": row 2 LOOP", ": row 3 GROUP, line 2 of 2"),
// a label per field piece before its text ("; Field3 PAYAMT 12-26 \"", the
// quote closing the text before it included) and its end, encoded once: an
// export file has many more lines than its pattern has rows.
struct TextLabels
{
    struct Part
    {
        QByteArray head;
        QList<std::pair<const Piece *, QByteArray>> fields;
        QByteArray end;
    };
    QList<QList<Part>> parts;   // [shape][part]

    explicit TextLabels(const QList<Row> &shapes)
    {
        for (const Row &shape : shapes) {
            QList<Part> partsOfRow;
            for (qsizetype part = 0; part < shape.lines.size(); ++part) {
                QString head = QStringLiteral(": row %1 %2").arg(shape.row).arg(shape.type);
                if (shape.lines.size() > 1)
                    head += QStringLiteral(", line %1 of %2").arg(part + 1).arg(shape.lines.size());
                Part p{head.toUtf8(), {}, "\n"};
                for (const Piece &piece : shape.lines.at(part).pieces) {
                    if (piece.kind == PatternPreview::Span::Kind::Field)
                        p.fields.append({&piece, QStringLiteral("%1%2 %3 %4-%5 \"")
                                                     .arg(p.fields.isEmpty() ? QStringLiteral(": ") : QStringLiteral("\"; "),
                                                          cellName(piece.column), piece.field)
                                                     .arg(piece.start)
                                                     .arg(piece.end)
                                                     .toUtf8()});
                }
                if (!p.fields.isEmpty())
                    p.end = "\"\n";
                partsOfRow.append(p);
            }
            parts.append(partsOfRow);
        }
    }
};

bool writeText(Output &out, const QString &fileName, const QList<Row> &shapes, const ExportText &text,
               const Result &result)
{
    const TextLabels labels(shapes);
    const QByteArray prefix = fileName.toUtf8() + ':';
    for (qsizetype i = 0; i < text.size(); ++i) {
        const LineMatch &match = result.lines.at(i);
        out.add(prefix);
        out.number(i + 1);
        if (match.shape < 0) {
            out.add(": ");
            out.add(describeMiss(shapes, match));
            out.add("\n");
        } else {
            const TextLabels::Part &part = labels.parts.at(match.shape).at(match.part);
            out.add(part.head);
            if (const auto tie = result.ties.constFind(int(i)); tie != result.ties.cend())
                out.add(QStringLiteral(" (%1)").arg(tieNote(shapes, *tie)));
            const QStringView line = text.line(i);
            for (const auto &[piece, label] : part.fields) {
                out.add(label);
                out.escaped(textOf(line, *piece));
            }
            out.add(part.end);
        }
        if (!out.flush())
            return false;
    }
    out.add(prefix + ' ' + summary(shapes, text, result).toUtf8() + '\n');
    return out.flush(true);
}

QJsonObject jsonOf(const QList<Row> &shapes, qsizetype index, QStringView line, const LineMatch &match,
                   const QList<int> *ties)
{
    QJsonObject object{{QStringLiteral("line"), index + 1}};
    if (match.shape < 0) {
        object.insert(QStringLiteral("row"), QJsonValue());
        if (match.nearest >= 0) {
            const Difference &d = match.difference;
            object.insert(QStringLiteral("nearest"), shapes.at(match.nearest).row);
            object.insert(QStringLiteral("position"), d.position > 0 ? QJsonValue(d.position) : QJsonValue());
            object.insert(QStringLiteral("length"), d.length);
            object.insert(QStringLiteral("expectedLength"), d.expectedLength);
        }
        object.insert(QStringLiteral("note"), describeMiss(shapes, match));
        return object;
    }
    const Row &shape = shapes.at(match.shape);
    object.insert(QStringLiteral("row"), shape.row);
    object.insert(QStringLiteral("type"), shape.type);
    object.insert(QStringLiteral("part"), match.part + 1);
    QJsonArray fields;
    for (const Piece &piece : shape.lines.at(match.part).pieces) {
        if (piece.kind != PatternPreview::Span::Kind::Field)
            continue;
        fields.append(QJsonObject{{QStringLiteral("cell"), cellName(piece.column)},
                                  {QStringLiteral("field"), piece.field},
                                  {QStringLiteral("start"), piece.start},
                                  {QStringLiteral("end"), piece.end},
                                  {QStringLiteral("text"), textOf(line, piece).toString()}});
    }
    object.insert(QStringLiteral("fields"), fields);
    if (ties) {
        QJsonArray rows;
        for (const int s : *ties)
            rows.append(shapes.at(s).row);
        object.insert(QStringLiteral("ties"), rows);
    }
    return object;
}

void appendCsv(QString &out, std::initializer_list<QString> values)
{
    bool first = true;
    for (const QString &value : values) {
        if (!first)
            out += u',';
        first = false;
        const qsizetype from = out.size();
        out += value;
        CsvText::quote(out, from);
    }
    out += QLatin1String("\r\n");
}

void appendCsvLine(QString &out, const QList<Row> &shapes, qsizetype index, QStringView line,
                   const LineMatch &match, const QList<int> *ties)
{
    const QString number = QString::number(index + 1);
    if (match.shape < 0) {
        appendCsv(out, {number, {}, {}, {}, {}, {}, {}, {}, {}, describeMiss(shapes, match)});
        return;
    }
    const Row &shape = shapes.at(match.shape);
    const QString row = QString::number(shape.row);
    const QString part = QString::number(match.part + 1);
    const QString note = ties ? tieNote(shapes, *ties) : QString();
    bool any = false;
    for (const Piece &piece : shape.lines.at(match.part).pieces) {
        if (piece.kind != PatternPreview::Span::Kind::Field)
            continue;
        any = true;
        appendCsv(out, {number, row, shape.type, part, cellName(piece.column), piece.field,
                        QString::number(piece.start), QString::number(piece.end), textOf(line, piece).toString(), note});
    }
    if (!any)
        appendCsv(out, {number, row, shape.type, part, {}, {}, {}, {}, {}, note});
}

} // namespace

bool write(QIODevice &device, PatternLayout::Format format, const QString &fileName, const QList<Row> &shapes,
           const ExportText &text, const Result &result, QString *error)
{
    Output out(device, error);
    if (format == PatternLayout::Format::Text)
        return writeText(out, fileName, shapes, text, result);
    const bool csv = format == PatternLayout::Format::Csv;
    QString piece = csv ? QStringLiteral("line,row,type,part,cell,field,start,end,text,note\r\n")
                        : QStringLiteral("{\n  \"file\": %1,\n  \"lines\": [").arg(jsonString(fileName));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const LineMatch &match = result.lines.at(i);
        const auto tie = result.ties.constFind(int(i));
        const QList<int> *ties = tie == result.ties.cend() ? nullptr : &*tie;
        if (csv) {
            appendCsvLine(piece, shapes, i, text.line(i), match, ties);
        } else {
            piece += i == 0 ? QLatin1String("\n    ") : QLatin1String(",\n    ");
            piece += QString::fromUtf8(QJsonDocument(jsonOf(shapes, i, text.line(i), match, ties)).toJson(QJsonDocument::Compact));
        }
        out.add(piece);
        piece.resize(0);
        if (!out.flush())
            return false;
    }
    if (!csv) {
        QJsonArray records;
        for (int s = 0; s < shapes.size(); ++s)
            records.append(QJsonObject{{QStringLiteral("row"), shapes.at(s).row},
                                       {QStringLiteral("type"), shapes.at(s).type},
                                       {QStringLiteral("records"), result.records.at(s)}});
        const QJsonObject total{{QStringLiteral("lines"), text.size()},
                                {QStringLiteral("unmatched"), result.unmatched},
                                {QStringLiteral("lineEnds"), text.lineEnds()},
                                {QStringLiteral("rows"), records}};
        piece += text.size() == 0 ? QLatin1String("],\n  \"summary\": ") : QLatin1String("\n  ],\n  \"summary\": ");
        piece += QString::fromUtf8(QJsonDocument(total).toJson(QJsonDocument::Compact)) + QStringLiteral("\n}\n");
        out.add(piece);
    }
    return out.flush(true);
}

} // namespace ExportMatch

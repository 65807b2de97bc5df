#include "patternfile.h"

#include "components/codepage.h"
#include "components/patterngrid.h"
#include "components/texttools.h"
#include "designer/gridlayout.h"
#include "designer/patternrows.h"
#include "field/fielddescriptor.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringTokenizer>

#include <algorithm>
#include <array>
#include <charconv>

namespace {

constexpr const char *kCodePage = CodePage::kPattern;
constexpr int kFieldCount = GridLayout::kLastFieldColumn - GridLayout::kFirstFieldColumn + 1;
// The size of the parts a pattern's bytes are kept in.
constexpr qint64 kPartBytes = 1 << 20;
const QByteArray kByteOrderMark(CodePage::kUtf8ByteOrderMark);

// Where the first line end (CR or LF) of `bytes` is; its size when it has none.
qsizetype lineEndIn(QByteArrayView bytes)
{
    // Two searches for one byte each are far faster than one for either. They
    // look in a window that doubles while it holds no line end, so that a
    // file of short lines ended by CR alone is not searched to its end for
    // an LF at every line.
    for (qsizetype from = 0, window = 256; from < bytes.size(); from += window, window *= 2) {
        const QByteArrayView part = bytes.sliced(from, std::min(window, bytes.size() - from));
        const qsizetype lf = part.indexOf('\n');
        const qsizetype cr = part.first(lf < 0 ? part.size() : lf).indexOf('\r');
        if (cr >= 0 || lf >= 0)
            return from + (cr >= 0 ? cr : lf);
    }
    return bytes.size();
}

// The cell text of one piece of a row line, made in a single allocation: a
// file holds up to 100 cells per line and up to millions of lines. `last`
// is the cell the same column got from the line before: when the piece
// gives the same text, that string is shared instead (most lines of a
// pattern repeat the cells of the line above).
QString cellFromPiece(QStringView piece, const QString &last)
{
    if (!piece.startsWith(kConstantTag))
        return last == piece ? last : piece.toString();
    // A constant is the piece, ":" and its count, and the count follows from
    // the piece: a string that begins so and ends in digits alone came from
    // the same piece.
    if (last.size() > piece.size() + 1 && last.startsWith(piece) && last.at(piece.size()) == u':'
        && std::all_of(last.cbegin() + piece.size() + 1, last.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return last;
    // The count leaves out the "{NL}" markers, as the field dialog counts.
    const QStringView text = piece.size() > 4 ? piece.sliced(4) : QStringView();
    const int count = constantLength(QString::fromRawData(text.data(), text.size()));
    char digits[16];
    const char *end = std::to_chars(digits, digits + sizeof digits, count).ptr;
    QString cell;
    cell.reserve(piece.size() + 1 + (end - digits));
    cell.append(piece);
    cell.append(u':');
    cell.append(QLatin1String(digits, end));
    return cell;
}

// Loads row lines into a grid, one at a time, as one bulk update.
class RowLoader
{
public:
    explicit RowLoader(PatternGrid &grid)
        : m_grid(grid)
    {
        m_grid.BeginUpdate();
    }
    ~RowLoader() { m_grid.EndUpdate(); }

    void load(QStringView line, int fileLine)
    {
        if (!m_grid.CellText(m_grid.Row(), GridLayout::kFirstFieldColumn).isEmpty())
            m_grid.AddRow();
        const int row = m_grid.Row();
        m_grid.SetCellListIndex(row, GridLayout::kTypeColumn, int(PatternRows::typeOfLine(line)));
        if (m_report.rowLines.size() < row)
            m_report.rowLines.resize(row);
        m_report.rowLines[row - 1] = fileLine;
        if (line.isEmpty())
            return;
        // Piece 0 is the tag; pieces 1 to 100 go to the field columns, each
        // made a cell text once, with no list of pieces in between. Pieces
        // past the hundredth have no column: they are counted for the report.
        int i = 0;
        for (QStringView piece : QStringTokenizer(line, u';')) {
            if (i > 0 && i <= kFieldCount) {
                QString &last = m_last[size_t(i - 1)];
                last = cellFromPiece(piece, last);
            }
            ++i;
        }
        const int cells = i - 1;
        m_grid.SetCellTexts(row, GridLayout::kFirstFieldColumn,
                            std::span<const QString>(m_last).first(size_t(std::min(cells, kFieldCount))));
        if (cells > kFieldCount)
            m_report.overlong.append({fileLine, row, cells});
    }

    PatternFile::LoadReport take() { return std::move(m_report); }

private:
    PatternGrid &m_grid;
    // The cells of the line loaded last, column by column, then those of the
    // line being loaded.
    std::array<QString, kFieldCount> m_last;
    PatternFile::LoadReport m_report;
};

// Appends the line of row r, which the file holds, without a line end: its
// tag and each filled field cell in file form, closed up, so a row whose
// first cell is empty keeps its fields.
void appendRowLine(QString &out, const PatternGrid &grid, int r)
{
    out += PatternRows::tag(PatternRows::typeOf(grid, r));
    for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c) {
        const QString text = grid.CellText(r, c);
        if (text.isEmpty())
            continue;
        out += u';';
        out += PatternFile::fileForm(text);
    }
}

QString modeLine(const QString &mode)
{
    return QStringLiteral("[T];") + mode + u';';
}

// What the code page cannot store: the first such character of the mode or
// of a cell, and where it is.
QString unstorable(const QString &mode, const PatternGrid &grid, int row)
{
    const auto named = [](const QString &text) {
        const qsizetype at = CodePage::firstUnstorable(text);
        const qsizetype size = text.at(at).isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
        return text.mid(at, size);
    };
    const auto said = [](const QString &character, const QString &where) {
        return QCoreApplication::translate("PatternWriter",
                                           "%1 holds \"%2\", which the Thai code page (windows-874) cannot store.")
            .arg(where, character);
    };
    if (row == 0)
        return said(named(mode), QCoreApplication::translate("PatternWriter", "The mode"));
    for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c) {
        const QString text = grid.CellText(row, c);
        if (CodePage::firstUnstorable(PatternFile::fileForm(text)) >= 0)
            return said(named(PatternFile::fileForm(text).toString()),
                        QCoreApplication::translate("PatternWriter", "Row %1, Field%2")
                            .arg(row)
                            .arg(c - GridLayout::kFirstFieldColumn + 1));
    }
    return QCoreApplication::translate("PatternWriter", "Row %1 cannot be stored in the Thai code page.").arg(row);
}

// The bytes of the file the writer writes: the mode line, then one line per
// row that is not removed and has a filled field cell, each with CR LF. The
// lines are encoded a batch at a time into one growing byte array, so no text
// of the whole file is held besides the bytes, and the converter is called
// once a batch rather than once a line. A character the code page cannot
// store stops it: `error` then says which and where.
QByteArray fileBytes(const QString &mode, const PatternGrid &grid, QString *error)
{
    // A MiB of text a batch.
    constexpr qsizetype kBatchChars = 512 * 1024;
    QStringEncoder encoder(kCodePage);
    QByteArray bytes;
    const auto put = [&encoder, &bytes](const QString &text) {
        const qsizetype size = bytes.size();
        const qsizetype needed = size + encoder.requiredSpace(text.size());
        if (needed > bytes.capacity())
            bytes.reserve(qMax(needed, 2 * bytes.capacity()));
        bytes.resize(needed);
        const char *end = encoder.appendToBuffer(bytes.data() + size, text);
        bytes.resize(end - bytes.constData());
        return !encoder.hasError();
    };
    QString text = modeLine(mode) + QLatin1String("\r\n");
    if (!put(text)) {
        *error = unstorable(mode, grid, 0);
        return {};
    }
    const QList<int> rows = PatternRows::writtenRows(grid);
    text.truncate(0);
    qsizetype batchStart = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        appendRowLine(text, grid, rows[i]);
        text += QLatin1String("\r\n");
        if (text.size() < kBatchChars && i + 1 < rows.size())
            continue;
        if (!put(text)) {
            // The batch's first row that cannot be stored is the one named.
            qsizetype j = batchStart;
            while (j < i && CodePage::firstUnstorable(PatternFile::rowLine(grid, rows[j])) < 0)
                ++j;
            *error = unstorable(mode, grid, rows[j]);
            return {};
        }
        text.truncate(0);
        batchStart = i + 1;
    }
    return bytes;
}

// Cuts bytes that come in parts into lines by the rule of nextLine: CR LF,
// LF and a lone CR each end a line, and a last line end starts no other
// line. A line that runs over parts is put together.
class LineSplitter
{
public:
    // Gives `line` each line that `part` ends; the rest waits for the next part.
    template <typename Line>
    void take(QByteArrayView part, Line &&line)
    {
        qsizetype at = 0;
        // The LF of a CR LF cut between two parts ends no other line.
        if (m_afterCr && !part.isEmpty()) {
            m_afterCr = false;
            at = part.front() == '\n' ? 1 : 0;
        }
        while (at < part.size()) {
            const qsizetype size = lineEndIn(part.sliced(at));
            if (at + size == part.size()) {
                m_carry.append(part.sliced(at));
                return;
            }
            if (m_carry.isEmpty()) {
                line(part.sliced(at, size));
            } else {
                m_carry.append(part.sliced(at, size));
                line(QByteArrayView(m_carry));
                m_carry.clear();
            }
            at += size;
            const bool cr = part.at(at++) == '\r';
            if (cr && at < part.size())
                at += part.at(at) == '\n' ? 1 : 0;
            else if (cr)
                m_afterCr = true;
        }
    }

    // The end of the bytes also ends their last line.
    template <typename Line>
    void end(Line &&line)
    {
        if (!m_carry.isEmpty())
            line(QByteArrayView(m_carry));
        m_carry.clear();
    }

    // The bytes of a line not ended yet.
    qsizetype pending() const { return m_carry.size(); }

private:
    QByteArray m_carry;
    bool m_afterCr = false;
};

// Looks for the mode line in the bytes of a file as they come, a part at a
// time, and gives up at a line longer than any line before a mode line.
class ModeSearch
{
public:
    bool isDone() const { return m_done; }
    // The first line that begins with "[T]", without its line end (nor a
    // byte order mark): nothing before it is found, or when there is none.
    const std::optional<QByteArray> &modeLine() const { return m_modeLine; }
    // Its line in the file, the first being 1.
    int modeLineNumber() const { return m_modeLineNumber; }

    void take(QByteArrayView part)
    {
        m_lines.take(part, [this](QByteArrayView line) { endLine(line); });
        if (m_lines.pending() > PatternFile::kMaxLineBytes)
            m_done = true;
    }

    // The end of the file also ends its last line.
    void end()
    {
        m_lines.end([this](QByteArrayView line) { endLine(line); });
        m_done = true;
    }

private:
    void endLine(QByteArrayView line)
    {
        if (m_done)
            return;
        ++m_lineNumber;
        // Longer than any line before a mode line: no pattern.
        if (line.size() > PatternFile::kMaxLineBytes) {
            m_done = true;
            return;
        }
        if (std::exchange(m_first, false) && line.startsWith(kByteOrderMark))
            line = line.sliced(kByteOrderMark.size());
        // Only the "[T]" and the spaces before it decide, which read alike in
        // both code pages a file may be written in.
        if (PatternFile::modeOfLine(QString::fromLatin1(line))) {
            m_modeLine = line.toByteArray();
            m_modeLineNumber = m_lineNumber;
            m_done = true;
        }
    }

    LineSplitter m_lines;
    std::optional<QByteArray> m_modeLine;
    int m_lineNumber = 0;
    int m_modeLineNumber = 0;
    bool m_first = true;
    bool m_done = false;
};

} // namespace

namespace PatternFile {

QByteArrayView nextLine(QByteArrayView bytes, qsizetype &from)
{
    const QByteArrayView line = bytes.sliced(from).first(lineEndIn(bytes.sliced(from)));
    from += line.size();
    if (from < bytes.size())
        from += bytes.at(from) == '\r' && from + 1 < bytes.size() && bytes.at(from + 1) == '\n' ? 2 : 1;
    return line;
}

QStringList decodeLines(QByteArrayView bytes, Encoding encoding)
{
    if (encoding == Encoding::Utf8 && bytes.startsWith(kByteOrderMark))
        bytes = bytes.sliced(kByteOrderMark.size());
    QStringDecoder decoder(encoding == Encoding::Utf8 ? "UTF-8" : kCodePage, QStringConverter::Flag::Stateless);
    QStringList lines;
    for (qsizetype from = 0; from < bytes.size();)
        lines.append(decoder.decode(nextLine(bytes, from)));
    return lines;
}

std::optional<QString> modeOfLine(QStringView line)
{
    const QStringView t = TextTools::trimSpaces(line);
    if (!t.startsWith(QLatin1String("[T]")))
        return std::nullopt;
    return t.size() < 6 ? QString() : t.sliced(4, t.size() - 5).toString();
}

LoadReport loadRows(QStringList lines, PatternGrid &grid)
{
    RowLoader loader(grid);
    for (qsizetype n = 1; n < lines.size(); ++n)
        loader.load(std::exchange(lines[n], QString()), int(n + 1));
    return loader.take();
}

LoadReport loadRows(PatternReader &reader, PatternGrid &grid)
{
    QStringDecoder decoder(reader.encoding() == Encoding::Utf8 ? "UTF-8" : kCodePage,
                           QStringConverter::Flag::Stateless);
    // Each line is decoded into one buffer as it is loaded, and each part of
    // the bytes goes once its lines are: the cells are all the memory the
    // file takes once loaded, and little more while it loads.
    QString text;
    int lineNumber = 0;
    RowLoader loader(grid);
    const auto load = [&](QByteArrayView line) {
        if (++lineNumber == 1)
            return;   // the first line is never a row
        const qsizetype room = decoder.requiredSpace(line.size());
        if (text.size() < room)
            text.resize(room);
        const QChar *end = decoder.appendToBuffer(text.data(), line);
        loader.load(QStringView(text.constData(), end - text.constData()), lineNumber);
    };
    LineSplitter lines;
    QList<QByteArray> parts = reader.takeParts();
    for (QByteArray &part : parts) {
        lines.take(part, load);
        part = QByteArray();
    }
    lines.end(load);
    LoadReport report = loader.take();
    report.modeLine = reader.modeLineNumber();
    return report;
}

QString rowLine(const PatternGrid &grid, int row)
{
    QString line;
    if (PatternRows::isWritten(grid, row))
        appendRowLine(line, grid, row);
    return line;
}

QStringView fileForm(const QString &cellText)
{
    if (!cellText.startsWith(kConstantTag))
        return cellText;
    const qsizetype first = cellText.indexOf(u':');
    const qsizetype second = first < 0 ? -1 : cellText.indexOf(u':', first + 1);
    return second < 0 ? QStringView(cellText) : QStringView(cellText).first(second);
}

} // namespace PatternFile

bool PatternReader::fail(const QIODevice &device)
{
    m_parts.clear();
    m_modeLine.clear();
    m_mode.clear();
    m_error = device.errorString();
    if (m_error.isEmpty() || m_error == QLatin1String("Unknown error"))
        m_error = QCoreApplication::translate("PatternReader", "The file could not be read to its end.");
    return false;
}

bool PatternReader::read(QIODevice &device)
{
    m_parts.clear();
    m_modeLine.clear();
    m_modeLineNumber = 0;
    m_mode.clear();
    m_encoding = PatternFile::Encoding::CodePage;
    m_utf8 = false;
    m_error.clear();
    if (!device.isOpen() && !device.open(QIODevice::ReadOnly)) {
        m_error = device.errorString();
        return false;
    }
    // First the mode, line by line, so that a file that is no pattern is
    // never held whole: a file is read again from the start once its mode
    // line is found. A device that cannot go back (a pipe) keeps the bytes
    // before its mode line instead, to be loaded.
    const qint64 start = device.pos();
    const bool rewindable = !device.isSequential();
    QList<QByteArray> parts;
    ModeSearch search;
    std::array<char, 64 * 1024> chunk;
    while (!search.isDone() && !device.atEnd()) {
        const qint64 read = device.read(chunk.data(), qint64(chunk.size()));
        if (read <= 0)
            return fail(device);
        if (!rewindable)
            parts.append(QByteArray(chunk.data(), read));
        search.take(QByteArrayView(chunk.data(), read));
    }
    search.end();
    if (!search.modeLine())
        return true;
    m_modeLine = *search.modeLine();
    m_modeLineNumber = search.modeLineNumber();
    setEncoding(PatternFile::Encoding::CodePage);
    if (m_mode.isEmpty()) {
        m_modeLine.clear();
        return true;
    }
    if (rewindable && !device.seek(start))
        return fail(device);
    // The bytes in parts, so that loading them can let each go in turn.
    while (!device.atEnd()) {
        QByteArray part = device.read(kPartBytes);
        // A read that gives nothing before the end has failed part-way.
        if (part.isEmpty())
            return fail(device);
        parts.append(std::move(part));
    }
    m_parts = std::move(parts);
    m_utf8 = CodePage::looksLikeUtf8(m_parts);
    return true;
}

void PatternReader::setEncoding(PatternFile::Encoding encoding)
{
    m_encoding = encoding;
    m_mode.clear();
    if (m_modeLine.isEmpty())
        return;
    const QStringList line = PatternFile::decodeLines(m_modeLine, encoding);
    m_mode = PatternFile::modeOfLine(line.value(0)).value_or(QString());
}

QStringList PatternReader::lines() const
{
    QStringDecoder decoder(m_encoding == PatternFile::Encoding::Utf8 ? "UTF-8" : kCodePage,
                           QStringConverter::Flag::Stateless);
    QStringList decoded;
    const auto add = [&](QByteArrayView line) {
        if (decoded.isEmpty() && m_encoding == PatternFile::Encoding::Utf8 && line.startsWith(kByteOrderMark))
            line = line.sliced(kByteOrderMark.size());
        decoded.append(decoder.decode(line));
    };
    LineSplitter lines;
    for (const QByteArray &part : m_parts)
        lines.take(part, add);
    lines.end(add);
    return decoded;
}

QStringList PatternReader::takeLines()
{
    const QStringList decoded = lines();
    m_parts.clear();
    return decoded;
}

QList<QByteArray> PatternReader::takeParts()
{
    return std::exchange(m_parts, {});
}

bool PatternReader::readFile(const QString &fileName, FileFingerprint *fingerprint)
{
    m_parts.clear();
    m_mode.clear();
    m_error.clear();
    const QFileInfo info(fileName);
    if (info.isDir()) {
        m_error = QCoreApplication::translate("PatternReader", "It is a folder, not a file.");
        return false;
    }
    // Only a regular file has an end: opening a pipe waits for a writer and
    // a device may never stop giving bytes, and either would hang the window.
    if (info.exists() && !info.isFile()) {
        m_error = QCoreApplication::translate("PatternReader", "It is not a regular file.");
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return false;
    }
    if (!read(file))
        return false;
    // The bytes of the pattern just read, not the file as it is a moment
    // later: a save then asks when someone replaced it in between.
    if (fingerprint)
        *fingerprint = m_mode.isEmpty() ? FileFingerprint() : FileFingerprint::ofParts(fileName, m_parts);
    return true;
}

bool PatternWriter::write(QIODevice &device, const QString &mode, const PatternGrid &grid)
{
    return write(device, mode, grid, nullptr);
}

bool PatternWriter::write(QIODevice &device, const QString &mode, const PatternGrid &grid, QByteArray *written)
{
    m_error.clear();
    const QByteArray bytes = fileBytes(mode, grid, &m_error);
    if (!m_error.isEmpty())
        return false;
    if (!device.isOpen() && !device.open(QIODevice::WriteOnly)) {
        m_error = device.errorString();
        return false;
    }
    // A device may take part of the bytes at a time; only a refusal is an error.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = device.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            m_error = device.errorString();
            return false;
        }
        done += n;
    }
    if (written)
        *written = bytes;
    return true;
}

bool PatternWriter::save(const QString &fileName, const QString &mode, const PatternGrid &grid)
{
    m_error.clear();
    m_savedTo.clear();
    m_saved.clear();
    QSaveFile file(fileName);
    // Unbuffered, so a short write (a full disk, a size limit) reaches the
    // writer's loop as an error instead of vanishing in a buffered flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        m_error = file.errorString();
        return false;
    }
    QByteArray bytes;
    if (!write(file, mode, grid, &bytes)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        m_error = file.errorString();
        return false;
    }
    m_savedTo = fileName;
    m_saved = bytes;
    return true;
}

FileFingerprint PatternWriter::fingerprint() const
{
    return m_savedTo.isEmpty() ? FileFingerprint() : FileFingerprint::ofBytes(m_savedTo, m_saved);
}

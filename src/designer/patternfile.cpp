#include "patternfile.h"

#include "components/codepage.h"
#include "components/patterngrid.h"
#include "components/texttools.h"
#include "designer/gridlayout.h"
#include "field/fielddescriptor.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringTokenizer>

#include <charconv>

namespace {

constexpr const char *kCodePage = CodePage::kPattern;
const QString kConstantTag = QStringLiteral("[C]");

QString tagOf(int listIndex)
{
    switch (listIndex) {
    case 0: return QStringLiteral("[H]");
    case 1: return QStringLiteral("[G]");
    default: return QStringLiteral("[D]");
    }
}

int listIndexOf(const QString &line)
{
    const QString tag = TextTools::trimSpaces(QStringView(line).left(3)).toString().toUpper();
    if (tag == u"[H]")
        return 0;
    if (tag == u"[G]")
        return 1;
    return 2;
}

// The cell text of one piece of a row line, made in a single allocation: a
// file holds up to 100 cells per line and tens of thousands of lines.
QString cellFromPiece(QStringView piece)
{
    if (!piece.startsWith(kConstantTag))
        return piece.toString();
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

// The file form of a cell: a constant up to its second ":", that is its tag
// and text; anything else whole.
QStringView cellInFileView(const QString &cellText)
{
    if (!cellText.startsWith(kConstantTag))
        return cellText;
    const qsizetype first = cellText.indexOf(u':');
    const qsizetype second = first < 0 ? -1 : cellText.indexOf(u':', first + 1);
    return second < 0 ? QStringView(cellText) : QStringView(cellText).first(second);
}

// Appends row r's line, without a line end. A row with no filled field cell
// is no line of the pattern: nothing is appended and the result is false. One
// whose first cell is empty but others are filled is written closed up, so
// its fields are not lost.
bool appendRowLine(QString &out, const PatternGrid &grid, int r)
{
    const qsizetype start = out.size();
    out += tagOf(grid.CellListIndex(r, GridLayout::kTypeColumn));
    bool filled = false;
    for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c) {
        const QString text = grid.CellText(r, c);
        if (text.isEmpty())
            continue;
        filled = true;
        out += u';';
        out += cellInFileView(text);
    }
    if (!filled)
        out.truncate(start);
    return filled;
}

QString modeLine(const QString &mode)
{
    return QStringLiteral("[T];") + mode + u';';
}

// The bytes of the file the writer writes: the mode line, then one line per
// row that is not removed and has a filled field cell, each with CR LF. Each
// line is encoded as soon as it is built, into one growing byte array, so no
// text of the whole file is held besides the bytes.
QByteArray fileBytes(const QString &mode, const PatternGrid &grid, bool *unencodable)
{
    QStringEncoder encoder(kCodePage);
    QByteArray bytes;
    const auto put = [&encoder, &bytes](const QString &line) {
        const qsizetype size = bytes.size();
        const qsizetype needed = size + encoder.requiredSpace(line.size());
        if (needed > bytes.capacity())
            bytes.reserve(qMax(needed, 2 * bytes.capacity()));
        bytes.resize(needed);
        const char *end = encoder.appendToBuffer(bytes.data() + size, line);
        bytes.resize(end - bytes.constData());
    };
    QString line = modeLine(mode) + QLatin1String("\r\n");
    put(line);
    const int rows = grid.RowCount();
    for (int r = 1; r <= rows; ++r) {
        line.truncate(0);
        if (grid.IsRowRemoved(r) || !appendRowLine(line, grid, r))
            continue;
        line += QLatin1String("\r\n");
        put(line);
    }
    if (unencodable)
        *unencodable = encoder.hasError();
    return bytes;
}

} // namespace

namespace PatternFile {

std::optional<QStringList> decodeLines(const QByteArray &bytes)
{
    // The code page has one byte per character and LF is the same byte in
    // it, so the bytes are split into lines first and each line is decoded
    // straight into its own string: no decoded copy of the whole file is made.
    QStringDecoder decoder(kCodePage);
    QStringList lines;
    for (qsizetype from = 0; from < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', from);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        QByteArrayView line(bytes.constData() + from, end - from);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > kMaxLineBytes)
            return std::nullopt;
        lines.append(decoder.decode(line));
        // The decoder makes room for the longest text the bytes could give.
        lines.last().squeeze();
        from = next;
    }
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
    LoadReport report;
    report.rowLines.reserve(lines.size());
    grid.BeginUpdate();
    for (qsizetype n = 1; n < lines.size(); ++n) {
        const QString line = std::exchange(lines[n], QString());
        if (!grid.CellText(grid.Row(), GridLayout::kFirstFieldColumn).isEmpty())
            grid.AddRow();
        grid.SetCellListIndex(grid.Row(), GridLayout::kTypeColumn, listIndexOf(line));
        // The row's line is the last one that went into it.
        report.rowLines.resize(qMax(report.rowLines.size(), qsizetype(grid.Row())));
        report.rowLines[grid.Row() - 1] = int(n + 1);
        if (line.isEmpty())
            continue;
        // Piece 0 is the tag; pieces 1 to 100 go to the field columns, each
        // made a cell text once, with no list of pieces in between.
        int i = 0;
        for (QStringView piece : QStringTokenizer(line, u';')) {
            if (i > GridLayout::kLastFieldColumn - GridLayout::kFirstFieldColumn + 1)
                break;
            if (i > 0)
                grid.SetCellText(grid.Row(), GridLayout::kFirstFieldColumn - 1 + i, cellFromPiece(piece));
            ++i;
        }
    }
    grid.EndUpdate();
    return report;
}

QString rowLine(const PatternGrid &grid, int row)
{
    QString line;
    if (!grid.IsRowRemoved(row))
        appendRowLine(line, grid, row);
    return line;
}

} // namespace PatternFile

bool PatternReader::fail(const QIODevice &device)
{
    m_error = device.errorString();
    if (m_error.isEmpty() || m_error == QLatin1String("Unknown error"))
        m_error = QCoreApplication::translate("PatternReader", "The file could not be read to its end.");
    return false;
}

bool PatternReader::read(QIODevice &device)
{
    return read(device, nullptr);
}

bool PatternReader::read(QIODevice &device, QByteArray *patternBytes)
{
    m_lines.clear();
    m_mode.clear();
    m_error.clear();
    if (!device.isOpen() && !device.open(QIODevice::ReadOnly)) {
        m_error = device.errorString();
        return false;
    }
    // First the mode, line by line, so that a file that is no pattern is
    // never held whole: a file is read again from the start once its mode
    // line is found. A device that cannot go back (a pipe) keeps the lines
    // before its mode line instead, to be loaded.
    const qint64 start = device.pos();
    const bool rewindable = !device.isSequential();
    QByteArray kept;
    QStringDecoder decoder(kCodePage);
    std::optional<QString> mode;
    // Room for the longest line and its CR LF, so a longer one shows; one
    // buffer for all lines, as a file of short lines may have millions.
    QByteArray buffer(PatternFile::kMaxLineBytes + 3, Qt::Uninitialized);
    while (!mode && !device.atEnd()) {
        const qint64 read = device.readLine(buffer.data(), buffer.size());
        if (read <= 0)
            return fail(device);
        const QByteArrayView line(buffer.constData(), read);
        QByteArrayView text = line;
        if (text.endsWith('\n'))
            text.chop(1);
        else if (!device.atEnd())
            return true;   // longer than any pattern line
        if (text.endsWith('\r'))
            text.chop(1);
        if (text.size() > PatternFile::kMaxLineBytes)
            return true;
        if (!rewindable)
            kept += line;
        mode = PatternFile::modeOfLine(QString(decoder.decode(text)));
    }
    if (!mode || mode->isEmpty())
        return true;
    if (rewindable && !device.seek(start))
        return fail(device);
    const QByteArray bytes = rewindable ? device.readAll() : kept + device.readAll();
    // readAll() stops at the first failed read; a device not at its end then
    // has failed part-way.
    if (!device.atEnd())
        return fail(device);
    std::optional<QStringList> lines = PatternFile::decodeLines(bytes);
    if (!lines)
        return true;
    m_mode = *mode;
    m_lines = std::move(*lines);
    if (patternBytes)
        *patternBytes = bytes;
    return true;
}

bool PatternReader::readFile(const QString &fileName, FileFingerprint *fingerprint)
{
    m_lines.clear();
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
    QByteArray bytes;
    if (!read(file, fingerprint ? &bytes : nullptr))
        return false;
    // The bytes of the pattern just read, not the file as it is a moment
    // later: a save then asks when someone replaced it in between.
    if (fingerprint)
        *fingerprint = m_mode.isEmpty() ? FileFingerprint() : FileFingerprint::ofBytes(fileName, bytes);
    return true;
}

bool PatternWriter::write(QIODevice &device, const QString &mode, const PatternGrid &grid)
{
    return write(device, mode, grid, nullptr);
}

bool PatternWriter::write(QIODevice &device, const QString &mode, const PatternGrid &grid, QByteArray *written)
{
    m_error.clear();
    bool unencodable = false;
    const QByteArray bytes = fileBytes(mode, grid, &unencodable);
    if (unencodable) {
        m_error = QCoreApplication::translate(
            "PatternWriter", "The pattern holds characters that the Thai code page cannot store.");
        return false;
    }
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

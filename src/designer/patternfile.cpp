#include "patternfile.h"

#include "components/patterngrid.h"
#include "designer/gridlayout.h"
#include "field/fielddescriptor.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr char kCodePage[] = "windows-874";
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
    const QString tag = line.left(3).trimmed().toUpper();
    if (tag == u"[H]")
        return 0;
    if (tag == u"[G]")
        return 1;
    return 2;
}

} // namespace

namespace PatternFile {

QStringList decodeLines(const QByteArray &bytes)
{
    QStringDecoder decoder(kCodePage);
    const QString text = decoder.decode(bytes);
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(u'\n');
    if (lines.constLast().isEmpty())
        lines.removeLast();
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

QByteArray encodeLines(const QStringList &lines, bool *unencodable)
{
    QString text;
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    text.reserve(size);
    for (const QString &line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    QStringEncoder encoder(kCodePage);
    QByteArray bytes = encoder.encode(text);
    if (unencodable)
        *unencodable = encoder.hasError();
    return bytes;
}

QString modeOf(const QStringList &lines)
{
    for (const QString &line : lines) {
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1String("[T]")))
            return t.size() < 6 ? QString() : t.mid(4, t.size() - 5);
    }
    return {};
}

QString cellInFile(const QString &cellText)
{
    if (!cellText.startsWith(kConstantTag))
        return cellText;
    return cellText.section(u':', 0, 1);
}

QString cellFromFile(const QString &piece)
{
    if (!piece.startsWith(kConstantTag))
        return piece;
    // The count leaves out the "{NL}" markers, as the field dialog counts.
    return piece + u':' + QString::number(constantLength(piece.mid(4)));
}

void loadRows(const QStringList &lines, PatternGrid &grid)
{
    grid.BeginUpdate();
    for (qsizetype n = 1; n < lines.size(); ++n) {
        const QString &line = lines.at(n);
        if (!grid.CellText(grid.Row(), GridLayout::kFirstFieldColumn).isEmpty())
            grid.AddRow();
        grid.SetCellListIndex(grid.Row(), GridLayout::kTypeColumn, listIndexOf(line));
        if (line.isEmpty())
            continue;
        const QStringList pieces = line.split(u';');
        const qsizetype last = qMin<qsizetype>(pieces.size() - 1,
                                               GridLayout::kLastFieldColumn - GridLayout::kFirstFieldColumn + 1);
        for (qsizetype i = 1; i <= last; ++i)
            grid.SetCellText(grid.Row(), int(GridLayout::kFirstFieldColumn - 1 + i),
                             cellFromFile(pieces.at(i)));
    }
    grid.EndUpdate();
}

QStringList linesOf(const QString &mode, const PatternGrid &grid)
{
    QStringList lines;
    lines.reserve(grid.RowCount() + 1);
    lines.append(QStringLiteral("[T];") + mode + u';');
    const int rows = grid.RowCount();
    for (int r = 1; r <= rows; ++r) {
        if (grid.IsRowRemoved(r))
            continue;
        QString line = tagOf(grid.CellListIndex(r, GridLayout::kTypeColumn));
        bool filled = false;
        for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c) {
            const QString text = grid.CellText(r, c);
            if (text.isEmpty())
                continue;
            filled = true;
            line += u';';
            line += cellInFile(text);
        }
        // A row with no filled field cell is no line of the pattern. One whose
        // first cell is empty but others are filled is written closed up, so
        // its fields are not lost.
        if (filled)
            lines.append(line);
    }
    return lines;
}

} // namespace PatternFile

bool PatternReader::read(QIODevice &device)
{
    m_lines.clear();
    m_error.clear();
    if (!device.isOpen() && !device.open(QIODevice::ReadOnly)) {
        m_error = device.errorString();
        return false;
    }
    const QByteArray bytes = device.readAll();
    // readAll() stops at the first failed read; a device not at its end then
    // has failed part-way.
    if (!device.atEnd()) {
        m_error = device.errorString();
        if (m_error.isEmpty() || m_error == QLatin1String("Unknown error"))
            m_error = QCoreApplication::translate("PatternReader", "The file could not be read to its end.");
        return false;
    }
    m_lines = PatternFile::decodeLines(bytes);
    return true;
}

bool PatternReader::readFile(const QString &fileName)
{
    m_lines.clear();
    m_error.clear();
    const QFileInfo info(fileName);
    if (info.isDir()) {
        m_error = QCoreApplication::translate("PatternReader", "It is a folder, not a file.");
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return false;
    }
    return read(file);
}

bool PatternWriter::write(QIODevice &device, const QString &mode, const PatternGrid &grid)
{
    m_error.clear();
    bool unencodable = false;
    const QByteArray bytes = PatternFile::encodeLines(PatternFile::linesOf(mode, grid), &unencodable);
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
    return true;
}

bool PatternWriter::save(const QString &fileName, const QString &mode, const PatternGrid &grid)
{
    m_error.clear();
    QSaveFile file(fileName);
    // Unbuffered, so a short write (a full disk, a size limit) reaches the
    // writer's loop as an error instead of vanishing in a buffered flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        m_error = file.errorString();
        return false;
    }
    if (!write(file, mode, grid)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        m_error = file.errorString();
        return false;
    }
    return true;
}

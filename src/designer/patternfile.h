#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>

class PatternGrid;
class QIODevice;

// The *.PAT pattern file: line 1 "[T];MODE;", then one line per pattern row,
// "[H]" LINE, "[G]" GROUP or "[D]" LOOP followed by ";" and each filled field
// cell. Constants are stored without their count. The file is single-byte
// text in the Thai code page windows-874; every written line ends with CR LF,
// and lines ending in LF alone are read as well.
namespace PatternFile {

// The file's lines, decoded, without their line ends. A last line end does
// not start another line.
QStringList decodeLines(const QByteArray &bytes);

// The mode of the first line that, trimmed of spaces, begins with "[T]": its
// characters from the fifth up to but without the last. "" when there is none.
QString modeOf(const QStringList &lines);

// Loads every line after the first into the grid, as rows of the current
// layout: a line goes into the current row while its column 11 is empty,
// otherwise into a row it adds. Constants get their count recomputed. Each
// line is released once loaded, so a list moved in (PatternReader::takeLines)
// gives its memory back to the cells as they are made.
void loadRows(QStringList lines, PatternGrid &grid);

// The file form of a cell: a constant keeps its tag and text only.
QString cellInFile(const QString &cellText);
// The cell form of a piece read from a file: a constant gets its count.
QString cellFromFile(const QString &piece);

} // namespace PatternFile

// Reads a pattern file. The reader keeps the decoded lines for loadRows.
class PatternReader final
{
public:
    // False, with errorString() set, when the device cannot be read.
    bool read(QIODevice &device);
    bool readFile(const QString &fileName);

    const QStringList &lines() const { return m_lines; }
    QStringList takeLines() { return std::exchange(m_lines, {}); }
    QString mode() const { return PatternFile::modeOf(m_lines); }
    QString errorString() const { return m_error; }

private:
    QStringList m_lines;
    QString m_error;
};

// Writes a pattern file. save() replaces the file only once it is completely
// written, so a failure leaves the former file as it was.
class PatternWriter final
{
public:
    bool write(QIODevice &device, const QString &mode, const PatternGrid &grid);
    bool save(const QString &fileName, const QString &mode, const PatternGrid &grid);
    QString errorString() const { return m_error; }

private:
    QString m_error;
};

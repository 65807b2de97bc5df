#pragma once

#include "designer/filefingerprint.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

class PatternGrid;
class QIODevice;

// The *.PAT pattern file: line 1 "[T];MODE;", then one line per pattern row,
// "[H]" LINE, "[G]" GROUP or "[D]" LOOP followed by ";" and each filled field
// cell. Constants are stored without their count. The file is single-byte
// text in the Thai code page windows-874; every written line ends with CR LF,
// and lines ending in LF alone are read as well.
namespace PatternFile {

// No line of a pattern is longer than this many bytes, its line end left
// out; a file that has one is no pattern (a binary file, a file with no
// line breaks).
inline constexpr qsizetype kMaxLineBytes = 1 << 20;

// The file's lines, decoded, without their line ends. A last line end does
// not start another line. Nothing when a line is longer than kMaxLineBytes.
std::optional<QStringList> decodeLines(const QByteArray &bytes);

// The mode of a mode line: a line that, trimmed of spaces (and only of
// spaces), begins with "[T]" gives its characters from the fifth up to but
// without the last, which may be "". Nothing for any other line.
std::optional<QString> modeOfLine(QStringView line);

// What loadRows did with the file's lines.
struct LoadReport {
    // The file line (1-based, the mode line being line 1) each grid row got its cells from,
    // index 0 for row 1.
    QList<int> rowLines;
    // Lines with more pieces than the field columns hold.
    struct Overlong { int line = 0; int row = 0; int cells = 0; };
    QList<Overlong> overlong;
};

// Loads every line after the first into the grid, as rows of the current
// layout: a line goes into the current row while its column 11 is empty,
// otherwise into a row it adds. Constants get their count recomputed. Each
// line is released once loaded, so a list moved in (PatternReader::takeLines)
// gives its memory back to the cells as they are made.
LoadReport loadRows(QStringList lines, PatternGrid &grid);

// Row `row` of the grid as the writer writes it, without its line end; ""
// for a row the file leaves out (removed, or without a filled field cell).
QString rowLine(const PatternGrid &grid, int row);

} // namespace PatternFile

// Reads a pattern file. The reader keeps the decoded lines for loadRows.
// The mode is that of the first mode line; a file without one, whose first
// mode line gives no mode, or with a line longer than kMaxLineBytes, is no
// pattern: mode() is then "" and no lines are kept. A file is judged
// before it is held in memory, and one without line breaks after reading
// no more than kMaxLineBytes of it.
class PatternReader final
{
public:
    // False, with errorString() set, when the device cannot be read; true
    // when it was read, whether or not it holds a pattern.
    bool read(QIODevice &device);
    // `fingerprint`, when given, gets the size, time and hash of the bytes
    // read if they hold a pattern, else a null one: hashing is a cost only
    // the callers that compare the file later pay.
    bool readFile(const QString &fileName, FileFingerprint *fingerprint = nullptr);

    const QStringList &lines() const { return m_lines; }
    QStringList takeLines() { return std::exchange(m_lines, {}); }
    QString mode() const { return m_mode; }
    QString errorString() const { return m_error; }

private:
    bool fail(const QIODevice &device);
    // read(); `bytes` gets the bytes of a pattern.
    bool read(QIODevice &device, QByteArray *bytes);

    QStringList m_lines;
    QString m_mode;
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
    // The file as the last successful save() wrote it, its bytes hashed now
    // (the overwrite check's, not the writing's cost); null before one.
    FileFingerprint fingerprint() const;

private:
    // write(); `bytes` gets the bytes written.
    bool write(QIODevice &device, const QString &mode, const PatternGrid &grid, QByteArray *bytes);

    QString m_error;
    QString m_savedTo;
    QByteArray m_saved;
};

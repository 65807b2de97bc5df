#pragma once

#include "designer/filefingerprint.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

class PatternGrid;
class PatternReader;
class QIODevice;

// The *.PAT pattern file: line 1 "[T];MODE;", then one line per pattern row,
// "[H]" LINE, "[G]" GROUP or "[D]" LOOP followed by ";" and each filled field
// cell. Constants are stored without their count. The file is single-byte
// text in the Thai code page windows-874; every written line ends with CR LF,
// and lines ending in LF or in a lone CR are read as well.
namespace PatternFile {

// No line before the mode line is longer than this many bytes, its line end
// left out: a file that has one is no pattern (a binary file, a file with no
// line breaks). Row lines after the mode line may be of any length.
inline constexpr qsizetype kMaxLineBytes = 1 << 20;

// How the bytes of a file become text: in windows-874, as pattern files are
// written, or in UTF-8 for a file some other program wrote so (its byte
// order mark, if any, is then left out).
enum class Encoding { CodePage, Utf8 };

// The line of `bytes` that starts at `from`, without its line end; `from`
// moves past the line end. CR LF, LF and a lone CR each end a line, and a
// last line end starts no other line. The lines of a recovery copy are split
// by the same rule.
QByteArrayView nextLine(QByteArrayView bytes, qsizetype &from);

// The file's lines, decoded, without their line ends.
QStringList decodeLines(QByteArrayView bytes, Encoding encoding = Encoding::CodePage);

// The mode of a mode line: a line that, trimmed of spaces (and only of
// spaces), begins with "[T]" gives its characters from the fifth up to but
// without the last, which may be "". Nothing for any other line.
std::optional<QString> modeOfLine(QStringView line);

// What loading the rows of a file did beyond filling the grid.
struct LoadReport
{
    // The file line (1-based) each grid row got its cells from, index 0
    // for row 1.
    QList<int> rowLines;
    // The file line the mode was found on: line 1, unless lines that are no
    // mode line come first.
    int modeLine = 1;
    // Lines with more pieces than the field columns hold: only the first
    // 100 were loaded.
    struct Overlong
    {
        int line = 0;
        int row = 0;
        int cells = 0;

        friend bool operator==(const Overlong &, const Overlong &) = default;
    };
    QList<Overlong> overlong;
};

// Loads every line after the first into the grid, as rows of the current
// layout: a line goes into the current row while its column 11 is empty,
// otherwise into a row it adds. Constants get their count recomputed, and
// equal cells of consecutive lines share one string. Each line is released
// once loaded.
LoadReport loadRows(QStringList lines, PatternGrid &grid);
// The same for the file a reader read, each line decoded as it is loaded,
// in the reader's encoding. The reader's bytes go as they are loaded: it
// holds none afterwards.
LoadReport loadRows(PatternReader &reader, PatternGrid &grid);

// A cell as a pattern file holds it: a constant without its count (the
// reader counts it again), its tag and text; anything else whole.
QStringView fileForm(const QString &cellText);

// Row `row` of the grid as the writer writes it, without its line end; ""
// for a row the file leaves out (removed, or without a filled field cell).
QString rowLine(const PatternGrid &grid, int row);

} // namespace PatternFile

// Reads a pattern file and keeps its bytes for loadRows, in parts. The mode is that of
// the first mode line; a file without one, whose first mode line gives no
// mode, or with a line longer than kMaxLineBytes before it, is no pattern:
// mode() is then "" and no bytes are kept. A file is judged before it is
// held in memory, and one without line breaks after reading no more than
// kMaxLineBytes of it.
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

    // Whether a pattern's bytes look like UTF-8 rather than windows-874:
    // they begin with a UTF-8 byte order mark, or hold bytes above ASCII and
    // all of them form valid UTF-8 spelling some Thai.
    bool looksLikeUtf8() const { return m_utf8; }
    // Windows-874 unless set otherwise; the mode and the lines follow it.
    void setEncoding(PatternFile::Encoding encoding);
    PatternFile::Encoding encoding() const { return m_encoding; }

    QString mode() const { return m_mode; }
    // The file line the mode was found on, the first being 1.
    int modeLineNumber() const { return m_modeLineNumber; }
    // The lines of a pattern, decoded (loadRows decodes each as it loads it).
    QStringList lines() const;
    // The same; the bytes are let go.
    QStringList takeLines();
    // The pattern's bytes from the file's start, in parts of a MiB or so;
    // the reader keeps none.
    QList<QByteArray> takeParts();
    QString errorString() const { return m_error; }

private:
    bool fail(const QIODevice &device);

    QList<QByteArray> m_parts;
    QByteArray m_modeLine;   // the mode line's bytes, without a byte order mark
    int m_modeLineNumber = 0;
    QString m_mode;
    PatternFile::Encoding m_encoding = PatternFile::Encoding::CodePage;
    bool m_utf8 = false;
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

#pragma once

#include "designer/filefingerprint.h"

#include <QString>
#include <QStringList>

class PatternGrid;
class QIODevice;

// A pattern kept for crash recovery: its file, its mode, the file as the
// designer last read or wrote it, and its rows in the pattern file's row
// format.
struct KeptPattern
{
    QString fileName;          // "Untitled.PAT" for a new pattern, "" for none
    QString mode;
    FileFingerprint onDisk;    // null when the pattern has no file read or written
    // The rows as PatternFile::rowLine gives them; "" rows are not written.
    // Read back, the lines of the rows part of the file, as the pattern
    // reader would split a saved file.
    QStringList rows;

    // The grid's rows as they would be saved.
    static QStringList rowsOf(const PatternGrid &grid);
    // Loads the rows into the grid, laid out already, as Open loads a file.
    void loadRows(PatternGrid &grid) const;
};

// The recovery file: a first line naming the format and its version, a
// second with the length and SHA-1 of what follows, then, in UTF-8, the
// lines "file", "mode" and "disk" (names percent-encoded), an empty line and
// the rows, each ending in CR LF as in a pattern file. A file that is cut
// short, longer, of another version or damaged anywhere is refused whole.
namespace RecoveryFile {

inline constexpr int kVersion = 1;
// No pattern comes near it (10,000 rows of 100 cells are 30 MB); a damaged
// length must not make the reader take more.
inline constexpr qint64 kMaxPayload = qint64(1) << 30;

} // namespace RecoveryFile

class RecoveryWriter final
{
public:
    bool write(QIODevice &device, const KeptPattern &pattern);
    // Replaces the file only once it is completely written.
    bool save(const QString &fileName, const KeptPattern &pattern);
    QString errorString() const { return m_error; }

private:
    QString m_error;
};

class RecoveryReader final
{
public:
    // False, with errorString() saying why, when the device cannot be read
    // or holds no whole recovery file of this version; the pattern is then
    // empty.
    bool read(QIODevice &device);
    bool readFile(const QString &fileName);

    const KeptPattern &pattern() const { return m_pattern; }
    QString errorString() const { return m_error; }

private:
    bool fail(const QString &error);

    KeptPattern m_pattern;
    QString m_error;
};

#pragma once

#include "components/gridtablemodel.h"
#include "designer/patternlayout.h"
#include "designer/patternpreview.h"

#include <QHash>
#include <QString>
#include <QStringList>

class QIODevice;

// The work of zn7pat's commands, on the core library alone: finds the design
// database, reads pattern files and writes their checks, layout or sample
// output to `out`; says what went wrong in plain words on `err`. Nothing is
// written anywhere else. Each command returns the program's exit status.
class PatternTool final
{
public:
    enum Status { Done = 0, Problems = 1, CannotRun = 2 };

    PatternTool(QIODevice &out, QIODevice &err);

    // The data folder whose design database the commands read: `folder`,
    // or without it the one the designer uses (the CONFIGPATH of the INI
    // file beside `programPath`, else the program's folder). False, having
    // said why, when the folder or its design database is missing or the
    // database cannot be read.
    bool useDataFolder(const QString &folder, const QString &programPath);

    // Every problem of each file, "FILE:LINE:CELL: message" a line: the
    // layout checks of the output preview (with `recordLength`, 0 for
    // none), and a file that cannot be read or is no pattern (line 0).
    // LINE is the file's own line of the row, the first being line 1, or
    // for the mode the line it was found on (line 1 in a sound file); CELL
    // is the grid's caption (Field3),
    // "-" for the row or the file as a whole. Problems when there is one.
    int check(const QStringList &files, int recordLength = 0);
    // Says that the memory ran out while the last file was read.
    void tellOutOfMemory();
    // The layout records of a file's rows; how the file was read (UTF-8,
    // cells not loaded) is said on stderr, and the status stays Done.
    int layout(const QString &file, PatternLayout::Format format);
    // The file's rows as the exporting program writes them from the
    // samples, each constant's {NL} a line break too, every line ending in
    // `lineEnd`, in the code page `encoding`. A field the mode does not
    // have (and a mode the design database does not know), a length that
    // is none and a cell that is neither field nor constant write as the
    // preview shows them, and are then said on stderr as check says them,
    // as are a UTF-8 reading and cells past Field100: Problems.
    int render(const QString &file, const QByteArray &encoding, const QString &lineEnd);
    // An export file read through a pattern: each line's row and fields,
    // then a summary (exportmatch.h). Done when every line matches a
    // row, Problems when one does not or the file has no line, CannotRun
    // when either file cannot be read.
    int inspect(const QString &pattern, const QString &exportFile, const QByteArray &encoding,
                PatternLayout::Format format);
    // A bank's layout table (CSV) held against a pattern (layouttable.h):
    // the table's own problems and every difference, "TABLE:LINE: message"
    // a line. CannotRun when either cannot be read or the table is none.
    int compare(const QString &pattern, const QString &table);
    // What changed from one version of a pattern to another (patterndiff.h).
    // Done when both write the same, Problems otherwise; how each was read
    // is said on stderr, and no change is CannotRun when either holds cells
    // past Field100 or only one was UTF-8.
    int diff(const QString &before, const QString &after);

private:
    struct Reading
    {
        PatternFile::LoadReport report;
        bool utf8 = false;
    };
    // How a file was read, a note a line as check prints it: that it was
    // read as UTF-8 (line 0), each line whose cells past Field100 were not
    // loaded.
    static QStringList readingNotes(const QString &file, const Reading &reading);
    // Reads a pattern file into m_grid; false, with the problem in
    // `problem`, when it cannot be read or is no pattern.
    bool load(const QString &file, QString &mode, QString &problem, GridTableModel &grid);
    bool load(const QString &file, QString &mode, QString &problem) { return load(file, mode, problem, m_grid); }
    // The same, the problem said on stderr as "FILE: problem".
    bool loadOrSay(const QString &file, QString &mode, GridTableModel &grid);
    bool loadOrSay(const QString &file, QString &mode) { return loadOrSay(file, mode, m_grid); }
    // A whole file that is not a pattern; false, having said why, when it
    // cannot be read.
    bool readOrSay(const QString &file, QByteArray &bytes);
    // The mode's fields and samples; nothing, having said why, when the
    // design database cannot be read.
    const PatternPreview::Samples *samples(const QString &mode);
    void cannotReadDatabase(const QString &why);
    bool write(const QByteArray &bytes);
    void say(const QString &text);
    // A line of a message, ended, its control characters escaped
    // (\t, \r, \n, \e, \xHH; C1 controls \u0085).
    static QString line(const QString &text);
    // A check as check() prints it, without its line end.
    QString located(const QString &file, const PatternPreview::Check &check) const;

    QIODevice &m_out;
    QIODevice &m_err;
    QString m_designConnection;
    QString m_database;   // its file, as messages name it
    QString m_reading;    // the file read last
    QHash<QString, PatternPreview::Samples> m_samples;
    // The pattern read last; the next file read replaces it. The program
    // ends without freeing it (see main).
    GridTableModel m_grid;
    // What reading it found: the file line of each of its rows, lines of
    // more cells than a row holds, and whether it was UTF-8.
    Reading m_read;
    GridTableModel m_other;   // diff's second version
    Reading m_otherRead;
};

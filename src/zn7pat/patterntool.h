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

    // Every problem of each file, "FILE:ROW:CELL: message" a line: the
    // layout checks of the output preview, lines with more cells than a row
    // holds, and, as row 0, a file that cannot be read or is no pattern or
    // is UTF-8 (it is read so). CELL is the grid's caption (Field3), "-"
    // for the row or the file as a whole. Problems when there is one.
    int check(const QStringList &files);
    // Says that the memory ran out while the last file was read.
    void tellOutOfMemory();

    // The layout records of a file's rows.
    int layout(const QString &file, PatternLayout::Format format);
    // The file's rows as the exporting program writes them from the
    // samples, each constant's {NL} a line break too, every line ending in
    // LF, in the code page `encoding`.
    int render(const QString &file, const QByteArray &encoding);

private:
    // Reads a pattern file into m_grid; false, with the problem in
    // `problem`, when it cannot be read or is no pattern.
    bool load(const QString &file, QString &mode, QString &problem);
    // The same, the problem said on stderr as "FILE: problem".
    bool loadOrSay(const QString &file, QString &mode);
    // The mode's fields and samples; nothing, having said why, when the
    // design database cannot be read.
    const PatternPreview::Samples *samples(const QString &mode);
    void cannotReadDatabase(const QString &why);
    bool write(const QByteArray &bytes);
    void say(const QString &text);
    // A line of a message, ended, its control characters escaped
    // (\t, \r, \n, \e, \xHH; C1 controls \u0085).
    static QString line(const QString &text);

    QIODevice &m_out;
    QIODevice &m_err;
    QString m_designConnection;
    QString m_database;   // its file, as messages show it
    QString m_reading;
    QHash<QString, PatternPreview::Samples> m_samples;
    // The pattern read last; the next file read replaces it. The program
    // ends without freeing it (see main).
    GridTableModel m_grid;
    // What reading it found: lines of more cells than a row holds, and
    // whether it was UTF-8.
    PatternFile::LoadReport m_loaded;
    bool m_utf8 = false;
};

#include "patterntool.h"

#include "components/datatools.h"
#include "components/designdatabase.h"
#include "components/inireader.h"
#include "components/wholefile.h"
#include "designer/exportmatch.h"
#include "designer/gridlayout.h"
#include "designer/layouttable.h"
#include "designer/patterndiff.h"
#include "designer/patternfile.h"
#include "designer/patternrows.h"
#include "startup/startupsequence.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

PatternTool::PatternTool(QIODevice &out, QIODevice &err)
    : m_out(out)
    , m_err(err)
{
}

bool PatternTool::useDataFolder(const QString &folder, const QString &programPath)
{
    QString data = folder;
    if (data.isEmpty()) {
        const QString program = StartupSequence::programFolderOf(programPath);
        data = StartupSequence::dataFolder(program, IniReader());
    }
    const QString shown = QDir::toNativeSeparators(data);
    if (!QFileInfo(data).isDir()) {
        say(folder.isEmpty() ? QStringLiteral("the data folder %1 (from %2 beside the program) does not exist")
                                   .arg(shown, QLatin1String(StartupSequence::kIniFile))
                             : QStringLiteral("there is no data folder %1").arg(shown));
        return false;
    }
    const QString database = StartupSequence::joinPath(data, QLatin1String(StartupSequence::kDesignFile));
    if (!QFileInfo(database).isFile()) {
        say(QStringLiteral("the data folder %1 has no design database %2")
                .arg(shown, QLatin1String(StartupSequence::kDesignFile)));
        return false;
    }
    m_designConnection = DataTools().BuildConnection(QStringLiteral("ACCESS"), data,
                                                     QLatin1String(StartupSequence::kDesignFile),
                                                     QLatin1String(StartupSequence::kPassword), {}, {}, {});
    m_database = QDir::toNativeSeparators(database);
    // One read up front, so that a damaged or locked database stops every
    // command before any output rather than leaving fields unjudged.
    const auto modes = DesignDatabase(m_designConnection).modes();
    if (!modes) {
        cannotReadDatabase(modes.errorString());
        return false;
    }
    return true;
}

void PatternTool::cannotReadDatabase(const QString &why)
{
    say(QStringLiteral("cannot read the design database %1: %2").arg(m_database, why));
}

bool PatternTool::load(const QString &file, QString &mode, QString &problem, GridTableModel &grid)
{
    m_reading = file;
    PatternReader reader;
    if (!reader.readFile(file)) {
        problem = QStringLiteral("cannot read the file: %1").arg(reader.errorString());
        return false;
    }
    if (reader.mode().isEmpty()) {
        problem = QStringLiteral("not a pattern file: no mode line \"[T];MODE;\" giving a mode, "
                                 "or a line longer than %1 MiB")
                      .arg(PatternFile::kMaxLineBytes >> 20);
        return false;
    }
    // A file some program wrote in UTF-8 is read so, and said to be so.
    const bool utf8 = reader.looksLikeUtf8();
    if (utf8)
        reader.setEncoding(PatternFile::Encoding::Utf8);
    mode = reader.mode();
    GridLayout::layOut(grid);
    PatternFile::LoadReport report = PatternFile::loadRows(reader, grid);
    Reading &reading = &grid == &m_grid ? m_read : m_otherRead;
    reading.report = std::move(report);
    reading.utf8 = utf8;
    return true;
}

QStringList PatternTool::readingNotes(const QString &file, const Reading &reading)
{
    QStringList notes;
    if (reading.utf8)
        notes << QStringLiteral("%1:0:-: this file is UTF-8; patterns are windows-874").arg(file);
    for (const PatternPreview::Check &c : PatternPreview::loadChecks(reading.report))
        notes << QStringLiteral("%1:%2:-: %3").arg(file, QString::number(reading.report.rowLines.value(c.row - 1)), c.message);
    return notes;
}

const PatternPreview::Samples *PatternTool::samples(const QString &mode)
{
    auto found = m_samples.find(mode);
    if (found == m_samples.end()) {
        // A read that fails now (a view dropped, a lock taken since the
        // start) would leave every field unjudged: the run cannot go on.
        const auto read = PatternPreview::Samples::read(m_designConnection, mode);
        if (!read) {
            cannotReadDatabase(read.errorString());
            return nullptr;
        }
        found = m_samples.insert(mode, *read);
    }
    return &*found;
}

QString PatternTool::located(const QString &file, const PatternPreview::Check &check) const
{
    // Row 0 is the pattern as a whole: its mode line.
    const int line = check.row == 0 ? m_read.report.modeLine : m_read.report.rowLines.value(check.row - 1);
    return QStringLiteral("%1:%2:%3: %4")
        .arg(file, QString::number(line),
             check.column == 0 ? QStringLiteral("-") : m_grid.CellText(0, check.column), check.message);
}

int PatternTool::check(const QStringList &files, int recordLength)
{
    int status = Done;
    for (const QString &file : files) {
        QString mode;
        QString problem;
        QString out;
        if (!load(file, mode, problem)) {
            out = line(QStringLiteral("%1:0:-: %2").arg(file, problem));
        } else {
            const PatternPreview::Samples *fields = samples(mode);
            if (!fields)
                return CannotRun;
            for (const QString &note : readingNotes(file, m_read))
                out += line(note);
            for (const PatternPreview::Check &c : PatternPreview::check(m_grid, *fields, recordLength))
                out += line(located(file, c));
        }
        if (!out.isEmpty())
            status = Problems;
        if (!write(out.toUtf8()))
            return CannotRun;
    }
    return status;
}

bool PatternTool::loadOrSay(const QString &file, QString &mode, GridTableModel &grid)
{
    QString problem;
    if (load(file, mode, problem, grid))
        return true;
    say(QStringLiteral("%1: %2").arg(file, problem));
    return false;
}

int PatternTool::layout(const QString &file, PatternLayout::Format format)
{
    QString mode;
    if (!loadOrSay(file, mode))
        return Problems;
    const PatternPreview::Samples *fields = samples(mode);
    if (!fields)
        return CannotRun;
    // How the file was read, said beside the table; the status stays Done,
    // so that the layout can serve as a version control's text conversion.
    for (const QString &note : readingNotes(file, m_read))
        say(note);
    QString error;
    if (!PatternLayout::write(m_out, format, m_grid, *fields, &error)) {
        say(QStringLiteral("cannot write the layout: %1").arg(error));
        return CannotRun;
    }
    return Done;
}

int PatternTool::render(const QString &file, const QByteArray &encoding, const QString &lineEnd)
{
    QString mode;
    if (!loadOrSay(file, mode))
        return Problems;
    const PatternPreview::Samples *fields = samples(mode);
    if (!fields)
        return CannotRun;
    const PatternPreview::Samples &rowSamples = *fields;
    QStringEncoder encoder(encoding.constData());
    for (const int row : PatternRows::writtenRows(m_grid)) {
        QString text = PatternPreview::renderRow(m_grid, row, rowSamples).text;
        if (lineEnd != u"\n")
            text.replace(u'\n', lineEnd);
        text += lineEnd;
        if (!write(encoder.encode(text)))
            return CannotRun;
    }
    // What makes the output doubtful: the file read otherwise than the
    // exporting program reads it, cells it holds that were not loaded, and
    // cells whose output is not known (a field the mode lacks, a length that
    // is no length, a cell that is neither field nor constant).
    QStringList doubts = readingNotes(file, m_read);
    for (const PatternPreview::Check &c : PatternPreview::check(m_grid, rowSamples)) {
        using Kind = PatternPreview::Check::Kind;
        if (c.kind == Kind::UnknownField || c.kind == Kind::UnknownMode || c.kind == Kind::Length
            || c.kind == Kind::NotACell)
            doubts << located(file, c);
    }
    for (const QString &doubt : doubts)
        say(doubt);
    return doubts.isEmpty() ? Done : Problems;
}

bool PatternTool::readOrSay(const QString &file, QByteArray &bytes)
{
    QString problem;
    std::optional<QByteArray> read = readWholeFile(file, &problem);
    if (!read) {
        say(QStringLiteral("%1: cannot read the file: %2").arg(file, problem));
        return false;
    }
    bytes = std::move(*read);
    return true;
}

int PatternTool::inspect(const QString &pattern, const QString &exportFile, const QByteArray &encoding,
                         PatternLayout::Format format)
{
    QString mode;
    QByteArray bytes;
    if (!loadOrSay(pattern, mode) || !readOrSay(exportFile, bytes))
        return CannotRun;
    QString problem;
    const std::optional<ExportMatch::ExportText> text = ExportMatch::decode(bytes, encoding.constData(), &problem);
    if (!text) {
        say(QStringLiteral("%1: %2").arg(exportFile, problem));
        return CannotRun;
    }
    // Where a line's fields stand depends on their lengths alone, not on the samples.
    const QList<RecordShape::Row> shapes = RecordShape::shapesOf(m_grid, PatternPreview::Samples());
    const ExportMatch::Result result = ExportMatch::inspect(shapes, *text);
    QString error;
    if (!ExportMatch::write(m_out, format, exportFile, shapes, *text, result, &error)) {
        say(QStringLiteral("cannot write the output: %1").arg(error));
        return CannotRun;
    }
    return result.unmatched == 0 && text->size() > 0 ? Done : Problems;
}

int PatternTool::compare(const QString &pattern, const QString &tableFile)
{
    QString mode;
    QByteArray bytes;
    if (!loadOrSay(pattern, mode) || !readOrSay(tableFile, bytes))
        return CannotRun;
    const LayoutTable::Table table = LayoutTable::read(bytes);
    if (!table.error.isEmpty()) {
        say(QStringLiteral("%1: not a layout table: %2").arg(tableFile, table.error));
        return CannotRun;
    }
    // Where the table's fields stand depends on their lengths alone, not on the samples.
    const QList<LayoutTable::Finding> found =
        LayoutTable::compare(table, RecordShape::shapesOf(m_grid, PatternPreview::Samples()));
    QString out;
    const auto finding = [&](int number, const QString &message) {
        out += line(tableFile + u':' + (number > 0 ? QString::number(number) : QStringLiteral("-")) + QStringLiteral(": ")
                    + message);
    };
    for (const auto &[number, note] : table.notes)
        finding(number, QStringLiteral("note: ") + note);
    for (const auto &[number, problem] : table.problems)
        finding(number, problem);
    for (const LayoutTable::Finding &f : found)
        finding(f.line, f.message);
    if (!write(out.toUtf8()))
        return CannotRun;
    return table.problems.isEmpty() && found.isEmpty() ? Done : Problems;
}

int PatternTool::diff(const QString &before, const QString &after)
{
    QString beforeMode;
    QString afterMode;
    if (!loadOrSay(before, beforeMode, m_grid) || !loadOrSay(after, afterMode, m_other))
        return CannotRun;
    const PatternPreview::Samples *beforeFields = samples(beforeMode);
    const PatternPreview::Samples *afterFields = beforeFields ? samples(afterMode) : nullptr;
    if (!afterFields)
        return CannotRun;
    for (const QString &note : readingNotes(before, m_read) + readingNotes(after, m_otherRead))
        say(note);
    const QStringList changes = PatternDiff::diff({beforeMode, &m_grid, *beforeFields}, {afterMode, &m_other, *afterFields});
    QString out;
    for (const QString &change : changes)
        out += line(change);
    if (!write(out.toUtf8()))
        return CannotRun;
    if (!changes.isEmpty())
        return Problems;
    // No change in what was loaded is no answer when the files hold more
    // than was loaded, or are read in different code pages.
    const QString unknown = !m_read.report.overlong.isEmpty() || !m_otherRead.report.overlong.isEmpty()
        ? QStringLiteral("cells past Field100 were not loaded")
        : m_read.utf8 != m_otherRead.utf8 ? QStringLiteral("one is UTF-8, the other windows-874")
                                          : QString();
    if (unknown.isEmpty())
        return Done;
    say(QStringLiteral("cannot tell whether %1 and %2 write the same: %3").arg(before, after, unknown));
    return CannotRun;
}

bool PatternTool::write(const QByteArray &bytes)
{
    if (m_out.write(bytes) == bytes.size())
        return true;
    say(QStringLiteral("cannot write the output: %1").arg(m_out.errorString()));
    return false;
}

void PatternTool::tellOutOfMemory()
{
    say(QStringLiteral("%1: not enough memory to read it").arg(m_reading));
}

void PatternTool::say(const QString &text)
{
    m_err.write(line(QStringLiteral("zn7pat: ") + text).toUtf8());
}

QString PatternTool::line(const QString &text)
{
    // What a file holds may hold control characters: written raw, an escape
    // sequence in a field name would act on the terminal.
    QString out;
    out.reserve(text.size() + 1);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'\t': out += QLatin1String("\\t"); break;
        case u'\r': out += QLatin1String("\\r"); break;
        case u'\n': out += QLatin1String("\\n"); break;
        case 0x1b: out += QLatin1String("\\e"); break;
        default:
            if (u < 0x20 || u == 0x7f)
                out += QLatin1String("\\x") + QString::number(uint(u), 16).toUpper().rightJustified(2, u'0');
            else if (u >= 0x80 && u <= 0x9f)
                out += QStringLiteral("\\u%1").arg(uint(u), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += u'\n';
    return out;
}

// zn7pat: checks pattern files, lists where their fields land and writes
// the output they give from the mode's samples, without the designer's
// window. The work is PatternTool's; this reads the command line.

#include "patterntool.h"

#include "components/codepage.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QHash>

#include <QStringEncoder>

#include <cstdio>
#include <cstdlib>
#include <langinfo.h>
#include <unistd.h>
#include <new>

namespace {

// Qt's own debug output and warnings (SQL drivers, file engines) would mix
// with the tool's lines; only critical and fatal messages get through.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "zn7pat: %s\n", message.toUtf8().constData());
}

// The encoding of the user's locale, which a terminal shows: UTF-8 where
// Qt does not know the locale's own.
QString terminalEncoding()
{
    const QString codeset = QString::fromLatin1(nl_langinfo(CODESET));
    return QStringEncoder(codeset.toLatin1().constData()).isValid() ? codeset : QStringLiteral("utf-8");
}

int usage(QFile &err, const QString &problem)
{
    err.write(QStringLiteral("zn7pat: %1\nTry 'zn7pat --help'.\n").arg(problem).toUtf8());
    return PatternTool::CannotRun;
}

// What is still buffered must reach its place, or the run failed: a full
// disk or a closed output is no success.
bool flushed(QFile &out, QFile &err)
{
    if (out.flush() && std::fflush(stdout) == 0)
        return true;
    err.write(QStringLiteral("zn7pat: cannot write the output: %1\n").arg(out.errorString()).toUtf8());
    return false;
}

// --help and --version, written here rather than by QCommandLineParser,
// which cannot say that its text did not reach the output.
int say(QFile &out, QFile &err, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    if (out.write(bytes) != bytes.size()) {
        err.write(QStringLiteral("zn7pat: cannot write the output: %1\n").arg(out.errorString()).toUtf8());
        return PatternTool::CannotRun;
    }
    return flushed(out, err) ? PatternTool::Done : PatternTool::CannotRun;
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(quietMessages);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zn7pat"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZN7_VERSION));

    QFile out;
    QFile err;
    if (!out.open(stdout, QIODevice::WriteOnly) || !err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return PatternTool::CannotRun;

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Checks text export pattern files (*.PAT), lists where their fields land, and writes the output\n"
        "they give from the working mode's sample data.\n\n"
        "  check FILE.PAT...   each layout problem as FILE:LINE:CELL: message, LINE the file's\n"
        "                      own line (the first is line 1; the mode's on its line), CELL Field1\n"
        "                      to Field100 or -\n"
        "  layout FILE.PAT     every filled cell: row, type, cell, kind, field, name, positions, length,\n"
        "                      alignment, fill, prefix, suffix, multi-line flag, sample, row length\n"
        "  render FILE.PAT     the output of each row, one line each (a constant's {NL} breaks it);\n"
        "                      what makes it doubtful (a field the mode does not have, a length that\n"
        "                      is none, cells past Field100, a UTF-8 file) is said on stderr, status 1\n"
        "  inspect FILE.PAT EXPORTFILE\n"
        "                      each line of a real export file matched to the row that wrote it, with\n"
        "                      its fields' texts; for a line of no row, the nearest row and where it\n"
        "                      differs; then a summary\n"
        "  compare FILE.PAT TABLE.csv\n"
        "                      a bank's layout table (record, field, start, end, length, value,\n"
        "                      description) held against the pattern: every difference\n"
        "  diff OLD.PAT NEW.PAT\n"
        "                      what changed between two versions, with the positions each change moves\n"
        "layout, render and diff say on stderr how a file was read when it was read as UTF-8 or had\n"
        "cells past Field100.\n\n"
        "Exit status: 0 done (check: no problem; inspect: every line matches; compare, diff: no\n"
        "difference), 1 problems or differences found, or a file that is no readable pattern (check,\n"
        "layout, render), 2 could not run (usage, data folder, design database, a file of inspect,\n"
        "compare or diff that cannot be read; diff finding no change in files holding cells past\n"
        "Field100, or of which only one is UTF-8)."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption data(QStringLiteral("data"),
                                  QStringLiteral("The data folder holding the design database "
                                                 "(default: the designer's, from ZN7ConfigPath.ini beside "
                                                 "the program, else the program's folder)."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption format(QStringLiteral("format"), QStringLiteral("layout, inspect: text (default), csv or json."),
                                    QStringLiteral("FORMAT"), QStringLiteral("text"));
    const QCommandLineOption encoding(QStringLiteral("encoding"),
                                      QStringLiteral("render: the code page written (default: the terminal's "
                                                     "encoding on a terminal, else windows-874); inspect: the "
                                                     "export file's (default windows-874). windows-874 or utf-8."),
                                      QStringLiteral("ENCODING"));
    const QCommandLineOption lineEnd(QStringLiteral("line-end"),
                                     QStringLiteral("render: crlf (default, as pattern files end their lines) "
                                                    "or lf."),
                                     QStringLiteral("END"), QStringLiteral("crlf"));
    const QCommandLineOption recordLength(QStringLiteral("record-length"),
                                          QStringLiteral("check: the length every output line must have."),
                                          QStringLiteral("N"));
    parser.addOptions({data, format, encoding, lineEnd, recordLength});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("check, layout, render, inspect, compare or diff."));
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Pattern files."),
                                 QStringLiteral("FILE.PAT..."));

    if (!parser.parse(QCoreApplication::arguments()))
        return usage(err, parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        return say(out, err, parser.helpText());
    if (parser.isSet(QStringLiteral("version")))
        return say(out, err, QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion() + u'\n');

    QStringList files = parser.positionalArguments();
    const QString command = files.isEmpty() ? QString() : files.takeFirst();
    // Each command and the files it takes: check any number, the others one or two.
    const QHash<QString, int> filesOf{{QStringLiteral("check"), 0},   {QStringLiteral("layout"), 1},
                                      {QStringLiteral("render"), 1},  {QStringLiteral("inspect"), 2},
                                      {QStringLiteral("compare"), 2}, {QStringLiteral("diff"), 2}};
    if (!filesOf.contains(command))
        return usage(err, command.isEmpty() ? QStringLiteral("no command given")
                                            : QStringLiteral("unknown command '%1'").arg(command));
    if (files.isEmpty())
        return usage(err, QStringLiteral("no pattern file given"));
    const int wanted = filesOf.value(command);
    if (wanted == 1 && files.size() > 1)
        return usage(err, QStringLiteral("%1 takes one pattern file").arg(command));
    if (wanted == 2 && files.size() != 2)
        return usage(err, command == u"inspect" ? QStringLiteral("inspect takes a pattern file and an export file")
                        : command == u"compare" ? QStringLiteral("compare takes a pattern file and a layout table")
                                                : QStringLiteral("diff takes two pattern files"));
    if (parser.isSet(format) && command != u"layout" && command != u"inspect")
        return usage(err, QStringLiteral("--format is for layout and inspect"));
    if (parser.isSet(encoding) && command != u"render" && command != u"inspect")
        return usage(err, QStringLiteral("--encoding is for render and inspect"));
    for (const auto &[option, user] : {std::pair{&lineEnd, u"render"}, {&recordLength, u"check"}}) {
        if (parser.isSet(*option) && command != user)
            return usage(err, QStringLiteral("--%1 is for %2").arg(option->names().constFirst(), user));
    }
    const std::optional<PatternLayout::Format> layoutFormat = PatternLayout::formatNamed(parser.value(format));
    if (!layoutFormat)
        return usage(err, QStringLiteral("unknown format '%1' (text, csv or json)").arg(parser.value(format)));
    // A terminal shows its own encoding; a file or a pipe gets the bytes a
    // pattern's export has.
    QString codePage = parser.value(encoding);
    if (!parser.isSet(encoding))
        codePage = command == u"render" && isatty(STDOUT_FILENO) ? terminalEncoding() : QString::fromLatin1(CodePage::kPattern);
    else if (codePage != u"windows-874" && codePage != u"utf-8")
        return usage(err, QStringLiteral("unknown encoding '%1' (windows-874 or utf-8)").arg(codePage));
    if (parser.value(lineEnd) != u"crlf" && parser.value(lineEnd) != u"lf")
        return usage(err, QStringLiteral("unknown line end '%1' (crlf or lf)").arg(parser.value(lineEnd)));
    bool lengthGiven = !parser.isSet(recordLength);
    const int length = parser.isSet(recordLength) ? parser.value(recordLength).toInt(&lengthGiven) : 0;
    if (!lengthGiven || (parser.isSet(recordLength) && length < 1))
        return usage(err, QStringLiteral("the record length '%1' is no whole number from 1").arg(parser.value(recordLength)));
    // Without the code page no pattern can be read.
    if (!CodePage::isAvailable())
        return usage(err, QStringLiteral("this Qt cannot convert the code page %1").arg(QLatin1String(CodePage::kPattern)));

    PatternTool tool(out, err);
    if (!tool.useDataFolder(parser.value(data), QCoreApplication::applicationFilePath()))
        return PatternTool::CannotRun;
    int status = PatternTool::CannotRun;
    try {
        status = command == u"check"     ? tool.check(files, length)
               : command == u"layout"  ? tool.layout(files.constFirst(), *layoutFormat)
               : command == u"render"  ? tool.render(files.constFirst(), codePage.toLatin1(),
                                                     parser.value(lineEnd) == u"lf" ? QStringLiteral("\n")
                                                                                    : QStringLiteral("\r\n"))
               : command == u"inspect" ? tool.inspect(files.at(0), files.at(1), codePage.toLatin1(), *layoutFormat)
               : command == u"compare" ? tool.compare(files.at(0), files.at(1))
                                       : tool.diff(files.at(0), files.at(1));
    } catch (const std::bad_alloc &) {
        // What was written so far stands; the run as a whole did not finish.
        (void)flushed(out, err);
        tool.tellOutOfMemory();
        return PatternTool::CannotRun;
    }
    if (!flushed(out, err))
        return PatternTool::CannotRun;
    // Ends here, everything written, without taking apart what was built:
    // freeing the cells of a large pattern one by one costs a tenth of the
    // run, and the system takes the memory back at once.
    std::_Exit(status);
}

// zn7pat: checks pattern files, lists where their fields land and writes
// the output they give from the mode's samples, without the designer's
// window. The work is PatternTool's; this reads the command line.

#include "patterntool.h"

#include "components/codepage.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

// Qt's own debug output and warnings (SQL drivers, file engines) would mix
// with the tool's lines; only critical and fatal messages get through.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "zn7pat: %s\n", message.toUtf8().constData());
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
        "  check FILE.PAT...   each layout problem as FILE:ROW:CELL: message\n"
        "  layout FILE.PAT     every filled cell: row, type, cell, kind, field, name, positions, length,\n"
        "                      alignment, fill, prefix, suffix, multi-line flag, sample, row length\n"
        "  render FILE.PAT     the output of each row, one line each (a constant's {NL} breaks it)\n\n"
        "Exit status: 0 done (check: no problem), 1 problems found or a file that is no readable\n"
        "pattern, 2 could not run (usage, data folder, design database)."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption data(QStringLiteral("data"),
                                  QStringLiteral("The data folder holding the design database "
                                                 "(default: the designer's, from ZN7ConfigPath.ini beside "
                                                 "the program, else the program's folder)."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption format(QStringLiteral("format"), QStringLiteral("layout: text (default), csv or json."),
                                    QStringLiteral("FORMAT"), QStringLiteral("text"));
    const QCommandLineOption encoding(QStringLiteral("encoding"),
                                      QStringLiteral("render: windows-874 (default) or utf-8."),
                                      QStringLiteral("ENCODING"), QStringLiteral("windows-874"));
    parser.addOptions({data, format, encoding});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("check, layout or render."));
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
    if (command != u"check" && command != u"layout" && command != u"render")
        return usage(err, command.isEmpty() ? QStringLiteral("no command given")
                                            : QStringLiteral("unknown command '%1'").arg(command));
    if (files.isEmpty())
        return usage(err, QStringLiteral("no pattern file given"));
    if (command != u"check" && files.size() > 1)
        return usage(err, QStringLiteral("%1 takes one pattern file").arg(command));
    if (parser.isSet(format) && command != u"layout")
        return usage(err, QStringLiteral("--format is for layout"));
    if (parser.isSet(encoding) && command != u"render")
        return usage(err, QStringLiteral("--encoding is for render"));
    const std::optional<PatternLayout::Format> layoutFormat = PatternLayout::formatNamed(parser.value(format));
    if (!layoutFormat)
        return usage(err, QStringLiteral("unknown format '%1' (text, csv or json)").arg(parser.value(format)));
    const QString codePage = parser.value(encoding);
    if (codePage != u"windows-874" && codePage != u"utf-8")
        return usage(err, QStringLiteral("unknown encoding '%1' (windows-874 or utf-8)").arg(codePage));
    // Without the code page no pattern can be read.
    if (!CodePage::isAvailable())
        return usage(err, QStringLiteral("this Qt cannot convert the code page %1").arg(QLatin1String(CodePage::kPattern)));

    PatternTool tool(out, err);
    if (!tool.useDataFolder(parser.value(data), QCoreApplication::applicationFilePath()))
        return PatternTool::CannotRun;
    int status = PatternTool::CannotRun;
    try {
        status = command == u"check"    ? tool.check(files)
               : command == u"layout" ? tool.layout(files.constFirst(), *layoutFormat)
                                      : tool.render(files.constFirst(), codePage.toLatin1());
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

// zn7pat seen from outside: the real program on the golden patterns, and on
// inputs that must neither hang it, nor make it write anywhere, nor make Qt
// talk on its standard error.

#include "testsupport.h"

#include <QtSql>
#include <QtTest>

namespace {

const QString kPatterns = QStringLiteral(ZN7_TEST_DATA "/patterns");
const QString kGolden = QStringLiteral(ZN7_TEST_DATA "/zn7pat");
const QString kSampleData = QFileInfo(QStringLiteral(ZN7_SAMPLE_DESKTOP)).absolutePath();

struct Run
{
    int status = -1;   // -1: crashed or still running after 60 s
    QByteArray out, err;
};

Run run(const QString &program, const QStringList &args, const QString &folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, args);
    const bool ended = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    process.kill();
    return {ended ? process.exitCode() : -1, process.readAllStandardOutput(), process.readAllStandardError()};
}

QStringList tree(const QString &folder)
{
    QStringList names;
    for (QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDirIterator::Subdirectories); it.hasNext();)
        names << it.next();
    return names;
}

} // namespace

class TstZn7Pat final : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;   // the odd inputs, and copies of the program with and without an INI file

private Q_SLOTS:
    void initTestCase()
    {
        const auto path = [this](const char *name) { return m_dir.filePath(QString::fromUtf8(name)); };
        const auto fifo = [](const QString &name) { return QProcess::execute("mkfifo", {name}) == 0; };
        const QByteArray noise = readBytes(QCoreApplication::applicationFilePath()).left(4096);   // a binary file
        QVERIFY(writeBytes(path("big.PAT"), "[T];BANK") && QFile::resize(path("big.PAT"), 300 << 20));   // no line break in 300 MB
        for (const char *folder : {"dir.PAT", "nodb", "corrupt", "empty", "pipedb", "prog", "progini", "progbad", "data", "wal", "noview"})
            QVERIFY(QDir(m_dir.path()).mkdir(folder));
        QVERIFY(fifo(path("pipe.PAT")) && fifo(path("pipedb/ZN7Desktop.dat")) && writeBytes(path("binary.PAT"), noise)
                && writeBytes(path("corrupt/ZN7Desktop.dat"), noise) && writeBytes(path("empty/ZN7Desktop.dat"), {})
                && QFile::copy(kPatterns + "/empty_file.PAT", path("ไฟล์ 'a' \"b\".PAT")));
        QVERIFY(QFile::copy(ZN7_SAMPLE_DESKTOP, path("prog/ZN7Desktop.dat")) && QFile::copy(ZN7_SAMPLE_DESKTOP, path("data/ZN7Desktop.dat")));
        QVERIFY(writeBytes(path("banks.PAT"), "[T];BANKS;\r\n\r\n[D];[C]:A\r\n[D];[C]:AB\r\n[D];[C]:AB\r\n"));   // a mode mistyped
        QVERIFY(writeBytes(path("late.PAT"), "junk\r\n\r\n[T];BANKS;\r\n"));   // and on the file's third line
        QVERIFY(writeBytes(path("progini/ZN7ConfigPath.ini"), "[Path]\nCONFIGPATH=" + path("data").toUtf8() + "\n")
                && writeBytes(path("progbad/ZN7ConfigPath.ini"), "CONFIGPATH=" + path("none").toUtf8() + "\n"));
        // A one-row pattern, an export file of it, one of lines it did not
        // write, and layout tables of it, one sound and one not.
        QVERIFY(writeBytes(path("bank.PAT"), "[T];BANK;\r\n[H];[C]:H;[F]:{BANKCODE}:3:L: :::0\r\n")
                && writeBytes(path("ok.txt"), "H014\r\nH002\r\n") && writeBytes(path("bad.txt"), "X014\r\nH01\n")
                && writeBytes(path("empty.txt"), {})
                && writeBytes(path("table.csv"), "\xEF\xBB\xBF" "field;start;length;value\r\ntype;1;1;H\r\nBANKCODE;2;3;\r\n")
                && writeBytes(path("wrong.csv"), "field,start,length\r\ntype,1,1\r\nBANKCODE,x,3\r\n")
                && writeBytes(path("bank2.PAT"), "[T];BANK;\r\n[H];[C]:H;[F]:{BANKCODE}:4:L: :::0\r\n"));
        for (const char *folder : {"prog", "progini", "progbad"})
            QVERIFY(QFile::copy(ZN7_PAT, m_dir.filePath(QLatin1String(folder) + "/zn7pat")));
        // A design database in WAL mode, and one whose field view is gone.
        for (const auto &[folder, change] : {std::pair{"wal", "PRAGMA journal_mode=WAL"}, {"noview", "DROP VIEW ZN7VTextExport"}}) {
            QVERIFY(QFile::copy(ZN7_SAMPLE_DESKTOP, path(folder) + "/ZN7Desktop.dat"));
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", folder);
            db.setDatabaseName(path(folder) + "/ZN7Desktop.dat");
            QVERIFY(db.open() && QSqlQuery(db).exec(change));
            db.close();
        }
        QVERIFY(QDir(path("wal")).entryList(QDir::Files) == QStringList{"ZN7Desktop.dat"});
        // Two lines of 101 cells that differ only in the last.
        const QByteArray wide = "[T];BANK;\r\n[H];[C]:A" + QByteArray(99, ';') + ";[C]:";
        QVERIFY(writeBytes(path("wide.PAT"), wide + "B\r\n") && writeBytes(path("wide2.PAT"), wide + "C\r\n"));
        // A UTF-8 file with its byte order mark, the same in windows-874, and
        // a field name holding an escape sequence, a bell and a C1 control.
        QVERIFY(writeBytes(path("utf8.PAT"), "\xEF\xBB\xBF[T];BANK;\r\n" + QStringLiteral("[H];[C]:ยอดรวม\r\n").toUtf8())
                && writeBytes(path("thai.PAT"), "[T];BANK;\r\n[H];[C]:\xC2\xCD\xB4\xC3\xC7\xC1\r\n")
                && writeBytes(path("esc.PAT"), "[T];BANK;\r\n[H];[F]:{\x1b[31mRED\x07\x81\xc0}:3:L::::0\r\n")
                && writeBytes(path("ctl.PAT"), "[T];BANK;\r\n[H];[C]:\x1b[2J\x07:5\r\n"));
    }

    void commands_data()
    {
        // The program: a copy in the temporary folder, the real one there
        // (""), or the real one with --data in the golden patterns' folder
        // ("golden"); its arguments, and what it must give.
        QTest::addColumn<QString>("program"); QTest::addColumn<QStringList>("args"); QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out"); QTest::addColumn<QString>("err");
        const auto golden = [](const char *name) { return QString::fromUtf8(readBytes(kGolden + u'/' + QLatin1String(name))); };
        const QString breaks = kGolden + "/breaks.PAT";
        QTest::newRow("check every golden pattern") << "golden" << QStringList("check") + QDir(kPatterns).entryList({"*.PAT"}) << 1 << golden("check.out") << "";
        QTest::newRow("layout as a table") << "golden" << QStringList{"layout", breaks} << 0 << golden("breaks.text") << "";
        QTest::newRow("layout as CSV") << "golden" << QStringList{"layout", "--format", "csv", breaks} << 0 << golden("breaks.csv") << "";
        QTest::newRow("layout as JSON") << "golden" << QStringList{"layout", "--format=json", breaks} << 0 << golden("breaks.json") << "";
        const QString nope = "zn7pat: " + breaks + ":3:Field4: neither a field nor a constant: kept as written, counted as 0\n"
                             "zn7pat: " + breaks + ":3:Field5: length 0 is below 1\n"
                             "zn7pat: " + breaks + ":3:Field5: the mode has no field NOPE\n";
        QTest::newRow("render in windows-874, lines ending in CR LF") << "golden" << QStringList{"render", breaks} << 1
                                                                      << golden("breaks.render").replace("\n", "\r\n") << nope;
        QTest::newRow("render, lines ending in LF") << "golden" << QStringList{"render", "--line-end", "lf", breaks} << 1 << golden("breaks.render") << nope;
        QTest::newRow("check a record length") << "golden" << QStringList{"check", "--record-length", "16", "../zn7pat/breaks.PAT"} << 1 << golden("record.out") << "";
        const QString unreadable = ":0:-: cannot read the file: ", notPattern = ":0:-: not a pattern file: no mode line \"[T];MODE;\" giving a mode, or a line longer than 1 MiB\n";
        const QString thai = "ไฟล์ 'a' \"b\".PAT", usage = "\nTry 'zn7pat --help'.\n", noDb = "zn7pat: the data folder %1 has no design database ZN7Desktop.dat\n";
        const QString damaged = "zn7pat: cannot read the design database %1/ZN7Desktop.dat: %2\n";
        QTest::newRow("a pipe") << "" << QStringList{"check", "pipe.PAT"} << 1 << "pipe.PAT" + unreadable + "It is not a regular file.\n" << "";
        QTest::newRow("a folder") << "" << QStringList{"check", "dir.PAT"} << 1 << "dir.PAT" + unreadable + "It is a folder, not a file.\n" << "";
        QTest::newRow("a missing file") << "" << QStringList{"check", "none.PAT"} << 1 << "none.PAT" + unreadable + "No such file or directory\n" << "";
        QTest::newRow("a binary file, 300 MB without a line break") << "" << QStringList{"check", "binary.PAT", "big.PAT"} << 1
                                                                   << "binary.PAT" + notPattern + "big.PAT" + notPattern << "";
        QTest::newRow("a name with spaces, quotes and Thai") << "" << QStringList{"check", thai} << 1 << thai + notPattern << "";
        QTest::newRow("layout of no pattern") << "" << QStringList{"layout", thai} << 1 << "" << "zn7pat: " + thai + ": " + notPattern.mid(6);
        QTest::newRow("no such data folder") << "" << QStringList{"check", "--data", "none", "x"} << 2 << "" << "zn7pat: there is no data folder none\n";
        QTest::newRow("no design database") << "" << QStringList{"check", "--data", "nodb", "x"} << 2 << "" << noDb.arg("nodb");
        QTest::newRow("a pipe for the database") << "" << QStringList{"render", "--data", "pipedb", "x"} << 2 << "" << noDb.arg("pipedb");
        QTest::newRow("a damaged database") << "" << QStringList{"layout", "--data", "corrupt", "x"} << 2 << "" << damaged.arg("corrupt", "file is not a database");
        QTest::newRow("a database without tables") << "" << QStringList{"check", "--data", "empty", "x"} << 2 << ""
                                                   << damaged.arg("empty", "no such table: ZN7TTextExportMode");
        QTest::newRow("the program's folder") << "prog/zn7pat" << QStringList{"check", kPatterns + "/basic.PAT"} << 0 << "" << "";
        QTest::newRow("the INI file's folder") << "progini/zn7pat" << QStringList{"check", kPatterns + "/basic.PAT"} << 0 << "" << "";
        QTest::newRow("the INI file names no folder") << "progbad/zn7pat" << QStringList{"check", "x"} << 2 << ""
            << "zn7pat: the data folder " + m_dir.filePath("none") + " (from ZN7ConfigPath.ini beside the program) does not exist\n";
        QTest::newRow("no command") << "" << QStringList() << 2 << "" << "zn7pat: no command given" + usage;
        QTest::newRow("layout of two files") << "" << QStringList{"layout", "a", "b"} << 2 << "" << "zn7pat: layout takes one pattern file" + usage;
        QTest::newRow("an unknown format") << "" << QStringList{"layout", "--format", "xml", "a"} << 2 << "" << "zn7pat: unknown format 'xml' (text, csv or json)" + usage;
        QTest::newRow("version") << "" << QStringList("--version") << 0 << "zn7pat 1.0\n" << "";
        const QString banks = "banks.PAT:1:-: the mode BANKS is not in the design database\n";
        QTest::newRow("check a mistyped mode") << "progini/zn7pat" << QStringList{"check", "banks.PAT"} << 1
                                               << banks + "banks.PAT:3:-: LOOP row 1: 1 character; most lines: 2\n" << "";
        QTest::newRow("render a mistyped mode") << "progini/zn7pat" << QStringList{"render", "--encoding", "utf-8", "banks.PAT"} << 1
                                                << "A\r\nAB\r\nAB\r\n" << "zn7pat: " + banks;
        for (const char *length : {"0", "-3", "x"})
            QTest::addRow("record length %s", length) << "" << QStringList{"check", "--record-length", length, "a"} << 2 << ""
                                                      << QStringLiteral("zn7pat: the record length '%1' is no whole number from 1").arg(length) + usage;
        QTest::newRow("record length for render") << "" << QStringList{"render", "--record-length", "5", "a"} << 2 << "" << "zn7pat: --record-length is for check" + usage;
        QTest::newRow("an unknown line end") << "" << QStringList{"render", "--line-end", "cr", "a"} << 2 << "" << "zn7pat: unknown line end 'cr' (crlf or lf)" + usage;
        QTest::newRow("inspect a file the pattern wrote") << "" << QStringList{"inspect", "bank.PAT", "ok.txt"} << 0
            << "ok.txt:1: row 1 LINE: Field2 BANKCODE 2-4 \"014\"\nok.txt:2: row 1 LINE: Field2 BANKCODE 2-4 \"002\"\n"
               "ok.txt: 2 lines read; records: row 1 (LINE) 2; 0 lines match no row; line ends: CR LF\n" << "";
        QTest::newRow("inspect lines of no row") << "" << QStringList{"inspect", "bank.PAT", "bad.txt"} << 1
            << "bad.txt:1: no row matches: nearest row 1 (LINE), position 1: 'X', row 1 expects 'H'\n"
               "bad.txt:2: no row matches: nearest row 1 (LINE), the line has 3 characters, row 1 writes 4\n"
               "bad.txt: 2 lines read; records: row 1 (LINE) 0; 2 lines match no row; line ends: mixed: 1 CR LF, 1 LF\n" << "";
        QTest::newRow("inspect an empty file") << "" << QStringList{"inspect", "bank.PAT", "empty.txt"} << 1
            << "empty.txt: 0 lines read; records: row 1 (LINE) 0; 0 lines match no row; line ends: none\n" << "";
        QTest::newRow("inspect a binary file") << "" << QStringList{"inspect", "bank.PAT", "binary.PAT"} << 2 << ""
            << "zn7pat: binary.PAT: line 1: a NUL byte; this is no text file\n";
        QTest::newRow("inspect a pipe") << "" << QStringList{"inspect", "bank.PAT", "pipe.PAT"} << 2 << ""
            << "zn7pat: pipe.PAT: cannot read the file: It is not a regular file.\n";
        QTest::newRow("inspect with one file") << "" << QStringList{"inspect", "bank.PAT"} << 2 << ""
            << "zn7pat: inspect takes a pattern file and an export file" + usage;
        QTest::newRow("compare a sound table") << "" << QStringList{"compare", "bank.PAT", "table.csv"} << 0 << "" << "";
        QTest::newRow("compare a table with a position that is no number") << "" << QStringList{"compare", "bank.PAT", "wrong.csv"} << 1
            << "wrong.csv:3: start 'x' is not a number\nwrong.csv:3: field BANKCODE needs two of start, end and length\n"
               "wrong.csv:2: the record, row 1 (LINE): the row's Field2 BANKCODE writes 2-4, where the table has no field\n"
               "wrong.csv:2: the record, row 1 (LINE): the table's record is 1 character, the row writes 4\n" << "";
        QTest::newRow("compare with no table") << "" << QStringList{"compare", "bank.PAT", "binary.PAT"} << 2 << ""
            << "zn7pat: binary.PAT: not a layout table: line 1: a NUL byte; this is no text file\n";
        QTest::newRow("diff of the same") << "" << QStringList{"diff", "bank.PAT", "bank.PAT"} << 0 << "" << "";
        QTest::newRow("diff of a resize") << "" << QStringList{"diff", "bank.PAT", "bank2.PAT"} << 1
            << "row 1 (LINE): Field2 BANKCODE: length 3 -> 4: nothing follows it; line 4 -> 5\n" << "";
        QTest::newRow("a WAL database: nothing made beside it") << "" << QStringList{"check", "--data", "wal", kPatterns + "/basic.PAT"} << 0 << "" << "";
        QTest::newRow("a view gone from the database") << "" << QStringList{"check", "--data", "noview", kPatterns + "/basic.PAT"} << 2 << ""
            << "zn7pat: cannot read the design database noview/ZN7Desktop.dat: no such table: ZN7VTextExport\n";
        QTest::newRow("a UTF-8 file") << "" << QStringList{"check", "--data", "data", "utf8.PAT"} << 1
                                      << "utf8.PAT:0:-: this file is UTF-8; patterns are windows-874\n" << "";
        QTest::newRow("check a mistyped mode on the third line") << "" << QStringList{"check", "--data", "data", "late.PAT"} << 1
            << "late.PAT:3:-: the mode BANKS is not in the design database\n"
               "late.PAT:3:Field1: neither a field nor a constant: kept as written, counted as 0\n" << "";
        const QString utf8Note = "utf8.PAT:0:-: this file is UTF-8; patterns are windows-874\n";
        QTest::newRow("render a UTF-8 file") << "" << QStringList{"render", "--data", "data", "--encoding", "utf-8", "utf8.PAT"} << 1
                                             << "ยอดรวม\r\n" << "zn7pat: " + utf8Note;
        QTest::newRow("diff of one text in two code pages") << "" << QStringList{"diff", "--data", "data", "utf8.PAT", "thai.PAT"} << 2 << ""
            << "zn7pat: " + utf8Note + "zn7pat: cannot tell whether utf8.PAT and thai.PAT write the same: one is UTF-8, the other windows-874\n";
        const QString wideNote = "zn7pat: wide%1.PAT:2:-: line 2 has 101 cells; only Field1 to Field100 were loaded\n";
        QTest::newRow("render of cells past Field100") << "" << QStringList{"render", "--data", "data", "wide.PAT"} << 1 << "A\r\n"
                                                       << wideNote.arg("");
        QTest::newRow("layout of cells past Field100") << "" << QStringList{"layout", "--data", "data", "--format", "csv", "wide.PAT"} << 0
            << "row,type,cell,kind,field,name,line,start,endLine,end,length,alignment,fill,prefix,suffix,multiLine,sample,rowLength\r\n"
               "1,LINE,Field1,constant,,,1,1,1,1,1,,,,,,A,1\r\n" << wideNote.arg("");
        QTest::newRow("diff of cells past Field100") << "" << QStringList{"diff", "--data", "data", "wide.PAT", "wide2.PAT"} << 2 << ""
            << wideNote.arg("") + wideNote.arg("2")
                   + "zn7pat: cannot tell whether wide.PAT and wide2.PAT write the same: cells past Field100 were not loaded\n";
        QTest::newRow("layout of a constant holding an escape sequence") << "" << QStringList{"layout", "--data", "data", "ctl.PAT"} << 0
            << "row  type  cell    kind      field  name  line  start  endLine  end  length  alignment  fill  prefix  suffix  multiLine  sample  rowLength\n"
               "1    LINE  Field1  constant  -      -     1     1      1        5    5       -          -     -       -       -          ␛[2J␇   5\n"
            << "";
        // Windows-874 reads 0x81 as the C1 control U+0081, 0xC0 as a Thai letter.
        QTest::newRow("control characters in a field name") << "" << QStringList{"check", "--data", "data", "esc.PAT"} << 1
            << "esc.PAT:2:Field1: the mode has no field \\e[31mRED\\x07\\u0081ภ\n" << "";
    }
    void commands()
    {
        QFETCH(QString, program); QFETCH(QStringList, args);
        const QStringList before = tree(m_dir.path());
        const bool golden = program == u"golden";
        const Run done = run(program.isEmpty() || golden ? ZN7_PAT : m_dir.filePath(program),
                               golden ? QStringList{"--data", kSampleData} + args : args, golden ? kPatterns : m_dir.path());
        QTEST(QString::fromUtf8(done.err), "err");
        QTEST(done.status, "status");
        QTEST(QString::fromUtf8(done.out), "out");
        QCOMPARE(tree(m_dir.path()), before);
    }

    // To a terminal render writes the terminal's encoding, unless told; to
    // a pipe windows-874.
    void renderToTerminal_data()
    {
        QTest::addColumn<QStringList>("args"); QTest::addColumn<QByteArray>("encoding");
        QTest::newRow("terminal") << QStringList() << QByteArray("UTF-8");
        QTest::newRow("terminal, told windows-874") << QStringList{"--encoding", "windows-874"} << QByteArray("windows-874");
    }
    void renderToTerminal()
    {
        QFETCH(QStringList, args); QFETCH(QByteArray, encoding);
        QStringList command{ZN7_PAT, "render", "--data", kSampleData};
        command << args << kPatterns + "/thai_constant.PAT";
        for (QString &word : command)
            word = "'" + word + "'";
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", "C.UTF-8");
        process.setProcessEnvironment(environment);
        process.start("script", {"-qec", command.join(u' '), "/dev/null"});   // a pseudo-terminal for its output
        QVERIFY(process.waitForFinished(60000));
        const QByteArray thai = QStringEncoder(encoding.constData()).encode(QStringLiteral("ภาษีหัก ณ ที่จ่าย"));
        QVERIFY2(process.readAllStandardOutput().contains(thai), encoding);
    }

    void linksNoGui()
    {
        const QByteArray libraries = run("ldd", {ZN7_PAT}, ".").out;
        QVERIFY2(libraries.contains("libQt6Core") && !libraries.contains("libQt6Gui") && !libraries.contains("libQt6Widgets"), libraries);
    }

    // Output that cannot be written, to a full disk or a closed output, is a failure, not a success.
    void outputNotWritten_data()
    {
        QTest::addColumn<QString>("args"); QTest::addColumn<QString>("output");
        for (const char *args : {"render --data %1 %2/basic.PAT", "--help", "--version"}) {
            QTest::addRow("%s, disk full", args) << args << ">/dev/full";
            QTest::addRow("%s, output closed", args) << args << ">&-";
        }
    }
    void outputNotWritten()
    {
        QFETCH(QString, args); QFETCH(QString, output);
        const Run done = run("sh", {"-c", QStringLiteral("exec \"$0\" %1 %2").arg(args.arg(kSampleData, kPatterns), output), ZN7_PAT}, ".");
        QCOMPARE(done.status, 2);
        QVERIFY2(done.err.startsWith("zn7pat: cannot write the output"), done.err);
    }

    // A file of a million one-cell lines (11 MB) is checked in 400 MB of
    // address space; in 100 MB the run ends with a message, not a crash.
    void memoryLimit_data()
    {
        QTest::addColumn<int>("megabytes"); QTest::addColumn<int>("status"); QTest::addColumn<QString>("err");
        QTest::newRow("enough") << 400 << 0 << "";
        QTest::newRow("too little") << 100 << 2 << "zn7pat: lines.PAT: not enough memory to read it\n";
    }
    void memoryLimit()
    {
#ifdef __SANITIZE_ADDRESS__
        QSKIP("AddressSanitizer reserves far more address space than any limit here");
#endif
        QFETCH(int, megabytes);
        if (!QFile::exists(m_dir.filePath("lines.PAT")))
            QVERIFY(writeBytes(m_dir.filePath("lines.PAT"), "[T];BANK;\r\n" + QByteArray("[H];[C]:A\r\n").repeated(1000000)));
        const Run done = run("prlimit", {QStringLiteral("--as=%1").arg(qint64(megabytes) << 20), ZN7_PAT, "check", "--data", kSampleData, "lines.PAT"},
                             m_dir.path());
        QTEST(done.status, "status");
        QTEST(QString::fromUtf8(done.err), "err");
    }
};

QTEST_GUILESS_MAIN(TstZn7Pat)
#include "tst_zn7pat.moc"

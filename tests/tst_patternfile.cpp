// The pattern file reader and writer: golden files, grids built in code, and
// devices that hold no pattern, can be read only once or end short.

#include "components/gridtablemodel.h"
#include "designer/patternfile.h"

#include "testsupport.h"

#include <QtTest>

namespace {

using Cells = QMap<int, QString>;   // column, text

// Gives `bytes` once, as a pipe does, and counts the bytes it gave.
struct Pipe final : QIODevice
{
    explicit Pipe(const QByteArray &bytes) : bytes(bytes) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return bytes.size() - given + QIODevice::bytesAvailable(); }
    qint64 readData(char *data, qint64 max) override
    {
        const qint64 n = qMin(max, bytes.size() - given);
        memcpy(data, bytes.constData() + given, n);
        given += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

    const QByteArray bytes;
    qint64 given = 0;
};

// A file that claims `missing` bytes more than it gives, as one cut short while it is read.
struct File final : QBuffer
{
    qint64 missing = 0;
    qint64 size() const override { return QBuffer::size() + missing; }
};

} // namespace

class TestPatternFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each NAME.PAT is read; NAME.rejected marks a file without a mode, NAME.grid
    // holds the grid it loads into and NAME.out the exact bytes saved from it.
    void goldenFiles_data()
    {
        QTest::addColumn<QString>("name");
        const QDir dir(QStringLiteral(ZN7_TEST_DATA "/patterns"));
        const QStringList inputs = dir.entryList({QStringLiteral("*.PAT")}, QDir::Files, QDir::Name);
        QVERIFY2(inputs.size() >= 20, qPrintable(dir.path()));
        for (const QString &input : inputs)
            QTest::newRow(qPrintable(input.chopped(4))) << dir.filePath(input.chopped(4));
    }
    void goldenFiles()
    {
        QFETCH(QString, name);
        PatternReader reader;
        QVERIFY(reader.readFile(name + QStringLiteral(".PAT")));
        if (QFile::exists(name + QStringLiteral(".rejected"))) {
            QCOMPARE(reader.mode(), QString());
            QCOMPARE(reader.lines(), QStringList());
            return;
        }
        GridTableModel grid;
        GridLayout::layOut(grid);
        PatternFile::loadRows(reader, grid);
        if (QFile::exists(name + QStringLiteral(".grid")))
            QCOMPARE(dump(reader.mode(), grid).join(u'\n') + u'\n', QString::fromUtf8(readBytes(name + QStringLiteral(".grid"))));
        QBuffer saved;
        QVERIFY(PatternWriter().write(saved, reader.mode(), grid));
        QCOMPARE(saved.data(), readBytes(name + QStringLiteral(".out")));
    }

    // What only a grid row can hold: list indexes out of range, cells with
    // extra ":" parts or a bare tag, characters outside the code page
    // (expected: nothing, the write fails, naming the first and its cell,
    // also when rows before it are sound and one after it is not).
    // Rows removed or empty and cells that close up are tst_properties'
    // random grids.
    void writerOnBuiltRow_data()
    {
        QTest::addColumn<double>("type"); QTest::addColumn<Cells>("cells"); QTest::addColumn<int>("row");
        QTest::addColumn<QByteArray>("expected"); QTest::addColumn<QString>("error");
        QTest::newRow("type above the list; bare constant tag") << 5.0 << Cells{{12, "[C]"}} << 1 << QByteArray("[T];BANK;\r\n[D];[C]\r\n") << "";
        QTest::newRow("type below the list; constant's extra parts")
            << -1.0 << Cells{{11, "[C]:a:b:c"}, {110, "[F]:{X}:3:R:0:::0"}} << 1 << QByteArray("[T];BANK;\r\n[D];[C]:a;[F]:{X}:3:R:0:::0\r\n") << "";
        const QString lacks = QStringLiteral("Row %1, Field%2 holds \"%3\", which the Thai code page (windows-874) cannot store.");
        QTest::newRow("character the code page lacks, named alone") << 0.0 << Cells{{11, QStringLiteral("[C]:\u4e2dA:2")}} << 1 << QByteArray()
                                                       << lacks.arg(1).arg(1).arg(QStringLiteral("\u4e2d"));
        QTest::newRow("an emoji after Thai, in the last cell") << 0.0 << Cells{{11, QStringLiteral("[C]:ยอด:3")}, {110, QStringLiteral("[C]:ก😀:2")}}
                                                               << 1 << QByteArray() << lacks.arg(1).arg(100).arg(QStringLiteral("😀"));
        QTest::newRow("the first row of many that lacks one") << 0.0 << Cells{{12, QStringLiteral("[C]:\u00e9:1")}} << 300 << QByteArray()
                                                              << lacks.arg(300).arg(2).arg(QStringLiteral("\u00e9"));
    }
    void writerOnBuiltRow()
    {
        QFETCH(double, type); QFETCH(Cells, cells); QFETCH(int, row); QFETCH(QByteArray, expected);
        GridTableModel grid;
        GridLayout::layOut(grid);
        // Sound rows before it, each a line of about 3,000 characters, and
        // after it one that cannot be stored either.
        const QString sound = QStringLiteral("[C]:") + QString(3000, u'x') + QStringLiteral(":3000");
        for (int r = 1; r <= row + (row > 1 ? 1 : 0); ++r) {
            grid.AddRow();
            grid.SetCellText(r, GridLayout::kFirstFieldColumn, r < row ? sound : QStringLiteral("[C]:\u00e9:1"));
        }
        grid.SetCellText(row, GridLayout::kFirstFieldColumn, QString());
        grid.SetCellListIndex(row, GridLayout::kTypeColumn, type);
        for (auto cell = cells.cbegin(); cell != cells.cend(); ++cell)
            grid.SetCellText(row, cell.key(), cell.value());
        QBuffer out;
        PatternWriter writer;
        QCOMPARE(writer.write(out, QStringLiteral("BANK"), grid), !expected.isEmpty());
        QTEST(writer.errorString(), "error");
        QCOMPARE(out.data(), expected);
    }

    // What loading did beyond the grid: the line each row got its cells
    // from last, and the lines with cells past Field100, loaded up to it.
    void loadReport_data()
    {
        QTest::addColumn<QByteArray>("rows"); QTest::addColumn<QList<int>>("rowLines");
        QTest::addColumn<QList<PatternFile::LoadReport::Overlong>>("overlong");
        const QByteArray cells = QByteArray(";[C]:A").repeated(101);
        QTest::newRow("none") << QByteArray("[H];[C]:A\r\n[G];[C]:B\r\n") << QList<int>{2, 3} << QList<PatternFile::LoadReport::Overlong>{};
        QTest::newRow("120 cells") << "[H]" + QByteArray(";[C]:A").repeated(120) << QList<int>{2}
                                   << QList<PatternFile::LoadReport::Overlong>{{2, 1, 120}};
        // An empty line and a bare tag go into the row that has no Field1 yet.
        QTest::newRow("rows that take several lines; lone CR") << "[H];[C]:A\r\n\r[D];\n[G];[C]:B\r[D]" + cells + "\r\n[D]"
                                                               << QList<int>{2, 5, 6, 7} << QList<PatternFile::LoadReport::Overlong>{{6, 3, 101}};
        // The reader keeps a file in parts of a MiB: a CR LF cut between two.
        QTest::newRow("CR LF across the first MiB") << "[H];[C]:" + QByteArray((1 << 20) - 11 - 8 - 1, 'x') + "\r\n[G];[C]:B"
                                                    << QList<int>{2, 3} << QList<PatternFile::LoadReport::Overlong>{};
    }
    void loadReport()
    {
        QFETCH(QByteArray, rows); QFETCH(QList<int>, rowLines); QFETCH(QList<PatternFile::LoadReport::Overlong>, overlong);
        QBuffer file;
        file.setData("[T];BANK;\r\n" + rows);
        PatternReader reader;
        QVERIFY(reader.read(file));
        GridTableModel grid;
        GridLayout::layOut(grid);
        const PatternFile::LoadReport report = PatternFile::loadRows(reader, grid);
        QCOMPARE(report.rowLines, rowLines);
        QCOMPARE(report.overlong, overlong);
        QCOMPARE(grid.RowCount(), rowLines.size());
        QCOMPARE(grid.CellText(1, GridLayout::kLastFieldColumn).isEmpty(), overlong.isEmpty() || overlong[0].row != 1);
    }

    // A file some other program wrote in UTF-8 is told from windows-874 by a
    // byte order mark, or by bytes above ASCII that are all valid UTF-8 and
    // spell Thai; read so, its Thai is Thai and the mark is gone. Short
    // windows-874 Thai that happens to be valid UTF-8 stays windows-874.
    void encodings_data()
    {
        QTest::addColumn<QByteArray>("bytes"); QTest::addColumn<bool>("utf8"); QTest::addColumn<QStringList>("asUtf8");
        const QByteArray thai = QStringLiteral("[H];[C]:ยอดรวม").toUtf8();
        QTest::newRow("byte order mark") << "\xEF\xBB\xBF[T];BANK;\r\n" + thai << true << QStringList{"[T];BANK;", "[H];[C]:ยอดรวม"};
        QTest::newRow("UTF-8 Thai, no mark") << "[T];BANK;\r\n" + thai << true << QStringList{"[T];BANK;", "[H];[C]:ยอดรวม"};
        QTest::newRow("windows-874 Thai") << QByteArray("[T];BANK;\r\n[H];[C]:\xC2\xCD\xB4") << false << QStringList();
        QTest::newRow("ASCII only") << QByteArray("[T];BANK;\r\n[H];[C]:A") << false << QStringList();
        QTest::newRow("windows-874 \"สด\", valid UTF-8 for \"ʴ\"") << QByteArray("[T];BANK;\r\n[D];[C]:\xCA\xB4:2") << false << QStringList();
        QTest::newRow("windows-874 \"ลง\" and \"รก\", valid UTF-8")
            << QByteArray("[T];BANK;\r\n[D];[C]:\xC5\xA7:2;[C]:\xC3\xA1:2") << false << QStringList();
        QTest::newRow("UTF-8 Thai after a Latin letter") << "[T];BANK;\r\n[D];[C]:\xC3\xA9\r\n" + thai << true
                                                         << QStringList{"[T];BANK;", "[D];[C]:é", "[H];[C]:ยอดรวม"};
        QTest::newRow("UTF-8, then a stray byte") << "[T];BANK;\r\n" + thai + "\r\n[H];[C]:\xE0" << false << QStringList();
    }
    void encodings()
    {
        QFETCH(QByteArray, bytes); QFETCH(bool, utf8);
        QBuffer file(&bytes);
        PatternReader reader;
        QVERIFY(reader.read(file));
        QCOMPARE(reader.mode(), QStringLiteral("BANK"));
        QCOMPARE(reader.looksLikeUtf8(), utf8);
        if (!utf8)
            return;
        reader.setEncoding(PatternFile::Encoding::Utf8);
        QTEST(reader.lines(), "asUtf8");
    }

    // The mode is sought line by line before the file is held: a pipe
    // without line breaks is given up after a MiB, and a file that holds no
    // pattern keeps no lines. A file that ends before its size cannot be read.
    void readerOnDevices_data()
    {
        QTest::addColumn<QByteArray>("bytes"); QTest::addColumn<bool>("pipe"); QTest::addColumn<qint64>("missing");
        QTest::addColumn<QString>("mode"); QTest::addColumn<qsizetype>("lines");
        const QByteArray rows = QByteArray("[H];[C]:A\r\n").repeated(300000);
        QTest::newRow("mode line first") << "[T];BANK;\r\n" + rows << false << qint64(0) << "BANK" << qsizetype(300001);
        QTest::newRow("short lines without a mode line") << rows << false << qint64(0) << "" << qsizetype(0);
        QTest::newRow("2 MiB line after the mode line") << "[T];BANK;\r\n" + QByteArray(2 << 20, 'x') << false << qint64(0) << "BANK" << qsizetype(2);
        QTest::newRow("2 MiB line before the mode line") << QByteArray(2 << 20, 'x') + "\r\n[T];BANK;\r\n" << false << qint64(0) << "" << qsizetype(0);
        QTest::newRow("ends before its size") << QByteArray("[T];BANK;\r\n[H];[C]:A") << false << qint64(80) << "" << qsizetype(0);
        QTest::newRow("pipe, rows before the mode line") << "[G];[C]:X\r\n[T];BANK;\r\n" + rows.left(11000) << true << qint64(0) << "BANK"
                                                         << qsizetype(1002);
        QTest::newRow("pipe, 64 MiB without a line break") << QByteArray(64 << 20, 'x') << true << qint64(0) << "" << qsizetype(0);
    }
    void readerOnDevices()
    {
        QFETCH(QByteArray, bytes); QFETCH(bool, pipe); QFETCH(qint64, missing); QFETCH(QString, mode); QFETCH(qsizetype, lines);
        Pipe once(bytes);
        File file;
        file.setData(bytes);
        file.missing = missing;
        PatternReader reader;
        QCOMPARE(reader.read(pipe ? static_cast<QIODevice &>(once) : file), missing == 0);
        QCOMPARE(reader.errorString().isEmpty(), missing == 0);
        QCOMPARE(reader.mode(), mode);
        QCOMPARE(reader.lines().size(), lines);
        QVERIFY2(!pipe || once.given <= 2 << 20, qPrintable(QString::number(once.given)));   // never more than 2 MiB of a pipe
    }
};

QTEST_GUILESS_MAIN(TestPatternFile)
#include "tst_patternfile.moc"

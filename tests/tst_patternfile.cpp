// The pattern file reader and writer: golden files, grids built in code and
// a read that ends short.

#include "components/gridtablemodel.h"
#include "designer/gridlayout.h"
#include "designer/patternfile.h"

#include "testsupport.h"

#include <QtTest>

namespace {

// The grid as text: the mode, then each row with its type and filled cells.
QString dump(const QString &mode, const PatternGrid &grid)
{
    QString out = QStringLiteral("mode ") + mode + u'\n';
    for (int r = 1; r <= grid.RowCount(); ++r) {
        out += QStringLiteral("row %1 type %2\n").arg(r).arg(grid.CellListIndex(r, GridLayout::kTypeColumn));
        for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c) {
            if (!grid.CellText(r, c).isEmpty())
                out += QStringLiteral("  %1 %2\n").arg(c).arg(grid.CellText(r, c));
        }
    }
    return out;
}

struct BuiltRow
{
    double type;
    QList<std::pair<int, QString>> cells;   // column, text
    bool removed = false;
};

void build(GridTableModel &grid, const QList<BuiltRow> &rows)
{
    GridLayout::layOut(grid);
    for (const BuiltRow &row : rows) {
        grid.AddRow();
        grid.SetCellListIndex(grid.Row(), GridLayout::kTypeColumn, row.type);
        for (const auto &[col, text] : row.cells)
            grid.SetCellText(grid.Row(), col, text);
        if (row.removed)
            grid.removeRow(grid.Row());
    }
}

} // namespace

Q_DECLARE_METATYPE(QList<BuiltRow>)

class TestPatternFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void goldenFiles_data();
    void goldenFiles();
    void writerOnBuiltGrids_data();
    void writerOnBuiltGrids();
    void readEndingShortFails();
};

// Each NAME.PAT is read; NAME.rejected marks a file without a mode, NAME.grid
// holds the grid it loads into and NAME.out the exact bytes saved from it.
void TestPatternFile::goldenFiles_data()
{
    QTest::addColumn<QString>("name");
    const QDir dir(qEnvironmentVariable("ZN7_TEST_DATA") + QStringLiteral("/patterns"));
    const QStringList inputs = dir.entryList({QStringLiteral("*.PAT")}, QDir::Files, QDir::Name);
    QVERIFY2(inputs.size() >= 20, qPrintable(dir.path()));
    for (const QString &input : inputs)
        QTest::newRow(qPrintable(input.chopped(4))) << dir.filePath(input.chopped(4));
}

void TestPatternFile::goldenFiles()
{
    QFETCH(QString, name);
    PatternReader reader;
    QVERIFY(reader.readFile(name + QStringLiteral(".PAT")));
    if (QFile::exists(name + QStringLiteral(".rejected"))) {
        QCOMPARE(reader.mode(), QString());
        return;
    }

    GridTableModel grid;
    GridLayout::layOut(grid);
    PatternFile::loadRows(reader.lines(), grid);
    if (QFile::exists(name + QStringLiteral(".grid")))
        QCOMPARE(dump(reader.mode(), grid), QString::fromUtf8(readBytes(name + QStringLiteral(".grid"))));
    QBuffer saved;
    QVERIFY(PatternWriter().write(saved, reader.mode(), grid));
    QCOMPARE(saved.data(), readBytes(name + QStringLiteral(".out")));
}

// What only a grid can hold: list indexes out of range, removed rows, cells
// with extra ":" parts, characters outside the code page (expected: nothing,
// the write fails).
void TestPatternFile::writerOnBuiltGrids_data()
{
    QTest::addColumn<QList<BuiltRow>>("rows");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("no row") << QList<BuiltRow>{} << QByteArray("[T];BANK;\r\n");
    QTest::newRow("row tags; removed and empty rows left out")
        << QList<BuiltRow>{{0, {{11, "[C]:A:1"}}}, {1, {{11, "[C]:B:1"}}}, {2, {{11, "[C]:C:1"}}},
                          {5, {{11, "[C]:D:1"}}}, {-1, {{11, "[C]:E:1"}}}, {1, {{11, "[C]:X:1"}}, true}, {1, {}}}
        << QByteArray("[T];BANK;\r\n[H];[C]:A\r\n[G];[C]:B\r\n[D];[C]:C\r\n[D];[C]:D\r\n[D];[C]:E\r\n");
    QTest::newRow("cells close up; constants keep tag and text")
        << QList<BuiltRow>{{1, {{12, "[C]:B:1"}, {20, "[F]:{X}:3:R:0:::0"}, {110, "[C]:AB{NL}C:3"}}},
                          {0, {{11, "[C]:a:b:c"}, {12, "[C]"}}}}
        << QByteArray("[T];BANK;\r\n[G];[C]:B;[F]:{X}:3:R:0:::0;[C]:AB{NL}C\r\n[H];[C]:a;[C]\r\n");
    QTest::newRow("character the code page lacks")
        << QList<BuiltRow>{{0, {{11, QStringLiteral("[C]:\u4e2d:1")}}}} << QByteArray();
}

void TestPatternFile::writerOnBuiltGrids()
{
    QFETCH(QList<BuiltRow>, rows);
    QFETCH(QByteArray, expected);
    GridTableModel grid;
    build(grid, rows);
    QBuffer out;
    PatternWriter writer;
    QCOMPARE(writer.write(out, QStringLiteral("BANK"), grid), !expected.isEmpty());
    QCOMPARE(writer.errorString().isEmpty(), !expected.isEmpty());
    QCOMPARE(out.data(), expected);
}

void TestPatternFile::readEndingShortFails()
{
    // Ends before its size, as a file cut short while it is read.
    struct ShortDevice final : QBuffer
    {
        qint64 size() const override { return 100; }
    } device;
    device.setData("[T];BANK;\r\n[H];[C]:A");
    QVERIFY(device.open(QIODevice::ReadOnly));
    PatternReader reader;
    QVERIFY(!reader.read(device));
    QVERIFY(!reader.errorString().isEmpty());
    QVERIFY(reader.lines().isEmpty());
}

QTEST_GUILESS_MAIN(TestPatternFile)
#include "tst_patternfile.moc"

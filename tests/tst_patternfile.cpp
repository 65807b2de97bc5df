// The pattern file reader and writer: golden files, grids built in code and
// devices that fail.

#include "components/gridtablemodel.h"
#include "designer/gridlayout.h"
#include "designer/patternfile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

QString patternsDir()
{
    return qEnvironmentVariable("ZN7_TEST_DATA") + QStringLiteral("/patterns");
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The grid as text: the mode, then each row with its type and filled cells.
QString dump(const QString &mode, const PatternGrid &grid)
{
    QString out = QStringLiteral("mode ") + mode + u'\n';
    for (int r = 1; r <= grid.RowCount(); ++r) {
        out += QStringLiteral("row %1 type %2%3\n")
                   .arg(r)
                   .arg(grid.CellListIndex(r, GridLayout::kTypeColumn))
                   .arg(grid.IsRowRemoved(r) ? QStringLiteral(" removed") : QString());
        for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c) {
            const QString text = grid.CellText(r, c);
            if (!text.isEmpty())
                out += QStringLiteral("  %1 %2\n").arg(c).arg(text);
        }
    }
    return out;
}

// A device that accepts `limit` bytes, then fails every write or read.
class FailingDevice final : public QIODevice
{
public:
    FailingDevice(qint64 limit, QByteArray content = {})
        : m_limit(limit)
        , m_content(std::move(content))
    {
    }
    bool isSequential() const override { return false; }
    qint64 size() const override { return m_content.size(); }
    QByteArray written;

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (pos() >= m_limit) {
            setErrorString(QStringLiteral("simulated read error"));
            return -1;
        }
        const qint64 n = qMin(maxSize, qMin(m_limit, qint64(m_content.size())) - pos());
        memcpy(data, m_content.constData() + pos(), size_t(n));
        return n;
    }
    qint64 writeData(const char *data, qint64 maxSize) override
    {
        const qint64 room = m_limit - written.size();
        if (room <= 0) {
            setErrorString(QStringLiteral("simulated write error"));
            return -1;
        }
        const qint64 n = qMin(room, maxSize);
        written.append(data, n);
        return n;
    }

private:
    qint64 m_limit;
    QByteArray m_content;
};

struct Cell
{
    int col;
    QString text;
};
struct RowSpec
{
    double type;
    QList<Cell> cells;
    bool removed = false;
};

void build(GridTableModel &grid, const QList<RowSpec> &rows)
{
    GridLayout::layOut(grid);
    for (const RowSpec &spec : rows) {
        grid.AddRow();
        grid.SetCellListIndex(grid.Row(), GridLayout::kTypeColumn, spec.type);
        for (const Cell &cell : spec.cells)
            grid.SetCellText(grid.Row(), cell.col, cell.text);
        if (spec.removed)
            grid.removeRow(grid.Row());
    }
}

QByteArray crlf(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines)
        out += line.toLatin1() + "\r\n";
    return out;
}

} // namespace

Q_DECLARE_METATYPE(QList<RowSpec>)

class TestPatternFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void goldenFiles_data();
    void goldenFiles();
    void writerOnBuiltGrids_data();
    void writerOnBuiltGrids();
    void readFailures();
    void writerFailsPartWay();
    void saveReportsUnwritableTargets_data();
    void saveReportsUnwritableTargets();
    void failedSaveLeavesFormerFile();
    void writerRefusesTextTheCodePageCannotHold();
};

void TestPatternFile::goldenFiles_data()
{
    QTest::addColumn<QString>("name");
    const QDir dir(patternsDir());
    const QStringList inputs = dir.entryList({QStringLiteral("*.PAT")}, QDir::Files, QDir::Name);
    QVERIFY2(inputs.size() >= 20, qPrintable(dir.path()));
    for (const QString &input : inputs) {
        const QString name = input.chopped(4);
        QTest::newRow(qPrintable(name)) << dir.filePath(name);
    }
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
    QVERIFY(!reader.mode().isEmpty());

    GridTableModel grid;
    GridLayout::layOut(grid);
    PatternFile::loadRows(reader.lines(), grid);
    if (QFile::exists(name + QStringLiteral(".grid")))
        QCOMPARE(dump(reader.mode(), grid),
                 QString::fromUtf8(readBytes(name + QStringLiteral(".grid"))));

    QBuffer saved;
    PatternWriter writer;
    QVERIFY(writer.write(saved, reader.mode(), grid));
    QCOMPARE(saved.data(), readBytes(name + QStringLiteral(".out")));
}

void TestPatternFile::writerOnBuiltGrids_data()
{
    QTest::addColumn<QList<RowSpec>>("rows");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("no row") << QList<RowSpec>{} << crlf({"[T];BANK;"});
    QTest::newRow("list indexes 0, 1, 2 and others")
        << QList<RowSpec>{{0, {{11, "[C]:A:1"}}}, {1, {{11, "[C]:B:1"}}}, {2, {{11, "[C]:C:1"}}},
                          {5, {{11, "[C]:D:1"}}}, {-1, {{11, "[C]:E:1"}}}}
        << crlf({"[T];BANK;", "[H];[C]:A", "[G];[C]:B", "[D];[C]:C", "[D];[C]:D", "[D];[C]:E"});
    QTest::newRow("removed rows are left out")
        << QList<RowSpec>{{0, {{11, "[C]:A:1"}}}, {1, {{11, "[C]:B:1"}}, true}, {2, {{11, "[C]:C:1"}}}}
        << crlf({"[T];BANK;", "[H];[C]:A", "[D];[C]:C"});
    QTest::newRow("empty cells between filled ones close up")
        << QList<RowSpec>{{0, {{11, "[F]:{A}:1:L::::0"}, {13, "[C]:B:1"}, {110, "[C]:Z:1"}}}}
        << crlf({"[T];BANK;", "[H];[F]:{A}:1:L::::0;[C]:B;[C]:Z"});
    QTest::newRow("row without field cells is skipped")
        << QList<RowSpec>{{1, {}}, {0, {{11, "[C]:A:1"}}}}
        << crlf({"[T];BANK;", "[H];[C]:A"});
    QTest::newRow("empty first cell keeps the row's other fields")
        << QList<RowSpec>{{1, {{12, "[C]:B:1"}, {20, "[F]:{X}:3:R:0:::0"}}}}
        << crlf({"[T];BANK;", "[G];[C]:B;[F]:{X}:3:R:0:::0"});
    QTest::newRow("constant keeps tag and text only")
        << QList<RowSpec>{{0, {{11, "[C]:AB{NL}C:3"}, {12, "[C]:a:b:c"}, {13, "[C]"}}}}
        << crlf({"[T];BANK;", "[H];[C]:AB{NL}C;[C]:a;[C]"});
}

void TestPatternFile::writerOnBuiltGrids()
{
    QFETCH(QList<RowSpec>, rows);
    QFETCH(QByteArray, expected);
    GridTableModel grid;
    build(grid, rows);
    QBuffer out;
    PatternWriter writer;
    QVERIFY(writer.write(out, QStringLiteral("BANK"), grid));
    QCOMPARE(out.data(), expected);
}

void TestPatternFile::readFailures()
{
    FailingDevice device(12, QByteArray("[T];BANK;\r\n[H];[C]:A\r\n"));
    QVERIFY(device.open(QIODevice::ReadOnly));
    PatternReader reader;
    QVERIFY(!reader.read(device));
    QVERIFY(!reader.errorString().isEmpty());
    QVERIFY(reader.lines().isEmpty());

    QTemporaryDir dir;
    QVERIFY(!reader.readFile(dir.path()));
    QVERIFY(!reader.errorString().isEmpty());
    QVERIFY(!reader.readFile(dir.filePath(QStringLiteral("missing.PAT"))));
}

void TestPatternFile::writerFailsPartWay()
{
    GridTableModel grid;
    build(grid, {{0, {{11, "[C]:AAAAAAAAAAAAAAAAAAAA:20"}}}});
    FailingDevice device(20);
    QVERIFY(device.open(QIODevice::WriteOnly));
    PatternWriter writer;
    QVERIFY(!writer.write(device, QStringLiteral("BANK"), grid));
    QCOMPARE(writer.errorString(), QStringLiteral("simulated write error"));
}

void TestPatternFile::saveReportsUnwritableTargets_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("folder does not exist") << QStringLiteral("gone/x.PAT");
    QTest::newRow("folder is a file") << QStringLiteral("plain.txt/x.PAT");
    QTest::newRow("target is a folder") << QStringLiteral("folder");
}

void TestPatternFile::saveReportsUnwritableTargets()
{
    QFETCH(QString, relativePath);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    QFile plain(dir.filePath(QStringLiteral("plain.txt")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("keep");
    plain.close();

    GridTableModel grid;
    build(grid, {{0, {{11, "[C]:A:1"}}}});
    PatternWriter writer;
    QVERIFY(!writer.save(dir.filePath(relativePath), QStringLiteral("BANK"), grid));
    QVERIFY(!writer.errorString().isEmpty());
    QCOMPARE(readBytes(dir.filePath(QStringLiteral("plain.txt"))), QByteArray("keep"));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder"))).isDir());
}

void TestPatternFile::failedSaveLeavesFormerFile()
{
    // A file-size limit makes the write fail part-way for any user, root
    // included, as a full disk would.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pay.PAT"));
    const QByteArray former = crlf({"[T];BANK;", "[H];[C]:FORMER"});
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(former);
    file.close();

    GridTableModel grid;
    QList<RowSpec> rows;
    for (int r = 0; r < 200; ++r)
        rows.append({0, {{11, "[F]:{DOCNO}:10:R:0:::0"}, {12, "[C]:" + QString(40, u'x') + ":40"}}});
    build(grid, rows);

    rlimit saved{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = 4096;
    QVERIFY(setrlimit(RLIMIT_FSIZE, &tight) == 0);
    PatternWriter writer;
    const bool ok = writer.save(path, QStringLiteral("BANK"), grid);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY2(!ok, qPrintable(QString::number(readBytes(path).size())));
    QVERIFY(!writer.errorString().isEmpty());
    QCOMPARE(readBytes(path), former);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("pay.PAT")});
}

void TestPatternFile::writerRefusesTextTheCodePageCannotHold()
{
    GridTableModel grid;
    build(grid, {{0, {{11, QStringLiteral("[C]:\u4e2d:1")}}}});
    QBuffer out;
    QVERIFY(out.open(QIODevice::WriteOnly));
    PatternWriter writer;
    QVERIFY(!writer.write(out, QStringLiteral("BANK"), grid));
    QVERIFY(!writer.errorString().isEmpty());
    QCOMPARE(out.data(), QByteArray());
}

QTEST_GUILESS_MAIN(TestPatternFile)
#include "tst_patternfile.moc"

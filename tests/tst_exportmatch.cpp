// A real export file read through a pattern: which row wrote each line, the
// fields' texts, and for a line of no row where it first differs.

#include "components/gridtablemodel.h"
#include "designer/exportmatch.h"
#include "designer/gridlayout.h"
#include "designer/patternfile.h"

#include <QBuffer>
#include <QtTest>

using namespace ExportMatch;

namespace {

// A bank transfer file of 30-character records: a header, the transfers,
// a trailer, and a two-line GROUP row whose constant breaks its line.
const QStringList kPattern{
    "[T];BANK;",
    "[H];[C]:H;[F]:{EFFDATE}:8:L: :::0;[C]:" + QString(21, u' '),
    "[D];[C]:D;[F]:{PAYAMT}:9:R:0:::0;[F]:{PAYEENAME}:20:L: :::0",
    "[G];[C]:G1{NL}G2;[F]:{DOCNO}:4:L",
    "[H];[C]:T;[F]:{RECCOUNT}:5:R:0:::0;[C]:" + QString(24, u' '),
};

QList<RecordShape::Row> shapes(GridTableModel &grid, const QStringList &pattern = kPattern)
{
    GridLayout::layOut(grid);
    PatternFile::loadRows(pattern, grid);
    return RecordShape::shapesOf(grid, PatternPreview::Samples());
}

QString inspected(const QList<RecordShape::Row> &rows, const QByteArray &bytes)
{
    QString error;
    const std::optional<ExportText> text = decode(bytes, "windows-874", &error);
    if (!text)
        return error;
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    write(out, PatternLayout::Format::Text, QStringLiteral("pay.txt"), rows, *text, inspect(rows, *text), &error);
    return QString::fromUtf8(out.data());
}

QByteArray thai(const QString &text)
{
    return QStringEncoder("windows-874").encode(text);
}

} // namespace

class TstExportMatch final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shapes()
    {
        GridTableModel grid;
        const QList<RecordShape::Row> rows = ::shapes(grid);
        QCOMPARE(rows.size(), 4);
        // The GROUP row writes "G1" on one line, "G2" and DOCNO on the next.
        const RecordShape::Row &group = rows.at(2);
        QCOMPARE(group.lines.size(), 2);
        QCOMPARE(group.lines.at(0).length, 2);
        QCOMPARE(group.lines.at(1).length, 6);
        QCOMPARE(group.lines.at(1).pieces.at(1).start, 3);
        QCOMPARE(group.fixedCount(), 4);
        QCOMPARE(rows.at(1).lines.at(0).length, 30);
    }

    void inspect_data()
    {
        QTest::addColumn<QByteArray>("file"); QTest::addColumn<QString>("expected");
        const QByteArray header = "H10122026" + QByteArray(21, ' ') + "\r\n";
        const QByteArray trailer = "T00002" + QByteArray(24, ' ') + "\r\n";
        const QByteArray somchai = "D001525050" + thai("นายสมชาย ใจดี       ") + "\r\n";
        const QByteArray suda = "D000010000" + thai("นางสาวสุดา          ") + "\r\n";
        const QString heading = "pay.txt:1: row 1 LINE: Field2 EFFDATE 2-9 \"10122026\"\n";
        QTest::newRow("header, details and trailer that match") << header + somchai + suda + trailer
            << heading + "pay.txt:2: row 2 LOOP: Field2 PAYAMT 2-10 \"001525050\"; Field3 PAYEENAME 11-30 \"นายสมชาย ใจดี       \"\n"
                         "pay.txt:3: row 2 LOOP: Field2 PAYAMT 2-10 \"000010000\"; Field3 PAYEENAME 11-30 \"นางสาวสุดา          \"\n"
                         "pay.txt:4: row 4 LINE: Field2 RECCOUNT 2-6 \"00002\"\n"
                         "pay.txt: 4 lines read; records: row 1 (LINE) 1, row 2 (LOOP) 2, row 3 (GROUP) 0, row 4 (LINE) 1; "
                         "0 lines match no row; line ends: CR LF\n";
        QTest::newRow("a field shifted by one, a short line, a line of no row") << header + "D0001525050" + thai("นายสมชาย ใจดี       ") + "\r\n"
                                                  "D00152505\r\n" "X001525050" + QByteArray(20, 'x') + "\n" + trailer
            << heading + "pay.txt:2: no row matches: nearest row 2 (LOOP), the line has 31 characters, row 2 writes 30\n"
                         "pay.txt:3: no row matches: nearest row 2 (LOOP), the line has 9 characters, row 2 writes 30\n"
                         "pay.txt:4: no row matches: nearest row 2 (LOOP), position 1: 'X', row 2 expects 'D'\n"
                         "pay.txt:5: row 4 LINE: Field2 RECCOUNT 2-6 \"00002\"\n"
                         "pay.txt: 5 lines read; records: row 1 (LINE) 1, row 2 (LOOP) 0, row 3 (GROUP) 0, row 4 (LINE) 1; "
                         "3 lines match no row; line ends: mixed: 4 CR LF, 1 LF\n";
        // The header's filler of spaces, which the line shares, does not make
        // it nearer than the record type the line gets wrong.
        QTest::newRow("nearest by the fixed characters wrong") << "X001525050" + thai("นาย") + QByteArray(17, ' ')
            << "pay.txt:1: no row matches: nearest row 2 (LOOP), position 1: 'X', row 2 expects 'D'\n"
               "pay.txt: 1 line read; records: row 1 (LINE) 0, row 2 (LOOP) 0, row 3 (GROUP) 0, row 4 (LINE) 0; "
               "1 line matches no row; line ends: none\n";
        QTest::newRow("a row of two lines, the second missing") << QByteArray("G1\r\nG2A1  \r\nG1\r\n")
            << "pay.txt:1: row 3 GROUP, line 1 of 2\n"
               "pay.txt:2: row 3 GROUP, line 2 of 2: Field2 DOCNO 3-6 \"A1  \"\n"
               "pay.txt:3: no row matches: nearest row 3 (GROUP), the line has 2 characters, row 3 writes 2; its second line does not follow\n"
               "pay.txt: 3 lines read; records: row 1 (LINE) 0, row 2 (LOOP) 0, row 3 (GROUP) 1, row 4 (LINE) 0; "
               "1 line matches no row; line ends: CR LF\n";
        QTest::newRow("an empty file") << QByteArray()
            << "pay.txt: 0 lines read; records: row 1 (LINE) 0, row 2 (LOOP) 0, row 3 (GROUP) 0, row 4 (LINE) 0; "
               "0 lines match no row; line ends: none\n";
        QTest::newRow("a binary file") << QByteArray("H1012\0", 6) << "line 1: a NUL byte; this is no text file";
    }
    void inspect()
    {
        QFETCH(QByteArray, file); QFETCH(QString, expected);
        GridTableModel grid;
        QCOMPARE(inspected(::shapes(grid), file), expected);
    }

    // Rows that fit equally well: the first is taken, the other named.
    void ties()
    {
        GridTableModel grid;
        const QList<RecordShape::Row> rows = ::shapes(grid, {"[T];BANK;", "[H];[C]:A;[F]:{X}:2:L", "[D];[C]:A;[F]:{Y}:2:L", "[D];[C]:AB;[F]:{Z}:1:L"});
        QCOMPARE(inspected(rows, "Axy\nABz\n").section(u'\n', 0, 1),
                 "pay.txt:1: row 1 LINE (row 2 (LOOP) fits as well): Field2 X 2-3 \"xy\"\n"
                 "pay.txt:2: row 3 LOOP: Field2 Z 3-3 \"z\"");
    }
};

QTEST_GUILESS_MAIN(TstExportMatch)
#include "tst_exportmatch.moc"

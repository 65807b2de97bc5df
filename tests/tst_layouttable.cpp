// A bank's layout table read from CSV, held against a pattern, and made into
// a pattern.

#include "components/gridtablemodel.h"
#include "designer/gridlayout.h"
#include "designer/layouttable.h"
#include "designer/patternfile.h"

#include <QStringEncoder>
#include <QtTest>

using namespace LayoutTable;

namespace {

QStringList linesOf(const QList<std::pair<int, QString>> &messages)
{
    QStringList out;
    for (const auto &[line, message] : messages)
        out << QString::number(line) + QStringLiteral(": ") + message;
    return out;
}

// A 20-character header and a 20-character detail record.
const QByteArray kTable = "record,field,start,end,length,value\r\n"
                          "H,type,1,1,1,H\r\nH,EFFDATE,2,9,8,\r\nH,filler,10,20,11,\r\n"
                          "D,type,1,1,1,D\r\nD,PAYAMT,2,10,9,\r\nD,PAYEENAME,11,20,10,\r\n";
const QStringList kPattern{"[T];BANK;", "[H];[C]:H;[F]:{EFFDATE}:8:L: :::0;[C]:" + QString(11, u' '),
                           "[D];[C]:D;[F]:{PAYAMT}:9:R:0:::0;[F]:{PAYEENAME}:10:L: :::0"};

QList<RecordShape::Row> rowsOf(GridTableModel &grid, const QStringList &pattern)
{
    GridLayout::layOut(grid);
    PatternFile::loadRows(pattern, grid);
    return RecordShape::shapesOf(grid, PatternPreview::Samples());
}

} // namespace

class TstLayoutTable final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes"); QTest::addColumn<int>("records");
        QTest::addColumn<QStringList>("problems"); QTest::addColumn<QStringList>("notes"); QTest::addColumn<QString>("error");
        QTest::newRow("sound table") << kTable << 2 << QStringList() << QStringList() << "";
        QTest::newRow("semicolons, byte-order mark, quotes, Thai, other columns") << QByteArray(
            "\xEF\xBB\xBFRecord;Field;Length;Start;Remarks\r\nD;\"ชื่อ;ผู้รับ\";10;1;\"say \"\"hi\"\"\r\nsecond line\"\r\nD;X;2;11;\r\n")
            << 1 << QStringList() << QStringList{"1: column 'Remarks' is not used"} << "";
        QTest::newRow("windows-874 bytes") << "field,start,length\r\n" + QStringEncoder("windows-874").encode(u"ชื่อ,1,4\r\n")
            << 1 << QStringList() << QStringList() << "";
        QTest::newRow("every contradiction") << QByteArray(
            "field,start,end,length,value\n"
            "A,1,5,4,\n"        // 5 positions, a length of 4
            "B,5,6,,\n"         // overlaps A
            "C,9,10,,\n"        // 7-8 in no field
            "D,abc,12,,\n"      // no number
            "E,,,3,\n"          // too few positions
            "F,11,11,,XY\n"     // a value longer than the field
            ",,,15,\n")         // the record's length, its fields end at 11
            << 1 << QStringList{"2: field A: 1-5 is 5 characters, its length says 4", "3: field B (5-6) overlaps field A (1-5)",
                                "4: positions 7-8 before field C are in no field", "5: start 'abc' is not a number",
                                "5: field D needs two of start, end and length", "6: field E needs two of start, end and length",
                                "7: field F: its value 'XY' is 2 characters, its length 1", "8: the record's length is 15, its fields end at 11"}
            << QStringList() << "";
        QTest::newRow("no field column") << QByteArray("name,start,end\nA,1,2\n") << 0 << QStringList() << QStringList()
            << "line 1: the header must name a field column and two of start, end and length (its columns: record, field, "
               "start, end, length, value, description)";
        QTest::newRow("a quote not closed") << QByteArray("field,start,end\n\"A,1,2\n") << 0 << QStringList() << QStringList()
            << "line 2: a quoted field is not closed";
        QTest::newRow("binary") << QByteArray("field\nA\0", 8) << 0 << QStringList() << QStringList() << "line 2: a NUL byte; this is no text file";
    }
    void read()
    {
        QFETCH(QByteArray, bytes);
        const Table table = LayoutTable::read(bytes);
        QTEST(table.error, "error");
        QTEST(int(table.records.size()), "records");
        QTEST(linesOf(table.problems), "problems");
        QTEST(linesOf(table.notes), "notes");
    }

    void fieldNamesAndQuotes()
    {
        const Table table = LayoutTable::read("\xEF\xBB\xBFRecord;Field;Length;Start\r\nD;\"ชื่อ;ผู้รับ\";10;1\r\n");
        QCOMPARE(table.records.at(0).fields.at(0).name, QStringLiteral("ชื่อ;ผู้รับ"));
        QCOMPARE(table.records.at(0).fields.at(0).end, 10);
    }

    void compare_data()
    {
        QTest::addColumn<QByteArray>("table"); QTest::addColumn<QStringList>("pattern"); QTest::addColumn<QStringList>("found");
        QTest::newRow("the pattern writes what the table says") << kTable << kPattern << QStringList();
        QTest::newRow("records in another order, matched by their values")
            << QByteArray("record,field,start,end,length,value\r\nD,type,1,1,1,D\r\nD,PAYAMT,2,10,9,\r\nD,PAYEENAME,11,20,10,\r\n"
                          "H,type,1,1,1,H\r\nH,EFFDATE,2,9,8,\r\nH,filler,10,20,11,\r\n")
            << kPattern << QStringList();
        QStringList shifted = kPattern;
        shifted[2] = "[D];[C]:D;[F]:{PAYAMT}:8:R:0:::0;[F]:{PAYEENAME}:10:L: :::0";
        QTest::newRow("a field one shorter shifts the next") << kTable << shifted << QStringList{
            "6: record D, row 2 (LOOP): field PAYAMT is 2-10 (9), the row's Field2 PAYAMT writes 2-9 (8)",
            "7: record D, row 2 (LOOP): field PAYEENAME is 11-20 (10), the row's Field3 PAYEENAME writes 10-19 (10)",
            "5: record D, row 2 (LOOP): the table's record is 20 characters, the row writes 19"};
        QStringList wrongType = kPattern;
        wrongType[2] = "[D];[C]:E;[F]:{PAYAMT}:9:R:0:::0;[F]:{PAYEENAME}:10:L: :::0;[F]:{DOCNO}:2:L";
        QTest::newRow("a value not written, positions beyond the table") << kTable << wrongType << QStringList{
            "5: record D, row 2 (LOOP): fixed value 'D' at 1: the row writes Field1 (constant) ('E') there",
            "5: record D, row 2 (LOOP): the row's Field4 DOCNO writes 21-22, where the table has no field",
            "5: record D, row 2 (LOOP): the table's record is 20 characters, the row writes 22"};
        QTest::newRow("a record without a row, a row without a record") << kTable + "T,type,1,1,1,T\r\n" << kPattern.first(2)
            << QStringList{"5: record D: no row of the pattern is left for it", "8: record T: no row of the pattern is left for it"};
        QTest::newRow("a row without a record") << kTable.left(kTable.indexOf("D,")) << kPattern
            << QStringList{"0: row 2 (LOOP): no record of the table"};
    }
    void compare()
    {
        QFETCH(QByteArray, table); QFETCH(QStringList, pattern);
        GridTableModel grid;
        QStringList found;
        for (const Finding &f : LayoutTable::compare(LayoutTable::read(table), rowsOf(grid, pattern)))
            found << QString::number(f.line) + QStringLiteral(": ") + f.message;
        QTEST(found, "found");
    }

    // A table made into a pattern: its fields where the table puts them.
    void import()
    {
        const QList<DesignField> fields{{"PAYAMT", "จำนวนเงิน", "15,250.50", "1525050"}, {"PAYEENAME", "ชื่อผู้รับเงิน", "สมชาย", "สมชาย"}};
        const Table table = LayoutTable::read("record,field,start,length,value\r\nH,type,1,1,H\r\n"
                                              "H,,,20,\r\n"
                                              "D,type,1,1,D\r\nD,payamt,2,9,\r\nD,ชื่อผู้รับเงิน,13,8,\r\nD,Bank:code,21,3,\r\n");
        const Import made = LayoutTable::import(table, fields);
        QCOMPARE(made.lines, (QStringList{"[H];[C]:H;[C]:" + QString(19, u' '),
                                          "[H];[C]:D;[F]:{PAYAMT}:9:R:0:::0;[C]:  ;[F]:{PAYEENAME}:8:L: :::0;[F]:{Bank_code}:3:L: :::0"}));
        QCOMPARE(made.report, (QStringList{"row 2 (record D): field payamt is the mode's field PAYAMT",
                                           "row 2 (record D): field ชื่อผู้รับเงิน is the mode's field PAYEENAME",
                                           "row 2 (record D): field Bank:code is no field of the mode; it stands as {Bank_code} for you to choose with F2"}));
        // Read back, every field stands where the table puts it: only the
        // fillers of what the table leaves out are not in it.
        GridTableModel grid;
        QStringList found;
        for (const Finding &f : LayoutTable::compare(table, rowsOf(grid, QStringList{"[T];BANK;"} + made.lines)))
            found << QString::number(f.line) + QStringLiteral(": ") + f.message;
        QCOMPARE(found, (QStringList{"2: record H, row 1 (LINE): the row's Field2 (constant) writes 2-20, where the table has no field",
                                     "4: record D, row 2 (LINE): the row's Field3 (constant) writes 11-12, where the table has no field"}));
    }
};

QTEST_GUILESS_MAIN(TstLayoutTable)
#include "tst_layouttable.moc"

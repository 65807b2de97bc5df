// The output a pattern's rows give from the mode's samples: the text and
// spans of a row, and the layout checks over the whole pattern.

#include "components/gridtablemodel.h"
#include "designer/gridlayout.h"
#include "designer/linelength.h"
#include "designer/patternfile.h"
#include "designer/patternpreview.h"
#include "testsupport.h"

#include <QtTest>

using namespace PatternPreview;

namespace {

// PAYAMT's formatted sample has 7 characters; the Thai name's 5 include a
// lower vowel, a tone mark and an upper vowel, each a character and a
// position of its own that takes no column on screen.
const Samples kSamples{true, {{"PAYAMT", {"PAYAMT", "จำนวนเงิน", "15,250.50", "1525050"}},
                             {"NAME", {"NAME", "ชื่อ", "ปู่ดี", "ปู่ดี"}}}, {}};

// A grid holding the row lines of a pattern file.
void load(GridTableModel &grid, const QStringList &rows)
{
    GridLayout::layOut(grid);
    PatternFile::loadRows(QStringList{"[T];BANK;"} + rows, grid);
}

} // namespace

class TstPatternPreview final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void renderRow_data()
    {
        QTest::addColumn<QString>("line"); QTest::addColumn<bool>("available");
        QTest::addColumn<QString>("text"); QTest::addColumn<QList<Span>>("spans"); QTest::addColumn<Measure>("measure");
        using K = Span::Kind;
        QTest::newRow("field, constant with a break, unknown field, other") << "[D];[F]:{PAYAMT}:15:R:0:::0;[C]:AB{NL}C;[F]:{X}:4:L;junk"
            << true << "000000001525050AB\nC    " << QList<Span>{{11, K::Field, "PAYAMT", 0, 15, 8, 15}, {12, K::Constant, "", 15, 19},
                                                             {13, K::Field, "X", 19, 23, 19, 19}, {14, K::Other, "", 23, 23}}
            << Measure{22, 22, 22};
        QTest::newRow("Thai marks, one position each") << "[D];[F]:{NAME}:6:L:.;[F]:{PAYAMT}:3:C" << true << "ปู่ดี.152"
            << QList<Span>{{11, K::Field, "NAME", 0, 6, 0, 5}, {12, K::Field, "PAYAMT", 6, 9, 6, 9}} << Measure{9, 9, 6};
        QTest::newRow("without samples, names in braces, centred") << "[D];[F]:{PAYAMT}:13:C:*" << false << "**{PAYAMT}***"
            << QList<Span>{{11, K::Field, "PAYAMT", 0, 13, 2, 10}} << Measure{13, 13, 13};
        QTest::newRow("a character the code page lacks takes its replacement byte") << "[D];[C]:A\u4e2dB" << true << "A\u4e2dB"
            << QList<Span>{{11, K::Constant, "", 0, 3}} << Measure{3, 3, 3};
    }
    void renderRow()
    {
        QFETCH(QString, line); QFETCH(bool, available);
        GridTableModel grid;
        load(grid, {line});
        const RenderedRow rendered = PatternPreview::renderRow(grid, 1, available ? kSamples : Samples());
        QTEST(rendered.text, "text");
        QTEST(rendered.spans, "spans");
        QTEST(PatternPreview::measure(rendered), "measure");
        // The characters written are what the line length counts.
        grid.setCurrentCell(1, GridLayout::kLastFieldColumn);
        QCOMPARE(rendered.length(), LineLength::measure(grid).total);
    }

    void check_data()
    {
        QTest::addColumn<QStringList>("rows"); QTest::addColumn<bool>("available"); QTest::addColumn<int>("recordLength");
        QTest::addColumn<QStringList>("checks");
        QTest::newRow("sample cut on the left") << QStringList{"[D];[F]:{PAYAMT}:5:R"} << true << 0
                                                << QStringList{"1:11 sample 7 characters, 5 kept: the left part is cut"};
        QTest::newRow("sample cut on the right") << QStringList{"[D];[F]:{PAYAMT}:5:C"} << true << 0
                                                 << QStringList{"1:11 sample 7 characters, 5 kept: the right part is cut"};
        QTest::newRow("sample fits") << QStringList{"[D];[F]:{PAYAMT}:7:R"} << true << 0 << QStringList();
        QTest::newRow("field the mode does not have") << QStringList{"[D];[F]:{NOPE}:7:R"} << true << 0
                                                      << QStringList{"1:11 the mode has no field NOPE"};
        QTest::newRow("without samples no field is judged") << QStringList{"[D];[F]:{NOPE}:1:R;[F]:{PAYAMT}:1"} << false << 0 << QStringList();
        QTest::newRow("lengths that are none, instead of the sample cut")
            << QStringList{"[D];[F]:{PAYAMT}:abc:R;[F]:{PAYAMT}:-5;[F]:{PAYAMT}: 40000 :L;[F]:{PAYAMT}::R;[F]:{NOPE}:0"} << true << 0
            << QStringList{"1:11 length abc is not a number", "1:12 length -5 is below 1", "1:13 length 40000 is above 32767",
                           "1:14 the length is missing", "1:15 length 0 is below 1", "1:15 the mode has no field NOPE"};
        QTest::newRow("hand-edited constant count") << QStringList{"[D];[C]:AB:5"} << true << 0
                                                    << QStringList{"1:11 constant of 2 characters stored with the count 5"};
        QTest::newRow("constant too long to be counted") << QStringList{"[D];[C]:" + QString(40000, u'x')} << true << 0
            << QStringList{"1:11 constant of 40000 characters: more than the 32767 a length can count"};
        QTest::newRow("neither field nor constant") << QStringList{"[D];[C]:A;free text"} << true << 0
            << QStringList{"1:12 neither a field nor a constant: kept as written, counted as 0"};
        QTest::newRow("header, detail and trailer of three lengths") << QStringList{"[H];[C]:HHH", "[D];[C]:DDDDD", "[G];[C]:TT"}
            << true << 0 << QStringList();
        QTest::newRow("two lines of 1 and 4") << QStringList{"[D];[C]:A", "[D];[C]:ABCD"} << true << 0 << QStringList();
        QTest::newRow("half is no majority") << QStringList{"[D];[C]:AB", "[D];[C]:AB", "[D];[C]:ABC{NL}ABC"} << true << 0 << QStringList();
        QTest::newRow("lines differing from most, a {NL} row by its lines, before the cells' checks")
            << QStringList{"[D];[C]:ABCD", "[D];[C]:ABCD", "[G];[C]:AB{NL}ABCD", "[H];[C]:A;x"} << true << 0
            << QStringList{"3:0 GROUP row 3, line 1: 2 characters; most lines: 4", "4:0 LINE row 4: 1 character; most lines: 4",
                           "4:12 neither a field nor a constant: kept as written, counted as 0"};
        QTest::newRow("record length: every other line, majority or not")
            << QStringList{"[H];[C]:ABC", "[D];[C]:ABC", "[D];[C]:ABCDEF{NL}ABC", "[G];[C]:ABCDEF"} << true << 6
            << QStringList{"1:0 LINE row 1: 3 characters; the record length is 6", "2:0 LOOP row 2: 3 characters; the record length is 6",
                           "3:0 LOOP row 3, line 2: 3 characters; the record length is 6"};
    }
    void check()
    {
        QFETCH(QStringList, rows); QFETCH(bool, available); QFETCH(int, recordLength);
        GridTableModel grid;
        load(grid, rows);
        QStringList checks;
        for (const Check &c : PatternPreview::check(grid, available ? kSamples : Samples(), recordLength))
            checks << QStringLiteral("%1:%2 %3").arg(c.row).arg(c.column).arg(c.message);
        QTEST(checks, "checks");
    }

    // The mode: a database that does not know it says so first, once; one
    // that knows it, or cannot be read, says nothing.
    void unknownMode_data()
    {
        QTest::addColumn<QString>("database"); QTest::addColumn<QString>("mode"); QTest::addColumn<QStringList>("checks");
        QTest::newRow("a typing slip") << ZN7_SAMPLE_DESKTOP << "BANKS" << QStringList{"0:0 the mode BANKS is not in the design database"};
        QTest::newRow("known") << ZN7_SAMPLE_DESKTOP << "BANK" << QStringList();
        QTest::newRow("the fields of all modes") << ZN7_SAMPLE_DESKTOP << "ALL" << QStringList();
        QTest::newRow("no database") << "/nonexistent/ZN7Desktop.dat" << "BANKS" << QStringList();
    }
    void unknownMode()
    {
        QFETCH(QString, database); QFETCH(QString, mode);
        GridTableModel grid;
        load(grid, {"[D];[C]:A"});
        QStringList checks;
        for (const Check &c : PatternPreview::check(grid, Samples::read(ScriptedContext(database).settings.DesignConnection(), mode)))
            checks << QStringLiteral("%1:%2 %3").arg(c.row).arg(c.column).arg(c.message);
        QTEST(checks, "checks");
    }
};

QTEST_GUILESS_MAIN(TstPatternPreview)
#include "tst_patternpreview.moc"

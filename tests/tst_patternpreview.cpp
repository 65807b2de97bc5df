// The output a pattern's rows give from the mode's samples: the text and
// spans of a row, and the layout checks over the whole pattern.

#include "components/gridtablemodel.h"
#include "designer/gridlayout.h"
#include "designer/linelength.h"
#include "designer/patternfile.h"
#include "designer/patternpreview.h"

#include <QtTest>

using namespace PatternPreview;

namespace {

// PAYAMT's formatted sample has 7 characters; the Thai name's 5 include a
// lower vowel, a tone mark and an upper vowel, each a character and a
// position of its own that takes no column on screen.
const Samples kSamples{true, {{"PAYAMT", {"PAYAMT", "จำนวนเงิน", "15,250.50", "1525050"}},
                             {"NAME", {"NAME", "ชื่อ", "ปู่ดี", "ปู่ดี"}}}};

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
            << true << "000000001525050AB\nC    " << QList<Span>{{11, K::Field, "PAYAMT", 0, 15}, {12, K::Constant, "", 15, 19},
                                                             {13, K::Field, "X", 19, 23}, {14, K::Other, "", 23, 23}}
            << Measure{22, 22, 22};
        QTest::newRow("Thai marks, one position each") << "[D];[F]:{NAME}:6:L:.;[F]:{PAYAMT}:3:C" << true << "ปู่ดี.152"
            << QList<Span>{{11, K::Field, "NAME", 0, 6}, {12, K::Field, "PAYAMT", 6, 9}} << Measure{9, 9, 6};
        QTest::newRow("without samples, names in braces") << "[D];[F]:{PAYAMT}:10:R:*" << false << "**{PAYAMT}"
            << QList<Span>{{11, K::Field, "PAYAMT", 0, 10}} << Measure{10, 10, 10};
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
        QTest::addColumn<QStringList>("rows"); QTest::addColumn<bool>("available"); QTest::addColumn<QStringList>("checks");
        QTest::newRow("sample cut on the left") << QStringList{"[D];[F]:{PAYAMT}:5:R"} << true
                                                << QStringList{"1:11 sample 7 characters, 5 kept: the left part is cut"};
        QTest::newRow("sample cut on the right") << QStringList{"[D];[F]:{PAYAMT}:5:C"} << true
                                                 << QStringList{"1:11 sample 7 characters, 5 kept: the right part is cut"};
        QTest::newRow("sample fits") << QStringList{"[D];[F]:{PAYAMT}:7:R"} << true << QStringList();
        QTest::newRow("field the mode does not have") << QStringList{"[D];[F]:{NOPE}:7:R"} << true
                                                      << QStringList{"1:11 the mode has no field NOPE"};
        QTest::newRow("without samples no field is judged") << QStringList{"[D];[F]:{NOPE}:1:R;[F]:{PAYAMT}:1"} << false << QStringList();
        QTest::newRow("hand-edited constant count") << QStringList{"[D];[C]:AB:5"} << true
                                                    << QStringList{"1:11 constant of 2 characters stored with the count 5"};
        QTest::newRow("neither field nor constant") << QStringList{"[D];[C]:A;free text"} << true
            << QStringList{"1:12 neither a field nor a constant: kept as written, counted as 0"};
        QTest::newRow("a row shorter than most, before its cells' checks")
            << QStringList{"[D];[C]:ABCD", "[H];[C]:AB;x", "[G];[C]:ABCD", "[D];[C]:AB{NL}CD"} << true
            << QStringList{"2:0 LINE row 2: 2 characters; most rows: 4", "2:12 neither a field nor a constant: kept as written, counted as 0"};
    }
    void check()
    {
        QFETCH(QStringList, rows); QFETCH(bool, available);
        GridTableModel grid;
        load(grid, rows);
        QStringList checks;
        for (const Check &c : PatternPreview::check(grid, available ? kSamples : Samples()))
            checks << QStringLiteral("%1:%2 %3").arg(c.row).arg(c.column).arg(c.message);
        QTEST(checks, "checks");
    }
};

QTEST_GUILESS_MAIN(TstPatternPreview)
#include "tst_patternpreview.moc"

// What changed between two versions of a pattern, and what each change moves.

#include "components/gridtablemodel.h"
#include "designer/gridlayout.h"
#include "designer/patterndiff.h"
#include "designer/patternfile.h"

#include <QtTest>

namespace {

const QString kDetail = "[D];[C]:D;[F]:{PAYAMT}:9:R:0:::0;[F]:{PAYEENAME}:25:L: :::0;[F]:{BANKCODE}:3:L";
const QString kTrailer = "[H];[C]:T;[F]:{RECCOUNT}:5:R:0:::0";

QStringList diffOf(const QStringList &before, const QStringList &after)
{
    GridTableModel a;
    GridTableModel b;
    for (auto [grid, rows] : {std::pair{&a, &before}, std::pair{&b, &after}}) {
        GridLayout::layOut(*grid);
        PatternFile::loadRows(QStringList{"[T];BANK;"} + *rows, *grid);
    }
    return PatternDiff::diff({"BANK", &a, {}}, {"BANK", &b, {}});
}

} // namespace

class TstPatternDiff final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void diff_data()
    {
        QTest::addColumn<QStringList>("after"); QTest::addColumn<QStringList>("expected");
        QTest::newRow("the same") << QStringList{kDetail, kTrailer} << QStringList();
        QTest::newRow("other text, the same output") << QStringList{
            "[D];[C]:D:7;[F]:{PAYAMT}:9:R:0;[F]:{PAYEENAME}:25:L: :::0;[F]:{BANKCODE}:3:L::::0", kTrailer} << QStringList();
        QTest::newRow("a resize") << QStringList{QString(kDetail).replace(":25:", ":30:"), kTrailer} << QStringList{
            "row 1 (LOOP): Field3 PAYEENAME: length 25 -> 30: positions 36-38 move by +5; line 38 -> 43"};
        QTest::newRow("an insertion") << QStringList{QString(kDetail).replace(";[F]:{BANKCODE}", ";[C]:--;[F]:{BANKCODE}"), kTrailer}
            << QStringList{"row 1 (LOOP): Field4 constant '--' added at 36 (2 characters): positions 36-38 move by +2; line 38 -> 40"};
        QTest::newRow("a move") << QStringList{"[D];[C]:D;[F]:{BANKCODE}:3:L;[F]:{PAYAMT}:9:R:0:::0;[F]:{PAYEENAME}:25:L: :::0", kTrailer}
            << QStringList{"row 1 (LOOP): Field4 BANKCODE moved to Field2: 36-38 -> 2-4"};
        QTest::newRow("alignment, fill and type") << QStringList{"[H];[C]:D;[F]:{PAYAMT}:9:L: :::0;[F]:{PAYEENAME}:25:L: :::0;[F]:{BANKCODE}:3:L", kTrailer}
            << QStringList{"row 1 (LOOP): type LOOP -> LINE", "row 1 (LOOP): Field2 PAYAMT: alignment right -> left, fill '0' -> ' '"};
        QTest::newRow("a row added before, one removed after") << QStringList{"[H];[C]:HEAD", kDetail}
            << QStringList{"row 1 (LINE) added: 4 characters", "row 2 (LINE) removed: 6 characters"};
        QTest::newRow("a constant's text") << QStringList{QString(kDetail).replace("[C]:D", "[C]:E"), kTrailer}
            << QStringList{"row 1 (LOOP): Field1 constant 'D' -> constant 'E'"};
    }
    void diff()
    {
        QFETCH(QStringList, after);
        QTEST(diffOf({kDetail, kTrailer}, after), "expected");
    }
};

QTEST_GUILESS_MAIN(TstPatternDiff)
#include "tst_patterndiff.moc"

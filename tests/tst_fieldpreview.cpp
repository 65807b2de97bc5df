// The preview of a data field: the sample laid out at the fixed length,
// alignment and fill, exactly as the exported line will hold it.

#include "field/fielddescriptor.h"
#include "field/fieldpreview.h"

#include <QTest>

class TstFieldPreview final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void adjust_data();
    void adjust();
};

void TstFieldPreview::adjust_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("fill");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("expected");

    constexpr int L = FieldSettings::Left;
    constexpr int C = FieldSettings::Center;
    constexpr int R = FieldSettings::Right;
    constexpr int none = FieldSettings::NoAlignment;

    QTest::newRow("left pads on the right") << "ABC" << "*" << 6 << L << "ABC***";
    QTest::newRow("center, even spare") << "ABC" << "*" << 6 << C << "*ABC**";
    QTest::newRow("right pads on the left") << "ABC" << "*" << 6 << R << "***ABC";
    QTest::newRow("center, both sides") << "ABC" << "*" << 7 << C << "**ABC**";
    QTest::newRow("center, odd spare goes right") << "AB" << "." << 5 << C << ".AB..";
    QTest::newRow("left cuts the end") << "ABC" << "*" << 2 << L << "AB";
    QTest::newRow("center cuts the end") << "ABC" << "*" << 2 << C << "AB";
    QTest::newRow("right keeps the end") << "ABC" << "*" << 2 << R << "BC";
    QTest::newRow("long sample, left") << "ABCDE" << "*" << 3 << L << "ABC";
    QTest::newRow("long sample, center") << "ABCDE" << "*" << 3 << C << "ABC";
    QTest::newRow("long sample, right") << "ABCDE" << "*" << 3 << R << "CDE";
    QTest::newRow("exact width, left") << "ABC" << "*" << 3 << L << "ABC";
    QTest::newRow("exact width, center") << "ABC" << "*" << 3 << C << "ABC";
    QTest::newRow("exact width, right") << "ABC" << "*" << 3 << R << "ABC";
    QTest::newRow("empty fill is a space") << "ABC" << "" << 5 << R << "  ABC";
    QTest::newRow("empty sample, left") << "" << "0" << 4 << L << "0000";
    QTest::newRow("empty sample, center") << "" << "0" << 4 << C << "0000";
    QTest::newRow("empty sample, right") << "" << "0" << 4 << R << "0000";
    QTest::newRow("width 0, left") << "ABC" << "*" << 0 << L << "";
    QTest::newRow("width 0, center") << "ABC" << "*" << 0 << C << "";
    QTest::newRow("width 0, right") << "ABC" << "*" << 0 << R << "";
    QTest::newRow("negative width, left") << "ABC" << "*" << -3 << L << "";
    QTest::newRow("negative width, center") << "ABC" << "*" << -3 << C << "";
    QTest::newRow("negative width, right") << "ABC" << "*" << -3 << R << "";
    QTest::newRow("no alignment") << "ABC" << "*" << 6 << none << "";
    QTest::newRow("longer fill repeats") << "X" << "ab" << 5 << L << "Xabab";
    QTest::newRow("thai sample") << "ไทย" << "-" << 5 << R << "--ไทย";
}

void TstFieldPreview::adjust()
{
    QFETCH(QString, sample);
    QFETCH(QString, fill);
    QFETCH(int, width);
    QFETCH(int, alignment);
    QFETCH(QString, expected);

    QCOMPARE(FieldPreview::adjust(sample, fill, width, alignment), expected);
}

QTEST_GUILESS_MAIN(TstFieldPreview)
#include "tst_fieldpreview.moc"

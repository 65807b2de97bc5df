// Number conversion: every length of the designer is read through ToInteger,
// so what it accepts and refuses decides what a pattern may hold.

#include "components/texttools.h"

#include <QLocale>
#include <QTest>

class TstTextTools final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void toInteger_data();
    void toInteger();
    void formatNumber_data();
    void formatNumber();
};

void TstTextTools::toInteger_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hasValue");
    QTest::addColumn<int>("value");

    const QString en = QStringLiteral("en_US");
    QTest::newRow("plain") << en << "42" << true << 42;
    QTest::newRow("negative") << en << "-17" << true << -17;
    QTest::newRow("group separator") << en << "1,000" << true << 1000;
    QTest::newRow("surrounding spaces") << en << "  25 " << true << 25;
    QTest::newRow("upper edge") << en << "32767" << true << 32767;
    QTest::newRow("lower edge") << en << "-32768" << true << -32768;
    QTest::newRow("one above the range") << en << "32768" << false << 0;
    QTest::newRow("one below the range") << en << "-32769" << false << 0;
    QTest::newRow("letters") << en << "abc" << false << 0;
    QTest::newRow("empty") << en << "" << false << 0;
    QTest::newRow("only spaces") << en << "   " << false << 0;
    QTest::newRow("fraction") << en << "1.5" << false << 0;
    QTest::newRow("trailing letters") << en << "12abc" << false << 0;
    QTest::newRow("space inside") << en << "1 2" << false << 0;
    QTest::newRow("misplaced group separator") << en << "1,00" << false << 0;
    QTest::newRow("german grouping") << QStringLiteral("de_DE") << "1.000" << true << 1000;
}

void TstTextTools::toInteger()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, hasValue);
    QFETCH(int, value);

    QLocale::setDefault(QLocale(locale));
    const std::optional<qint16> result = TextTools::ToInteger(text, true);
    QCOMPARE(result.has_value(), hasValue);
    if (hasValue)
        QCOMPARE(int(*result), value);
}

void TstTextTools::formatNumber_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("expected");

    const QString en = QStringLiteral("en_US");
    QTest::newRow("below a thousand") << en << qint64(999) << "999";
    QTest::newRow("thousands") << en << qint64(12345) << "12,345";
    QTest::newRow("negative") << en << qint64(-1234) << "-1,234";
    QTest::newRow("beyond 16 bits") << en << qint64(1234567) << "1,234,567";
    QTest::newRow("german") << QStringLiteral("de_DE") << qint64(25000) << "25.000";
}

void TstTextTools::formatNumber()
{
    QFETCH(QString, locale);
    QFETCH(qint64, value);
    QFETCH(QString, expected);

    QLocale::setDefault(QLocale(locale));
    QCOMPARE(TextTools::FormatNumber(value), expected);
    // What the designer writes it reads back, as long as it fits a length.
    if (value >= -32768 && value <= 32767)
        QCOMPARE(TextTools::ToInteger(expected), std::optional<qint16>(qint16(value)));
}

QTEST_GUILESS_MAIN(TstTextTools)
#include "tst_texttools.moc"

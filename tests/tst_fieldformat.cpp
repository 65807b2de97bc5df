// The field descriptor a cell and a pattern file hold, the characters its
// typed components refuse, and the preview of a data field.

#include "field/fielddescriptor.h"
#include "field/fieldpreview.h"

#include <QLocale>
#include <QTest>

class TstFieldFormat final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    // Each descriptor is loaded over a dialog state whose boxes already hold
    // something, then written back: what it did not set shows as that state.
    void loadAndFormat_data()
    {
        QTest::addColumn<QString>("descriptor");
        QTest::addColumn<QString>("rewritten");

        QTest::newRow("every component") << "[F]:{A}:5:C:*:<:>:2" << "[F]:{A}:5:C:*:<:>:2";
        QTest::newRow("five components leave the rest") << "[F]:{A}:5:R:0" << "[F]:{A}:5:R:0:(:):1";
        QTest::newRow("unknown alignment is left") << "[F]:{A}:5:X:0" << "[F]:{A}:5:L:0:(:):1";
        QTest::newRow("tag and alignment trimmed") << " [F]:{A}:5: R :0" << "[F]:{A}:5:R:0:(:):1";
        QTest::newRow("lower-case tag loads nothing") << "[f]:{A}:5:R:0" << "[F]:{FIRST}:1:L:#:(:):1";
        QTest::newRow("empty text loads nothing") << "" << "[F]:{FIRST}:1:L:#:(:):1";
        QTest::newRow("fill keeps its first character") << "[F]:{A}:5:L:ab" << "[F]:{A}:5:L:a:(:):1";
        QTest::newRow("every brace removed") << "[F]:{{A}}:5:L:0" << "[F]:{A}:5:L:0:(:):1";
        QTest::newRow("length not a number keeps the reset") << "[F]:{A}:abc:R" << "[F]:{A}:1:R:#:(:):1";
        QTest::newRow("flag out of range unchecks") << "[F]:{A}:5:L:0:::5" << "[F]:{A}:5:L:0:::0";
        QTest::newRow("length shown grouped") << "[F]:{A}:1000:R" << "[F]:{A}:1,000:R:#:(:):1";
        QTest::newRow("constant count recomputed") << "[C]:Total{NL}{NL}:9" << "[C]:Total{NL}{NL}:5";
        QTest::newRow("incomplete marker counted") << "[C]:A{NL:0" << "[C]:A{NL:4";
    }

    void loadAndFormat()
    {
        QFETCH(QString, descriptor);
        QFETCH(QString, rewritten);

        FieldSettings reset;
        reset.fieldName = QStringLiteral("FIRST");
        reset.fill = QStringLiteral("#");
        reset.prefix = QStringLiteral("(");
        reset.suffix = QStringLiteral(")");
        reset.multiLine = 1;
        QCOMPARE(formatDescriptor(loadDescriptor(descriptor, reset)), rewritten);
    }

    void refusedCharacter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");

        QTest::newRow("thai and code page punctuation") << "ยอดรวม ฿ € “x”" << -1;
        QTest::newRow("colon") << "ab:c" << 2;
        QTest::newRow("semicolon") << ";x" << 0;
        QTest::newRow("line feed") << "a\nb" << 1;
        QTest::newRow("outside the code page") << "café" << 3;
        QTest::newRow("emoji") << "ก😀x" << 1;
    }

    void refusedCharacter()
    {
        QFETCH(QString, text);
        QFETCH(int, position);

        QCOMPARE(firstRefusedCharacter(text), qsizetype(position));
    }

    void preview_data()
    {
        QTest::addColumn<QString>("sample");
        QTest::addColumn<QString>("fill");
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("leftCenterRight");

        QTest::newRow("width 6, odd spare goes right") << "ABC" << "*" << 6
                                                       << QStringList{"ABC***", "*ABC**", "***ABC"};
        QTest::newRow("width 7") << "ABC" << "*" << 7 << QStringList{"ABC****", "**ABC**", "****ABC"};
        QTest::newRow("width 3") << "ABC" << "*" << 3 << QStringList{"ABC", "ABC", "ABC"};
        QTest::newRow("width 2 cuts") << "ABC" << "*" << 2 << QStringList{"AB", "AB", "BC"};
        QTest::newRow("width 0") << "ABC" << "*" << 0 << QStringList{"", "", ""};
        QTest::newRow("negative width") << "ABC" << "*" << -3 << QStringList{"", "", ""};
        QTest::newRow("empty sample") << "" << "0" << 4 << QStringList{"0000", "0000", "0000"};
        QTest::newRow("empty fill is a space") << "ABC" << "" << 5 << QStringList{"ABC  ", " ABC ", "  ABC"};
    }

    void preview()
    {
        QFETCH(QString, sample);
        QFETCH(QString, fill);
        QFETCH(int, width);
        QFETCH(QStringList, leftCenterRight);

        for (const int alignment : {FieldSettings::Left, FieldSettings::Center, FieldSettings::Right})
            QCOMPARE(FieldPreview::adjust(sample, fill, width, alignment), leftCenterRight.at(alignment));
    }
};

QTEST_GUILESS_MAIN(TstFieldFormat)
#include "tst_fieldformat.moc"

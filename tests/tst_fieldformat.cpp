// The field descriptor a cell and a pattern file hold, and the preview of a
// data field.

#include "field/fielddescriptor.h"
#include "field/fieldpreview.h"

#include <QLocale>
#include <QTest>

class TstFieldFormat final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    // Loaded over a state whose boxes all hold something, then written back:
    // whatever the text did not set shows as that state.
    void loadAndFormat_data()
    {
        QTest::addColumn<QString>("descriptor"); QTest::addColumn<QString>("rewritten");
        QTest::newRow("every component") << "[F]:{A}:5:C:*:<:>:2" << "[F]:{A}:5:C:*:<:>:2";
        QTest::newRow("unknown alignment is left") << "[F]:{A}:5:X:0" << "[F]:{A}:5:L:0:(:):1";
        QTest::newRow("tag and alignment trimmed") << " [F]:{A}:5: R :0" << "[F]:{A}:5:R:0:(:):1";
        // Spaces only, as the exporting program reads the file: a tab or a
        // no-break space is part of the text.
        QTest::newRow("tab before the tag loads nothing") << "\t[F]:{A}:5:R" << "[F]:{FIRST}:1:C:#:(:):1";
        QTest::newRow("no-break space before the alignment is left") << "[F]:{A}:5:\u00A0R:0" << "[F]:{A}:5:L:0:(:):1";
        QTest::newRow("lower-case tag loads nothing") << "[f]:{A}:5:R:0" << "[F]:{FIRST}:1:C:#:(:):1";
        QTest::newRow("braces removed, fill's first character") << "[F]:{{A}}:5:L:ab" << "[F]:{A}:5:L:a:(:):1";
        QTest::newRow("length not a number keeps the reset") << "[F]:{A}:abc:R" << "[F]:{A}:1:R:#:(:):1";
        QTest::newRow("flag out of range unchecks") << "[F]:{A}:5:L:0:::5" << "[F]:{A}:5:L:0:::0";
        QTest::newRow("length shown grouped") << "[F]:{A}:1000:R" << "[F]:{A}:1,000:R:#:(:):1";
        QTest::newRow("constant count recomputed") << "[C]:Total{NL}{NL}{NL:9" << "[C]:Total{NL}{NL}{NL:8";
    }
    void loadAndFormat()
    {
        QFETCH(QString, descriptor);
        const FieldSettings reset{FieldSettings::Kind::Field, {}, "FIRST", "1", FieldSettings::Center, "#", "(", ")", 1};
        QTEST(formatDescriptor(loadDescriptor(descriptor, reset)), "rewritten");
    }

    // A cell as the grid shows it readably: what it writes, spaces and line
    // breaks made visible; the stored text where it is no descriptor.
    void readable_data()
    {
        QTest::addColumn<QString>("cell"); QTest::addColumn<QString>("shown");
        QTest::newRow("field") << "[F]:{PAYAMT}:15:R:0:::0" << "PAYAMT 15 R 0";
        QTest::newRow("space fill; prefix, suffix and flag not shown") << "[F]:{PAYEENAME}:30:L: :<:>:1" << "PAYEENAME 30 L ·";
        QTest::newRow("empty components left out") << "[F]:{A}:5:::::0" << "A 5";
        QTest::newRow("length as stored, code trimmed, braces gone") << " [F]:{{A}}:1,000: R :ab" << "A 1,000 R ab";
        QTest::newRow("no component to show") << "[F]" << "[F]";
        QTest::newRow("constant") << "[C]:H:1" << "'H' 1";
        QTest::newRow("spaces") << "[C]:     :5" << "'·····' 5";
        QTest::newRow("line break; the count as stored") << "[C]:AB{NL}C D:9" << "'AB↵C·D' 9";
        QTest::newRow("constant without a count") << "[C]:X" << "'X'";
        QTest::newRow("constant without a text") << "[C]" << "''";
        QTest::newRow("lower-case tag as stored") << "[f]:{A}:5" << "[f]:{A}:5";
        QTest::newRow("free text as stored") << "LOOP 1" << "LOOP 1";
        QTest::newRow("empty") << "" << "";
    }
    void readable()
    {
        QFETCH(QString, cell);
        QTEST(readableText(cell), "shown");
    }

    // The sample "ABC" laid out left, centred and right.
    void preview_data()
    {
        QTest::addColumn<QString>("fill"); QTest::addColumn<int>("width"); QTest::addColumn<QStringList>("leftCenterRight");
        QTest::newRow("width 6, odd spare goes right") << "*" << 6 << QStringList{"ABC***", "*ABC**", "***ABC"};
        QTest::newRow("width 2 cuts") << "*" << 2 << QStringList{"AB", "AB", "BC"};
        QTest::newRow("width 0") << "*" << 0 << QStringList{"", "", ""};
        QTest::newRow("negative width") << "*" << -3 << QStringList{"", "", ""};
        QTest::newRow("empty fill is a space") << "" << 5 << QStringList{"ABC  ", " ABC ", "  ABC"};
    }
    void preview()
    {
        QFETCH(QString, fill); QFETCH(int, width); QFETCH(QStringList, leftCenterRight);
        for (const int alignment : {FieldSettings::Left, FieldSettings::Center, FieldSettings::Right})
            QCOMPARE(FieldPreview::adjust(QStringLiteral("ABC"), fill, width, alignment), leftCenterRight.at(alignment));
    }
};

QTEST_GUILESS_MAIN(TstFieldFormat)
#include "tst_fieldformat.moc"

// The field descriptor a cell and a pattern file hold, the preview of a
// data field, and the cells a paste makes of clipboard text.

#include "components/gridtablemodel.h"
#include "designer/cellclipboard.h"
#include "designer/gridlayout.h"
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

    // Pasted into Field1 on: descriptors as the field dialog writes them are
    // taken as they are, other text becomes a constant as its box would
    // take it, or refuses the paste (the message: "line N of the
    // clipboard, CELL: why"); the notice says what was made of the cells.
    void paste_data()
    {
        QTest::addColumn<QString>("text"); QTest::addColumn<QStringList>("cells"); QTest::addColumn<QString>("message");
        QTest::newRow("descriptors as written, empty cells") << "[F]:{A}:1,000:C: :<:>:2\t\t[F]:{}:5:: \t[C]:A{NL}B:2"
            << QStringList{"[F]:{A}:1,000:C: :<:>:2", "", "[F]:{}:5:: ", "[C]:A{NL}B:2"} << "";
        QTest::newRow("one column off: the type word a constant") << "LOOP\t[C]:X:1\tfree text"
            << QStringList{"[C]:LOOP:4", "[C]:X:1", "[C]:free text:9"} << "Pasted: 2 cells were no field descriptor and became constants of their text.";
        QTest::newRow("counts made right") << "[C]:X\t[C]:X:5\t [C]:AB{NL}:x" << QStringList{"[C]:X:1", "[C]:X:1", "[C]:AB{NL}:2"}
            << "Pasted: 3 constants had their count made right.";
        QTest::newRow("one of each") << "A\t[C]:B" << QStringList{"[C]:A:1", "[C]:B:1"}
            << "Pasted: 1 cell was no field descriptor and became a constant of its text; 1 constant had its count made right.";
        for (const char *field : {"[F]:{A}:abc:R:0", "[F]:{A}:40000:R:0", "[F]:{A}:0:R:0", "[F]:A:5:R:0", "[F]:{A}:5:X:0",
                                  "[F]:{A}:5:R:00", "[F]:{A}:5:R:0:::3", "[F]:{A}:5:R", "[F]:{A}:5:R:0:::0:9", "[C]:A:1:2", "[f]:{A}:5:R:0"})
            QTest::addRow("%s refused", field) << QString::fromUtf8(field) << QStringList()
                                              << "line 1 of the clipboard, Field1: it is no field descriptor, and a constant cannot hold ':'.";
        QTest::newRow("empty constant refused") << "x\n[C]::0" << QStringList() << "line 2 of the clipboard, Field1: a constant needs a text.";
        QTest::newRow("constant longer than a length counts") << QString(40000, u'x') << QStringList()
            << "line 1 of the clipboard, Field1: a constant of 40000 characters is longer than the 32767 a length can count.";
        QTest::newRow("a constant's refusals: control character") << "a\tb\x01" << QStringList()
            << "line 1 of the clipboard, Field2: it holds a control character (U+0001).";
    }
    void paste()
    {
        QFETCH(QString, text); QFETCH(QStringList, cells); QFETCH(QString, message);
        GridTableModel grid;
        GridLayout::layOut(grid);
        const CellClipboard::Paste paste = CellClipboard::parse(grid, text, GridLayout::kFirstFieldColumn);
        QCOMPARE(paste.rows.value(0), cells);
        QCOMPARE(paste.rows.size(), cells.isEmpty() ? 0 : 1);
        const QString said = cells.isEmpty() ? paste.error : paste.notice();
        QVERIFY2(message.isEmpty() ? said.isEmpty() : said.endsWith(message), qPrintable(said));
    }
};

QTEST_GUILESS_MAIN(TstFieldFormat)
#include "tst_fieldformat.moc"

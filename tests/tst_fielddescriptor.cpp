// The field descriptor: what a field cell and a pattern file hold for one
// field, built from the dialog's settings and loaded back into them.

#include "field/fielddescriptor.h"

#include <QLocale>
#include <QTest>

Q_DECLARE_METATYPE(FieldSettings)

namespace {

// The state a fresh dialog is reset to before a descriptor is loaded.
FieldSettings fresh()
{
    FieldSettings s;
    s.fieldName = QStringLiteral("FIRST");
    return s;
}

// A reset state whose boxes already hold something, to show what a
// descriptor leaves alone.
FieldSettings carried()
{
    FieldSettings s = fresh();
    s.constantText = QStringLiteral("old");
    s.fill = QStringLiteral("#");
    s.prefix = QStringLiteral("(");
    s.suffix = QStringLiteral(")");
    s.multiLine = 1;
    return s;
}

FieldSettings field(const FieldSettings &base, const QString &name, const QString &length,
                    int alignment, const QString &fill, const QString &prefix,
                    const QString &suffix, int multiLine)
{
    FieldSettings s = base;
    s.kind = FieldSettings::Kind::Field;
    s.fieldName = name;
    s.length = length;
    s.alignment = alignment;
    s.fill = fill;
    s.prefix = prefix;
    s.suffix = suffix;
    s.multiLine = multiLine;
    return s;
}

FieldSettings field(const QString &name, const QString &length, int alignment,
                    const QString &fill = {}, const QString &prefix = {},
                    const QString &suffix = {}, int multiLine = 0)
{
    return field(fresh(), name, length, alignment, fill, prefix, suffix, multiLine);
}

FieldSettings constant(const FieldSettings &base, const QString &text)
{
    FieldSettings s = base;
    s.kind = FieldSettings::Kind::Constant;
    s.constantText = text;
    return s;
}

} // namespace

class TstFieldDescriptor final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void format_data();
    void format();
    void load_data();
    void load();
    void refusedCharacter_data();
    void refusedCharacter();
};

void TstFieldDescriptor::format_data()
{
    QTest::addColumn<FieldSettings>("settings");
    QTest::addColumn<QString>("descriptor");

    using S = FieldSettings;
    QTest::newRow("no alignment leaves its component empty")
        << field("A", "1", S::NoAlignment) << "[F]:{A}:1:::::0";
    QTest::newRow("empty field name") << field("", "1", S::Left) << "[F]:{}:1:L::::0";
    QTest::newRow("constant, incomplete marker counted")
        << constant(fresh(), "A{NL") << "[C]:A{NL:4";
    QTest::newRow("constant of spaces") << constant(fresh(), "   ") << "[C]:   :3";
    QTest::newRow("constant of markers only") << constant(fresh(), "{NL}{NL}") << "[C]:{NL}{NL}:0";
    QTest::newRow("marker left by a removal stays")
        << constant(fresh(), "{N{NL}L}") << "[C]:{N{NL}L}:4";
    QTest::newRow("thai constant") << constant(fresh(), "ยอดรวม") << "[C]:ยอดรวม:6";
    QTest::newRow("constant ignores field settings")
        << constant(field("A", "5", S::Right, "0"), "X") << "[C]:X:1";
}

void TstFieldDescriptor::format()
{
    QFETCH(FieldSettings, settings);
    QFETCH(QString, descriptor);

    QCOMPARE(formatDescriptor(settings), descriptor);
}

void TstFieldDescriptor::load_data()
{
    QTest::addColumn<FieldSettings>("reset");
    QTest::addColumn<QString>("descriptor");
    QTest::addColumn<FieldSettings>("loaded");
    // What the dialog writes back for the loaded settings.
    QTest::addColumn<QString>("rewritten");

    using S = FieldSettings;
    const FieldSettings f = fresh();
    const FieldSettings c = carried();

    QTest::newRow("all eight components")
        << f << "[F]:{A}:5:C:*:<:>:1" << field("A", "5", S::Center, "*", "<", ">", 1)
        << "[F]:{A}:5:C:*:<:>:1";
    QTest::newRow("space fill")
        << f << "[F]:{DOCNO}:10:L: :<:>:1" << field("DOCNO", "10", S::Left, " ", "<", ">", 1)
        << "[F]:{DOCNO}:10:L: :<:>:1";
    QTest::newRow("five components")
        << f << "[F]:{A}:5:R:0" << field("A", "5", S::Right, "0") << "[F]:{A}:5:R:0:::0";
    QTest::newRow("six components")
        << f << "[F]:{A}:5:R:0:<" << field("A", "5", S::Right, "0", "<") << "[F]:{A}:5:R:0:<::0";
    QTest::newRow("seven components")
        << f << "[F]:{A}:5:R:0:<:>" << field("A", "5", S::Right, "0", "<", ">")
        << "[F]:{A}:5:R:0:<:>:0";
    QTest::newRow("five components leave prefix, suffix and flag")
        << c << "[F]:{A}:5:R:0" << field(c, "A", "5", S::Right, "0", "(", ")", 1)
        << "[F]:{A}:5:R:0:(:):1";
    QTest::newRow("four components leave the fill")
        << c << "[F]:{A}:5:R" << field(c, "A", "5", S::Right, "#", "(", ")", 1)
        << "[F]:{A}:5:R:#:(:):1";
    QTest::newRow("name only") << c << "[F]:{A}" << field(c, "A", "1", S::Left, "#", "(", ")", 1)
                               << "[F]:{A}:1:L:#:(:):1";
    QTest::newRow("unknown alignment is left")
        << f << "[F]:{A}:5:X:0" << field("A", "5", S::Left, "0") << "[F]:{A}:5:L:0:::0";
    QTest::newRow("empty alignment is left")
        << f << "[F]:{A}:5::0" << field("A", "5", S::Left, "0") << "[F]:{A}:5:L:0:::0";
    QTest::newRow("tag and alignment trimmed")
        << f << " [F]:{A}:5: R :0" << field("A", "5", S::Right, "0") << "[F]:{A}:5:R:0:::0";
    QTest::newRow("name and fill untrimmed")
        << f << "[F]:{ A}:5:L:  x" << field(" A", "5", S::Left, " ") << "[F]:{ A}:5:L: :::0";
    QTest::newRow("lower-case tag loads nothing")
        << f << "[f]:{A}:5:L:0" << f << "[F]:{FIRST}:1:L::::0";
    QTest::newRow("unknown tag loads nothing") << c << "[X]:{A}:5:L:0" << c << "[F]:{FIRST}:1:L:#:(:):1";
    QTest::newRow("empty text loads nothing") << f << "" << f << "[F]:{FIRST}:1:L::::0";
    QTest::newRow("fill keeps its first character")
        << f << "[F]:{A}:5:L:ab" << field("A", "5", S::Left, "a") << "[F]:{A}:5:L:a:::0";
    QTest::newRow("prefix and suffix keep their first character")
        << f << "[F]:{A}:5:L:0:<<:>>:0" << field("A", "5", S::Left, "0", "<", ">")
        << "[F]:{A}:5:L:0:<:>:0";
    QTest::newRow("every brace removed")
        << f << "[F]:{{A}}:5:L:0" << field("A", "5", S::Left, "0") << "[F]:{A}:5:L:0:::0";
    QTest::newRow("length shown grouped")
        << f << "[F]:{A}:1000:R:0" << field("A", "1,000", S::Right, "0") << "[F]:{A}:1,000:R:0:::0";
    QTest::newRow("grouped length read")
        << f << "[F]:{A}:1,000:R:0" << field("A", "1,000", S::Right, "0") << "[F]:{A}:1,000:R:0:::0";
    QTest::newRow("length with leading zeros")
        << f << "[F]:{A}:007:R:0" << field("A", "7", S::Right, "0") << "[F]:{A}:7:R:0:::0";
    QTest::newRow("negative length kept")
        << f << "[F]:{A}:-5:R:0" << field("A", "-5", S::Right, "0") << "[F]:{A}:-5:R:0:::0";
    QTest::newRow("length not a number keeps the reset")
        << f << "[F]:{A}:abc:R:0" << field("A", "1", S::Right, "0") << "[F]:{A}:1:R:0:::0";
    QTest::newRow("length beyond 16 bits keeps the reset")
        << f << "[F]:{A}:40000:R:0" << field("A", "1", S::Right, "0") << "[F]:{A}:1:R:0:::0";
    QTest::newRow("greyed flag")
        << f << "[F]:{A}:5:L:0:::2" << field("A", "5", S::Left, "0", "", "", 2) << "[F]:{A}:5:L:0:::2";
    QTest::newRow("flag out of range unchecks")
        << c << "[F]:{A}:5:L:0:::5" << field(c, "A", "5", S::Left, "0", "", "", 0)
        << "[F]:{A}:5:L:0:::0";
    QTest::newRow("negative flag unchecks")
        << c << "[F]:{A}:5:L:0:::-1" << field(c, "A", "5", S::Left, "0", "", "", 0)
        << "[F]:{A}:5:L:0:::0";
    QTest::newRow("flag not a number keeps the reset")
        << c << "[F]:{A}:5:L:0:::x" << field(c, "A", "5", S::Left, "0", "", "", 1)
        << "[F]:{A}:5:L:0:::1";
    QTest::newRow("constant") << f << "[C]:AB{NL}C:3" << constant(f, "AB{NL}C") << "[C]:AB{NL}C:3";
    QTest::newRow("stored count ignored")
        << f << "[C]:Total{NL}{NL}:9" << constant(f, "Total{NL}{NL}") << "[C]:Total{NL}{NL}:5";
    QTest::newRow("constant without count") << f << "[C]:Hello" << constant(f, "Hello") << "[C]:Hello:5";
    QTest::newRow("constant of spaces untrimmed") << f << "[C]:  :2" << constant(f, "  ") << "[C]:  :2";
    QTest::newRow("constant without colon keeps the text")
        << c << "[C]" << constant(c, "old") << "[C]:old:3";
    QTest::newRow("constant leaves the field settings")
        << c << " [C]:X:1" << constant(c, "X") << "[C]:X:1";
}

void TstFieldDescriptor::load()
{
    QFETCH(FieldSettings, reset);
    QFETCH(QString, descriptor);
    QFETCH(FieldSettings, loaded);
    QFETCH(QString, rewritten);

    const FieldSettings actual = loadDescriptor(descriptor, reset);
    QCOMPARE(formatDescriptor(actual), rewritten);
    QVERIFY(actual == loaded);
}

void TstFieldDescriptor::refusedCharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");

    QTest::newRow("empty") << "" << -1;
    QTest::newRow("plain text") << "Total 100% (net)" << -1;
    QTest::newRow("thai") << "ยอดรวม ฿" << -1;
    QTest::newRow("punctuation of the code page") << "€ … – — “ ”" << -1;
    QTest::newRow("colon") << "ab:c" << 2;
    QTest::newRow("semicolon") << ";x" << 0;
    QTest::newRow("line feed") << "a\nb" << 1;
    QTest::newRow("carriage return") << "a\r" << 1;
    QTest::newRow("tab") << "a\tb" << 1;
    QTest::newRow("latin letter outside the code page") << "café" << 3;
    QTest::newRow("chinese") << "ก中" << 1;
    QTest::newRow("emoji") << "ก😀x" << 1;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + u'x' << 0;
}

void TstFieldDescriptor::refusedCharacter()
{
    QFETCH(QString, text);
    QFETCH(int, position);

    QCOMPARE(firstRefusedCharacter(text), qsizetype(position));
}

QTEST_GUILESS_MAIN(TstFieldDescriptor)
#include "tst_fielddescriptor.moc"

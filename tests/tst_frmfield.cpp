// The field dialog over a copy of the sample design database, driven as a
// user would: what it shows for a cell and hands back, and what its boxes
// and keys do with what the user types.

#include "field/gui/frmfield.h"
#include "testsupport.h"

#include <QtSql>
#include <QtTest>
#include <QtWidgets>

namespace {

const QString kDocNo = QStringLiteral("[F]:{DOCNO}:10:R:0:::0");

// The dialog prepared and shown as the designer does it.
struct Fixture
{
    Fixture(const QString &database, const QString &data, const QString &mode = "BANK")
        : context(database)
    {
        d.SetFormat("Field1", mode, data);
        d.show();
        active = QTest::qWaitForWindowActive(&d);
    }
    QLineEdit *box(const char *name) const { return child<QLineEdit>(d, name); }
    QComboBox *fields() const { return child<QComboBox>(d, "Combo1"); }
    // The constant option's count, from its caption "... - [ N character]".
    QString count() const { return child<QRadioButton>(d, "Option1_0")->text().section(u'[', 1).section(u' ', 1, 1); }
    void click(const char *name) const { QTest::mouseClick(child<QAbstractButton>(d, name), Qt::LeftButton); }

    ScriptedContext context;
    frmField d{context};
    bool active = false;
};

// Types into a box as typing and pasting go, through its validator; the
// first word of the hint shown, "" when none.
QString typeInto(QLineEdit *edit, const QString &input, bool replace)
{
    QToolTip::hideText();
    (void)QTest::qWaitFor([] { return !QToolTip::isVisible(); });
    replace ? edit->selectAll() : edit->end(false);
    edit->insert(input);
    return QToolTip::isVisible() ? QToolTip::text().section(u' ', 0, 0) : QString();
}

} // namespace

class TstFrmField final : public QObject
{
    Q_OBJECT

    SampleInstallation m_sample;   // with a mode whose code and field hold apostrophes

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "writer");
        db.setDatabaseName(m_sample.designDatabase());
        QVERIFY(db.open() && QSqlQuery(db).exec("INSERT INTO ZN7TTextExportField VALUES ('O''NEIL', '{O''Q}', 'q', 'x', 'y')"));
        for (const char *field : {"{A;B}", "{C:D}", "{GOOD}"})
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("INSERT INTO ZN7TTextExportField VALUES ('SEMI', '%1', 'n', 's', 't')").arg(field)));
        db.close();
    }

    // The dialog on a cell; the user may pick a field, then presses OK.
    void cellThenOk_data()
    {
        QTest::addColumn<QString>("database"); QTest::addColumn<QString>("mode"); QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("picked"); QTest::addColumn<int>("listed"); QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("name"); QTest::addColumn<QString>("length"); QTest::addColumn<QString>("preview");
        QTest::addColumn<QString>("count"); QTest::addColumn<QString>("okGives");
        const QString sample = m_sample.designDatabase();
        QTest::newRow("empty cell: first field, defaults") << sample << "BANK" << "" << "" << 17 << "BANKCODE"
            << "รหัสธนาคารผู้รับ" << "1" << "" << "0" << "[F]:{BANKCODE}:1:L::::0";
        QTest::newRow("every component") << sample << "BANK" << "[F]:{PAYAMT}:20:C:*:<:>:1" << "" << 17 << "PAYAMT"
            << "จำนวนเงินโอน" << "20" << "**000000001525050***" << "0" << "[F]:{PAYAMT}:20:C:*:<:>:1";
        QTest::newRow("constant, count recomputed") << sample << "BANK" << "[C]:AB{NL}C:9" << "" << 17 << "BANKCODE"
            << "รหัสธนาคารผู้รับ" << "1" << "" << "3" << "[C]:AB{NL}C:3";
        QTest::newRow("field of another mode, zero length confirmed") << sample << "BANK" << "[F]:{EMPCODE}:0:R:0" << ""
            << 17 << "BANKCODE" << "รหัสธนาคารผู้รับ" << "0" << "" << "0" << "[F]:{BANKCODE}:1:R:0:::0";
        QTest::newRow("apostrophes in the mode and the field") << sample << "O'NEIL" << "" << "O'Q" << 8 << "O'Q" << "q"
            << "1" << "y" << "0" << "[F]:{O'Q}:1:L::::0";
        QTest::newRow("database missing") << m_sample.filePath("none.dat") << "BANK" << "" << "" << 0 << "" << "" << "1"
            << "" << "0" << "[F]:{}:1:L::::0";
    }
    void cellThenOk()
    {
        QFETCH(QString, database); QFETCH(QString, mode); QFETCH(QString, data); QFETCH(QString, picked);
        Fixture f(database, data, mode);
        QVERIFY(f.active);
        if (!picked.isEmpty())
            f.fields()->setCurrentText(picked);
        QTEST(int(f.fields()->count()), "listed");
        QTEST(f.fields()->currentText(), "field");
        QTEST(f.box("Text6")->text(), "name");
        QTEST(f.box("Text4")->text(), "length");
        QTEST(f.box("Text7")->text(), "preview");
        QTEST(f.count(), "count");
        QCOMPARE(f.d.MDATA, data);
        f.click("Command1");
        QTEST(f.d.MDATA, "okGives");
    }

    // On the DOCNO cell the user types into a box, then acts, having turned to
    // a constant first when typing one. Enter and Esc, pressed twice in the
    // length box or on OK, press no button.
    void typeThenAct_data()
    {
        QTest::addColumn<QString>("box"); QTest::addColumn<QString>("input"); QTest::addColumn<QString>("act");
        QTest::addColumn<QString>("text"); QTest::addColumn<QString>("hint"); QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("mdata"); QTest::addColumn<QString>("count"); QTest::addColumn<QStringList>("told");
        QTest::newRow("OK") << "Text1" << "ยอด ฿{NL}" << "OK" << "ยอด ฿{NL}" << "" << false << "[C]:ยอด ฿{NL}:5" << "5" << QStringList();
        QTest::newRow("OK, empty constant") << "Text1" << "" << "OK" << "" << "" << true << kDocNo << "0" << QStringList{"กรุณาระบุ Constant"};
        QTest::newRow("Cancel") << "Text1" << "AB" << "Cancel" << "AB" << "" << false << kDocNo << "2" << QStringList();
        QTest::newRow("Esc on OK") << "Text1" << "A" << "Esc" << "A" << "" << true << kDocNo << "1" << QStringList();
        QTest::newRow("Enter on OK") << "Text1" << "A" << "Enter" << "A" << "" << true << kDocNo << "1" << QStringList();
        QTest::newRow("constant box, line break") << "Text1" << "x\ny" << "" << "" << "Line" << true << kDocNo << "0" << QStringList();
        QTest::newRow("constant box under the field option: no count") << "Text1" << "ab" << "" << "ab" << "" << true << kDocNo << "0" << QStringList();
        QTest::newRow("prefix, semicolon") << "Text8" << ";" << "" << "" << "\";\"" << true << kDocNo << "0" << QStringList();
        QTest::newRow("suffix, emoji cut in half by the box") << "Text9" << "😀" << "" << "" << "This" << true << kDocNo << "0" << QStringList();
        QTest::newRow("constant, emoji named whole") << "Text1" << "😀" << "" << "" << "\"😀\"" << true << kDocNo << "0" << QStringList();
        QTest::newRow("length 0 entered") << "Text4" << "0" << "Enter" << "1" << "" << true << kDocNo << "0" << QStringList();
        QTest::newRow("length 1000 entered, grouped") << "Text4" << "1000" << "Enter" << "1,000" << "" << true << kDocNo << "0" << QStringList();
        const QString tooLong = "ความยาวต้องไม่เกิน 32767 ตัวอักษร\nThe length %1 is more than a field can have: the largest length is 32767.";
        QTest::newRow("length 40000 on OK: said, kept, open") << "Text4" << "40000" << "OK" << "40000" << "" << true << kDocNo << "0"
                                                             << QStringList{tooLong.arg(40000)};
        QTest::newRow("length 99999 entered") << "Text4" << "99999" << "Enter" << "99999" << "" << true << kDocNo << "0"
                                              << QStringList{tooLong.arg(99999), tooLong.arg(99999)};
        QTest::newRow("length -40000 entered becomes 1") << "Text4" << "-40000" << "Enter" << "1" << "" << true << kDocNo << "0" << QStringList();
        const QString longText(40000, u'x');
        QTest::newRow("constant of 40000 characters on OK") << "Text1" << longText << "OK" << longText << "" << true << kDocNo << "40000"
            << QStringList{"ข้อความคงที่ต้องยาวไม่เกิน 32767 ตัวอักษร\nThe constant has 40000 characters: the longest constant is 32767."};
    }
    void typeThenAct()
    {
        QFETCH(QString, box); QFETCH(QString, input); QFETCH(QString, act);
        Fixture f(m_sample.designDatabase(), kDocNo);
        QVERIFY(f.active);
        QLineEdit *edit = f.box(qPrintable(box));
        if (box == u"Text1" && !act.isEmpty())
            f.click("Option1_0");
        const QString hint = typeInto(edit, input, true);
        if (act == u"OK" || act == u"Cancel")
            f.click(act == u"OK" ? "Command1" : "Command2");
        for (int press = 0; press < 2 && (act == u"Enter" || act == u"Esc"); ++press)
            QTest::keyClick(box == u"Text4" ? static_cast<QWidget *>(edit) : child<QWidget>(f.d, "Command1"),
                            act == u"Esc" ? Qt::Key_Escape : Qt::Key_Return);
        QTEST(edit->text(), "text");
        QTEST(hint, "hint");
        QTEST(f.d.isVisible(), "open");
        QTEST(f.d.MDATA, "mdata");
        QTEST(f.count(), "count");
        QTEST(f.context.prompts.told, "told");
    }

    // A pattern file may bring a control character into a box. It stays as
    // long as the user leaves it, yet the box goes on refusing what would
    // split the saved line, typed or pasted.
    void loadedControlCharacterKeepsRefusing_data()
    {
        QTest::addColumn<QString>("data"); QTest::addColumn<QString>("box"); QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("text"); QTest::addColumn<QString>("okGives");
        QTest::newRow("constant with a tab") << "[C]:a\tb:3" << "Text1" << QStringList{":", "X", "\t", "y;z", "\r"}
                                             << "a\tbX" << "[C]:a\tbX:4";
        QTest::newRow("fill that is a lone CR") << "[F]:{DOCNO}:10:R:\r:::0" << "Text3" << QStringList{";", ":"} << "\r"
                                                << "[F]:{DOCNO}:10:R:\r:::0";
    }
    void loadedControlCharacterKeepsRefusing()
    {
        QFETCH(QString, data); QFETCH(QString, box); QFETCH(QStringList, typed);
        Fixture f(m_sample.designDatabase(), data);
        QVERIFY(f.active);
        QLineEdit *edit = f.box(qPrintable(box));
        for (const QString &input : typed) {
            const QString before = edit->text();
            const bool refused = !typeInto(edit, input, box == u"Text3").isEmpty();
            QCOMPARE(refused, edit->text() == before);
        }
        QTEST(edit->text(), "text");
        f.click("Command1");
        QTEST(f.d.MDATA, "okGives");
    }

    // A field whose name holds ";" or ":" would read back as other cells or
    // components: the list leaves it out and says why, once a run.
    void fieldNamesACellCannotHold()
    {
        for (const int open : {1, 2}) {
            Fixture f(m_sample.designDatabase(), "", "SEMI");
            QStringList listed;
            for (int i = 0; i < f.fields()->count(); ++i)
                listed << f.fields()->itemText(i);
            QVERIFY2(listed.contains("GOOD") && !listed.contains("A;B") && !listed.contains("C:D"), qPrintable(listed.join(u' ')));
            QCOMPARE(f.context.prompts.told.size(), open == 1 ? 1 : 0);
            QVERIFY(open == 2 || f.context.prompts.told[0].endsWith(QStringLiteral("): A;B, C:D")));
        }
    }

    // Alt with a label's underlined letter reaches its box; the captions
    // read as before.
    void mnemonics_data()
    {
        QTest::addColumn<char>("letter"); QTest::addColumn<QString>("box"); QTest::addColumn<QString>("label");
        QTest::newRow("field list") << 'D' << "Combo1" << "Data field";
        QTest::newRow("length") << 'L' << "Text4" << "Fixed Length";
        QTest::newRow("alignment") << 'A' << "Combo2" << "Alignment";
        QTest::newRow("fill") << 'B' << "Text3" << "Fill Blank space with";
        QTest::newRow("prefix") << 'P' << "Text8" << "Prefix";
        QTest::newRow("suffix") << 'S' << "Text9" << "Suffix";
    }
    void mnemonics()
    {
        QFETCH(char, letter); QFETCH(QString, box); QFETCH(QString, label);
        Fixture f(m_sample.designDatabase(), kDocNo);
        QVERIFY(f.active);
        QTest::keyClick(&f.d, Qt::Key(Qt::Key_A + (letter - 'A')), Qt::AltModifier);
        QCOMPARE(f.d.focusWidget()->objectName(), box);
        const QLabel *buddyOf = nullptr;
        for (const QLabel *l : f.d.findChildren<QLabel *>())
            buddyOf = l->buddy() == f.d.focusWidget() ? l : buddyOf;
        QVERIFY(buddyOf);
        QCOMPARE(buddyOf->text().remove(u'&'), label);
        // A screen reader finds the box labelled by it.
        QStringList labelledBy;
        for (const auto &[other, relation] : QAccessible::queryAccessibleInterface(f.d.focusWidget())->relations(QAccessible::Label))
            labelledBy << other->text(QAccessible::Name);
        QCOMPARE(labelledBy, QStringList{label});
    }
};

QTEST_MAIN(TstFrmField)
#include "tst_frmfield.moc"

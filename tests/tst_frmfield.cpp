// The field dialog over a copy of the sample design database, driven as a
// user would: what it shows for a cell and hands back, and what its boxes
// and keys do with what the user types.

#include "field/frmfield.h"
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
    {
        context.useDesignDatabase(database);
        d.SetFormat("Field1", mode, data);
        d.show();
    }
    // Fields listed, then field, name, length and preview shown, and the constant's count.
    QStringList shown() const
    {
        return {QString::number(d.Combo1->count()), d.Combo1->currentText(), d.Text6->text(), d.Text4->text(), d.Text7->text(),
                d.Option1[0]->text().remove("Constant (Use {NL} for NewLine) - [ ").remove(" character]")};
    }
    TestContext context;
    frmField d{context};
};

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
        db.close();
    }

    // The dialog on a cell; the user may pick a field, then presses OK.
    void cellThenOk_data()
    {
        QTest::addColumn<QString>("database"); QTest::addColumn<QString>("mode"); QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("picked"); QTest::addColumn<QStringList>("shown"); QTest::addColumn<QString>("okGives");
        const QString sample = m_sample.designDatabase();
        QTest::newRow("empty cell: first field, defaults") << sample << "BANK" << "" << ""
                                                           << QStringList{"17", "BANKCODE", "รหัสธนาคารผู้รับ", "1", "", "0"} << "[F]:{BANKCODE}:1:L::::0";
        QTest::newRow("every component") << sample << "BANK" << "[F]:{PAYAMT}:20:C:*:<:>:1" << ""
                                         << QStringList{"17", "PAYAMT", "จำนวนเงินโอน", "20", "**000000001525050***", "0"} << "[F]:{PAYAMT}:20:C:*:<:>:1";
        QTest::newRow("constant, count recomputed") << sample << "BANK" << "[C]:AB{NL}C:9" << ""
                                                    << QStringList{"17", "BANKCODE", "รหัสธนาคารผู้รับ", "1", "", "3"} << "[C]:AB{NL}C:3";
        QTest::newRow("field of another mode, zero length confirmed") << sample << "BANK" << "[F]:{EMPCODE}:0:R:0" << ""
                                                                    << QStringList{"17", "BANKCODE", "รหัสธนาคารผู้รับ", "0", "", "0"} << "[F]:{BANKCODE}:1:R:0:::0";
        QTest::newRow("apostrophes in the mode and the field") << sample << "O'NEIL" << "" << "O'Q" << QStringList{"8", "O'Q", "q", "1", "y", "0"} << "[F]:{O'Q}:1:L::::0";
        QTest::newRow("database missing") << m_sample.filePath("none.dat") << "BANK" << "" << "" << QStringList{"0", "", "", "1", "", "0"} << "[F]:{}:1:L::::0";
    }
    void cellThenOk()
    {
        QFETCH(QString, database); QFETCH(QString, mode); QFETCH(QString, data); QFETCH(QString, picked);
        Fixture f(database, data, mode);
        QVERIFY(QTest::qWaitForWindowActive(&f.d));
        if (!picked.isEmpty())
            f.d.Combo1->setCurrentText(picked);
        QTEST(f.shown(), "shown");
        QCOMPARE(f.d.MDATA, data);
        QTest::mouseClick(f.d.Command1, Qt::LeftButton);
        QTEST(f.d.MDATA, "okGives");
    }

    // On the DOCNO cell the user types into a box, then acts, having turned to
    // a constant first when typing one. Enter and Esc, pressed twice in the
    // length box or on OK, press no button.
    void typeThenAct_data()
    {
        QTest::addColumn<QString>("box"); QTest::addColumn<QString>("input"); QTest::addColumn<QString>("act");
        QTest::addColumn<QStringList>("outcome");   // the box's text, the hint's first word, open or closed, MDATA, the constant's count, messages
        QTest::newRow("OK") << "Text1" << "ยอด ฿{NL}" << "OK" << QStringList{"ยอด ฿{NL}", "", "closed", "[C]:ยอด ฿{NL}:5", "5"};
        QTest::newRow("OK, empty constant") << "Text1" << "" << "OK" << QStringList{"", "", "open", kDocNo, "0", "กรุณาระบุ Constant"};
        QTest::newRow("Cancel") << "Text1" << "AB" << "Cancel" << QStringList{"AB", "", "closed", kDocNo, "2"};
        QTest::newRow("Esc on OK") << "Text1" << "A" << "Esc" << QStringList{"A", "", "open", kDocNo, "1"};
        QTest::newRow("Enter on OK") << "Text1" << "A" << "Enter" << QStringList{"A", "", "open", kDocNo, "1"};
        QTest::newRow("constant box, line break") << "Text1" << "x\ny" << "" << QStringList{"", "Line", "open", kDocNo, "0"};
        QTest::newRow("constant box under the field option: no count") << "Text1" << "ab" << "" << QStringList{"ab", "", "open", kDocNo, "0"};
        QTest::newRow("prefix, semicolon") << "Text8" << ";" << "" << QStringList{"", "\";\"", "open", kDocNo, "0"};
        QTest::newRow("fill, colon") << "Text3" << ":" << "" << QStringList{"0", "\":\"", "open", kDocNo, "0"};
        QTest::newRow("suffix, outside the code page") << "Text9" << "é" << "" << QStringList{"", "\"é\"", "open", kDocNo, "0"};
        QTest::newRow("suffix, emoji cut in half by the box") << "Text9" << "😀" << "" << QStringList{"", "This", "open", kDocNo, "0"};
        QTest::newRow("constant, emoji named whole") << "Text1" << "😀" << "" << QStringList{"", "\"😀\"", "open", kDocNo, "0"};
        QTest::newRow("length 0 entered") << "Text4" << "0" << "Enter" << QStringList{"1", "", "open", kDocNo, "0"};
        QTest::newRow("length -5 entered") << "Text4" << "-5" << "Enter" << QStringList{"1", "", "open", kDocNo, "0"};
        QTest::newRow("length 1000 entered, grouped, read back") << "Text4" << "1000" << "Enter" << QStringList{"1,000", "", "open", kDocNo, "0"};
    }
    void typeThenAct()
    {
        QFETCH(QString, box); QFETCH(QString, input); QFETCH(QString, act);
        Fixture f(m_sample.designDatabase(), kDocNo);
        QVERIFY(QTest::qWaitForWindowActive(&f.d));
        auto *edit = f.d.findChild<QLineEdit *>(box);
        if (edit == f.d.Text1 && !act.isEmpty())
            QTest::mouseClick(f.d.Option1[0], Qt::LeftButton);
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
        edit->selectAll();
        edit->insert(input);   // through the box's validator, as typing and pasting go
        const QString hint = QToolTip::isVisible() ? QToolTip::text().section(u' ', 0, 0) : QString();
        if (act == u"OK" || act == u"Cancel")
            QTest::mouseClick(act == u"OK" ? f.d.Command1 : f.d.Command2, Qt::LeftButton);
        for (int press = 0; press < 2 && (act == u"Enter" || act == u"Esc"); ++press)
            QTest::keyClick(edit == f.d.Text4 ? static_cast<QWidget *>(edit) : f.d.Command1, act == u"Esc" ? Qt::Key_Escape : Qt::Key_Return);
        QTEST(QStringList({edit->text(), hint, f.d.isVisible() ? "open" : "closed", f.d.MDATA, f.shown().last()}) + f.context.messages.texts(),
              "outcome");
    }
};

QTEST_MAIN(TstFrmField)
#include "tst_frmfield.moc"

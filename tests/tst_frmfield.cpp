// The field dialog over a copy of the sample design database: what it shows
// for a cell, how it confirms a length, what OK, Cancel and the keys hand
// back, what it lists for a mode, and what it refuses to take in.

#include "field/frmfield.h"
#include "testsupport.h"

#include <QtSql>
#include <QtTest>
#include <QtWidgets>

namespace {

const QString kDocNo = QStringLiteral("[F]:{DOCNO}:10:R:0:::0");

// Selects what the box holds and types the text over it, a character at a
// time (QTest::keyClicks knows Latin-1 only).
void typeOver(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

// A dialog over the sample installation, prepared as the designer does it.
struct Fixture
{
    Fixture() { context.useDesignDatabase(installation.designDatabase()); }
    [[nodiscard]] bool show(const QString &data, const QString &mode = QStringLiteral("BANK"))
    {
        d.SetFormat(QStringLiteral("Field1"), mode, data);
        d.show();
        return QTest::qWaitForWindowActive(&d);
    }

    SampleInstallation installation;
    TestContext context;
    frmField d{context};
};

} // namespace

class TstFrmField final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void cellThenOk_data()
    {
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("picked"); // the field the user then picks, if any
        QTest::addColumn<QString>("length"); // what the user then types in the length box and enters
        QTest::addColumn<QStringList>("shown"); // field, name, sample, formatted sample, length, preview
        QTest::addColumn<QString>("okGives");

        QTest::newRow("empty cell: first field, defaults") << "" << "" << ""
            << QStringList{"BANKCODE", "รหัสธนาคารผู้รับ", "014", "014", "1", ""} << "[F]:{BANKCODE}:1:L::::0";
        QTest::newRow("every component") << "[F]:{PAYAMT}:20:C:*:<:>:1" << "" << ""
            << QStringList{"PAYAMT", "จำนวนเงินโอน", "15,250.50", "000000001525050", "20", "**000000001525050***"}
            << "[F]:{PAYAMT}:20:C:*:<:>:1";
        QTest::newRow("field of another mode keeps the first") << "[F]:{EMPCODE}:5:R:0" << "" << ""
            << QStringList{"BANKCODE", "รหัสธนาคารผู้รับ", "014", "014", "5", "00014"} << "[F]:{BANKCODE}:5:R:0:::0";
        QTest::newRow("picked field looked up") << kDocNo << "PAYAMT" << ""
            << QStringList{"PAYAMT", "จำนวนเงินโอน", "15,250.50", "000000001525050", "10", "0001525050"}
            << "[F]:{PAYAMT}:10:R:0:::0";
        const QStringList docNo = {"DOCNO", "เลขที่เอกสาร", "PV6912-0042", "PV69120042"};
        QTest::newRow("zero length confirmed by OK") << "[F]:{DOCNO}:0:R:0:::0" << "" << ""
            << docNo + QStringList{"0", ""} << "[F]:{DOCNO}:1:R:0:::0";
        QTest::newRow("Enter makes zero 1") << kDocNo << "" << "0" << docNo + QStringList{"1", "2"}
            << "[F]:{DOCNO}:1:R:0:::0";
        QTest::newRow("Enter makes negative 1") << kDocNo << "" << "-5" << docNo + QStringList{"1", "2"}
            << "[F]:{DOCNO}:1:R:0:::0";
        QTest::newRow("Enter groups a thousand") << kDocNo << "" << "1000"
            << docNo + QStringList{"1,000", QString(990, u'0') + "PV69120042"} << "[F]:{DOCNO}:1,000:R:0:::0";
    }

    void cellThenOk()
    {
        QFETCH(QString, data);
        QFETCH(QString, picked);
        QFETCH(QString, length);
        QFETCH(QStringList, shown);
        QFETCH(QString, okGives);

        Fixture f;
        QVERIFY(f.show(data));
        if (!picked.isEmpty())
            f.d.Combo1->setCurrentText(picked);
        if (!length.isEmpty())
            typeOver(f.d.Text4, length);
        for (int press = 0; press < 2 && !length.isEmpty(); ++press) // a second Enter changes nothing
            QTest::keyClick(f.d.Text4, Qt::Key_Return);
        QCOMPARE((QStringList{f.d.Combo1->currentText(), f.d.Text6->text(), f.d.Text2->text(),
                              f.d.Text5->text(), f.d.Text4->text(), f.d.Text7->text()}), shown);
        QCOMPARE(f.d.MDATA, data);
        QTest::mouseClick(f.d.Command1, Qt::LeftButton);
        QCOMPARE(f.d.MDATA, okGives);
    }

    void handsBack_data()
    {
        QTest::addColumn<QString>("constant");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("key"); // 0 clicks the target
        QTest::addColumn<QStringList>("outcome"); // the dialog open or closed, MDATA, messages

        const int click = 0, enter = Qt::Key_Return, esc = Qt::Key_Escape;
        QTest::newRow("OK") << "A{NL}" << "Command1" << click << QStringList{"closed", "[C]:A{NL}:1"};
        QTest::newRow("OK, empty constant")
            << "" << "Command1" << click << QStringList{"open", kDocNo, "กรุณาระบุ Constant"};
        QTest::newRow("Cancel") << "A" << "Command2" << click << QStringList{"closed", kDocNo};
        QTest::newRow("Enter in the constant box") << "A" << "Text1" << enter << QStringList{"open", kDocNo};
        QTest::newRow("Esc in the constant box") << "A" << "Text1" << esc << QStringList{"open", kDocNo};
        QTest::newRow("Enter on OK") << "A" << "Command1" << enter << QStringList{"open", kDocNo};
    }

    // On the DOCNO cell the user changes the length and the field, turns to
    // a constant and types the row's text, then acts.
    void handsBack()
    {
        QFETCH(QString, constant);
        QFETCH(QString, target);
        QFETCH(int, key);
        QFETCH(QStringList, outcome);

        Fixture f;
        QVERIFY(f.show(kDocNo));
        typeOver(f.d.Text4, QStringLiteral("7"));
        QTest::keyClick(f.d.Text4, Qt::Key_Return);
        f.d.Combo1->setCurrentIndex(3);
        QTest::mouseClick(f.d.Option1[0], Qt::LeftButton);
        typeOver(f.d.Text1, constant);
        auto *widget = f.d.findChild<QWidget *>(target);
        widget->setFocus();
        key ? QTest::keyClick(widget, Qt::Key(key)) : QTest::mouseClick(widget, Qt::LeftButton);
        QCOMPARE(QStringList({f.d.isVisible() ? "open" : "closed", f.d.MDATA}) + f.context.messages.texts(),
                 outcome);
    }

    void counterCaption_data()
    {
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("count");

        QTest::newRow("data field, on activation") << kDocNo << "" << 0;
        QTest::newRow("loaded constant") << "[C]:AB{NL}C:3" << "" << 3;
        QTest::newRow("typed constant") << "[C]:AB{NL}C:3" << "Total{NL}{NL}" << 5;
        QTest::newRow("typing under the field option") << kDocNo << "D" << 0;
    }

    void counterCaption()
    {
        QFETCH(QString, data);
        QFETCH(QString, typed);
        QFETCH(int, count);

        Fixture f;
        QVERIFY(f.show(data));
        typeOver(f.d.Text1, typed);
        QCOMPARE(f.d.Option1[0]->text(),
                 QStringLiteral("Constant (Use {NL} for NewLine) - [ %1 character]").arg(count));
    }

    void fieldList_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("database"); // in place of the sample's, when given
        QTest::addColumn<QString>("fields");

        QTest::newRow("apostrophe in the mode") << "O'NEIL" << ""
            << "COMPNAME,COMPTAXID,DOCDATE,DOCNO,QUOTED,RECCOUNT,SEQNO,TOTALAMT";
        QTest::newRow("quote that would widen the query") << "x') OR ('1'='1" << ""
            << "COMPNAME,COMPTAXID,DOCDATE,DOCNO,RECCOUNT,SEQNO,TOTALAMT";
        QTest::newRow("database missing") << "BANK" << "/nonexistent/ZN7Desktop.dat" << "";
        // This test's own program is a file that is no database.
        QTest::newRow("not a database") << "BANK" << QCoreApplication::applicationFilePath() << "";
    }

    // Whatever the list holds, OK writes its first field and a constant works.
    void fieldList()
    {
        QFETCH(QString, mode);
        QFETCH(QString, database);
        QFETCH(QString, fields);

        Fixture f;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("write"));
            db.setDatabaseName(f.installation.designDatabase());
            QVERIFY(db.open() && QSqlQuery(db).exec(QStringLiteral(
                "INSERT INTO ZN7TTextExportField VALUES ('O''NEIL', '{QUOTED}', 'q', '', '')")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("write"));
        if (!database.isEmpty())
            f.context.useDesignDatabase(database);

        QVERIFY(f.show(QString(), mode));
        QStringList listed;
        for (int i = 0; i < f.d.Combo1->count(); ++i)
            listed.append(f.d.Combo1->itemText(i));
        QCOMPARE(listed.join(u','), fields);
        QTest::mouseClick(f.d.Command1, Qt::LeftButton);
        QCOMPARE(f.d.MDATA, QStringLiteral("[F]:{%1}:1:L::::0").arg(listed.value(0)));
        QVERIFY(f.show(QString(), mode));
        QTest::mouseClick(f.d.Option1[0], Qt::LeftButton);
        typeOver(f.d.Text1, QStringLiteral("X{NL}"));
        QTest::mouseClick(f.d.Command1, Qt::LeftButton);
        QCOMPARE(f.d.MDATA, QStringLiteral("[C]:X{NL}:1"));
    }

    void refusedCharacters_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("hint");

        QTest::newRow("constant, colon and semicolon typed") << "Text1" << false << "a:b;c" << "abc" << "\";\"";
        QTest::newRow("constant, thai typed") << "Text1" << false << "ยอด ฿" << "ยอด ฿" << "";
        QTest::newRow("constant, line break pasted") << "Text1" << true << "x\ny" << "" << "Line breaks";
        QTest::newRow("fill, colon typed") << "Text3" << false << ":" << "" << "\":\"";
        QTest::newRow("prefix, semicolon typed") << "Text8" << false << ";" << "" << "\";\"";
        QTest::newRow("suffix, outside the code page pasted") << "Text9" << true << "é" << "" << "\"é\"";
    }

    void refusedCharacters()
    {
        QFETCH(QString, box);
        QFETCH(bool, paste);
        QFETCH(QString, input);
        QFETCH(QString, kept);
        QFETCH(QString, hint);

        Fixture f;
        QVERIFY(f.show(QString()));
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
        auto *edit = f.d.findChild<QLineEdit *>(box);
        QApplication::clipboard()->setText(input);
        paste ? edit->paste() : typeOver(edit, input);
        QCOMPARE(edit->text(), kept);
        QCOMPARE(QToolTip::isVisible(), !hint.isEmpty());
        QVERIFY2(QToolTip::text().contains(hint), qPrintable(QToolTip::text()));
    }
};

QTEST_MAIN(TstFrmField)
#include "tst_frmfield.moc"

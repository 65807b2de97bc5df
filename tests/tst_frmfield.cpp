// The field dialog over a copy of the sample design database: what it lists
// for a mode, what it loads from a cell, how it confirms lengths, what OK,
// Cancel and the close box hand back, and what it refuses to take in.

#include "field/frmfield.h"
#include "testsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <QToolTip>

namespace {

const QString kDocNo = QStringLiteral("[F]:{DOCNO}:10:R:0:::0");

QString constantCaption(int count)
{
    return QStringLiteral("Constant (Use {NL} for NewLine) - [ %1 character]").arg(count);
}

QStringList items(const QComboBox *combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out.append(combo->itemText(i));
    return out;
}

// Runs SQL on a database file; false with a warning when a statement fails.
bool execute(const QString &path, const QStringList &statements)
{
    const QString name = QStringLiteral("tst_frmfield_write");
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open();
        for (const QString &statement : statements) {
            QSqlQuery query(db);
            if (ok && !query.exec(statement)) {
                qWarning() << statement << query.lastError().text();
                ok = false;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// Types the text one character at a time, as a keyboard layout would send it
// (QTest::keyClicks knows Latin-1 only).
void type(QWidget *widget, const QString &text)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype size = text.at(i).isHighSurrogate() ? 2 : 1;
        const QString character = text.mid(i, size);
        if (character.at(0).unicode() < 0x80)
            QTest::keyClick(widget, character.at(0).toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, character, Qt::NoModifier);
        i += size;
    }
}

void replaceText(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    type(box, text);
}

// A dialog over the sample installation, prepared as the designer does it.
struct Fixture
{
    Fixture() { context.useDesignDatabase(installation.designDatabase()); }
    void prepare(const QString &data, const QString &mode = QStringLiteral("BANK"))
    {
        dialog.SetFormat(QStringLiteral("Field1"), mode, data);
    }
    [[nodiscard]] bool show(const QString &data)
    {
        prepare(data);
        dialog.show();
        dialog.activateWindow();
        return QTest::qWaitForWindowActive(&dialog);
    }

    SampleInstallation installation;
    TestContext context;
    frmField dialog{context};
};

} // namespace

class TstFrmField final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void emptyCell();
    void loadedDescriptor_data();
    void loadedDescriptor();
    void selectingAFieldLooksItUp();
    void lengthConfirmation_data();
    void lengthConfirmation();
    void okButton_data();
    void okButton();
    void cancelKeepsTheCell_data();
    void cancelKeepsTheCell();
    void enterAndEscapePressNoButton_data();
    void enterAndEscapePressNoButton();
    void counterCaption_data();
    void counterCaption();
    void unreadableDatabase_data();
    void unreadableDatabase();
    void modeIsBound_data();
    void modeIsBound();
    void refusedCharacters_data();
    void refusedCharacters();
    void tabOrder();
};

void TstFrmField::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY2(SampleInstallation().isValid(), "the sample design database was not built");
}

void TstFrmField::emptyCell()
{
    Fixture f;
    frmField &dialog = f.dialog;
    dialog.SetFormat(QStringLiteral("Field3"), QStringLiteral("BANK"), QString());

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Field3"));
    QCOMPARE(dialog.Combo1->currentIndex(), 0);
    QCOMPARE(dialog.Combo1->currentText(), QStringLiteral("BANKCODE"));
    QCOMPARE(dialog.Text6->text(), QStringLiteral("รหัสธนาคารผู้รับ"));
    QCOMPARE(dialog.Text2->text(), QStringLiteral("014"));
    QCOMPARE(dialog.Text5->text(), QStringLiteral("014"));
    QCOMPARE(dialog.Text4->text(), QStringLiteral("1"));
    QCOMPARE(dialog.Combo2->currentText(), QStringLiteral("Left"));
    QVERIFY(dialog.Option1[1]->isChecked());
    QCOMPARE(dialog.MDATA, QString());

    // OK ends the modal display the designer runs.
    QTimer::singleShot(0, &dialog, [&dialog] { QTest::mouseClick(dialog.Command1, Qt::LeftButton); });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(dialog.MDATA, QStringLiteral("[F]:{BANKCODE}:1:L::::0"));
    QVERIFY(f.context.messages.shown.isEmpty());
}

void TstFrmField::loadedDescriptor_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("preview");
    QTest::addColumn<QString>("format");

    QTest::newRow("amount, right, zero fill")
        << "[F]:{PAYAMT}:20:R:0:::0" << "PAYAMT" << "จำนวนเงินโอน" << "00000000000001525050"
        << "[F]:{PAYAMT}:20:R:0:::0";
    QTest::newRow("every component")
        << "[F]:{DOCNO}:12:C:*:<:>:1" << "DOCNO" << "เลขที่เอกสาร" << "*PV69120042*"
        << "[F]:{DOCNO}:12:C:*:<:>:1";
    QTest::newRow("left without fill")
        << "[F]:{DOCNO}:3:L::::0" << "DOCNO" << "เลขที่เอกสาร" << "PV6" << "[F]:{DOCNO}:3:L::::0";
    QTest::newRow("five components")
        << "[F]:{SEQNO}:8:L:_" << "SEQNO" << "ลำดับรายการ" << "000007__" << "[F]:{SEQNO}:8:L:_:::0";
    QTest::newRow("grouped length")
        << "[F]:{SEQNO}:1000:R:0" << "SEQNO" << "ลำดับรายการ" << QString(994, u'0') + "000007"
        << "[F]:{SEQNO}:1,000:R:0:::0";
    QTest::newRow("field of another mode keeps the first")
        << "[F]:{EMPCODE}:5:R:0" << "BANKCODE" << "รหัสธนาคารผู้รับ" << "00014"
        << "[F]:{BANKCODE}:5:R:0:::0";
    QTest::newRow("lower-case tag loads nothing")
        << "[f]:{DOCNO}:5:R:0" << "BANKCODE" << "รหัสธนาคารผู้รับ" << "" << "[F]:{BANKCODE}:1:L::::0";
}

void TstFrmField::loadedDescriptor()
{
    QFETCH(QString, data);
    QFETCH(QString, field);
    QFETCH(QString, name);
    QFETCH(QString, preview);
    QFETCH(QString, format);

    Fixture f;
    frmField &dialog = f.dialog;
    f.prepare(data);

    QCOMPARE(dialog.Combo1->currentText(), field);
    QCOMPARE(dialog.Text6->text(), name);
    QCOMPARE(dialog.Text7->text(), preview);
    QCOMPARE(dialog.GetFormat(), format);
    QCOMPARE(dialog.MDATA, data);
}

// A field the user selects is looked up at once, through the design
// connection as it is at that moment.
void TstFrmField::selectingAFieldLooksItUp()
{
    Fixture f;
    SampleInstallation renamed;
    QVERIFY(execute(renamed.designDatabase(),
                    {QStringLiteral("UPDATE ZN7TTextExportField SET TTxPName = 'renamed' "
                                    "WHERE TTxPField = '{PAYAMT}'")}));
    frmField &dialog = f.dialog;
    f.prepare(QString());

    f.context.useDesignDatabase(renamed.designDatabase());
    dialog.Combo1->setCurrentIndex(dialog.Combo1->findText(QStringLiteral("PAYAMT")));
    QCOMPARE(dialog.Text6->text(), QStringLiteral("renamed"));
    QCOMPARE(dialog.Text2->text(), QStringLiteral("15,250.50"));
    QCOMPARE(dialog.Text5->text(), QStringLiteral("000000001525050"));
    QCOMPARE(dialog.Text7->text(), QStringLiteral("0"));
}

void TstFrmField::lengthConfirmation_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("via");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("preview");

    // The cell starts as DOCNO, 10 long, right aligned, filled with 0; its
    // sample is PV69120042.
    QTest::newRow("zero") << "0" << "Enter" << "1" << "2";
    QTest::newRow("negative") << "-5" << "Enter" << "1" << "2";
    QTest::newRow("not a number") << "abc" << "Enter" << "1" << "2";
    QTest::newRow("beyond 16 bits") << "40000" << "Enter" << "1" << "2";
    QTest::newRow("twelve") << "12" << "Enter" << "12" << "00PV69120042";
    QTest::newRow("thousand grouped") << "1000" << "Enter" << "1,000"
                                      << QString(990, u'0') + "PV69120042";
    QTest::newRow("grouped thousand again") << "1,000" << "Enter" << "1,000"
                                            << QString(990, u'0') + "PV69120042";
    QTest::newRow("keypad enter") << "12" << "keypad" << "12" << "00PV69120042";
    QTest::newRow("OK confirms zero") << "0" << "OK" << "1" << "2";
    QTest::newRow("OK confirms thousand") << "1000" << "OK" << "1,000"
                                          << QString(990, u'0') + "PV69120042";
    QTest::newRow("no Enter keeps the preview") << "12" << "Tab" << "12" << "PV69120042";
}

void TstFrmField::lengthConfirmation()
{
    QFETCH(QString, typed);
    QFETCH(QString, via);
    QFETCH(QString, length);
    QFETCH(QString, preview);

    Fixture f;
    frmField &dialog = f.dialog;
    QVERIFY(f.show(kDocNo));

    replaceText(dialog.Text4, typed);
    if (via == u"Enter")
        QTest::keyClick(dialog.Text4, Qt::Key_Return);
    else if (via == u"keypad")
        QTest::keyClick(dialog.Text4, Qt::Key_Enter, Qt::KeypadModifier);
    else if (via == u"Tab")
        QTest::keyClick(dialog.Text4, Qt::Key_Tab);
    else
        QTest::mouseClick(dialog.Command1, Qt::LeftButton);

    QCOMPARE(dialog.Text4->text(), length);
    QCOMPARE(dialog.Text7->text(), preview);
    if (via == u"OK")
        QCOMPARE(dialog.MDATA, QStringLiteral("[F]:{DOCNO}:%1:R:0:::0").arg(length));
    else
        QVERIFY(dialog.isVisible());
}

void TstFrmField::okButton_data()
{
    QTest::addColumn<QString>("constant");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("result");

    QTest::newRow("empty constant") << "" << true << kDocNo;
    QTest::newRow("spaces only") << "   " << false << "[C]:   :3";
    QTest::newRow("new line markers") << "AB{NL}C" << false << "[C]:AB{NL}C:3";
    QTest::newRow("thai") << "รวม" << false << "[C]:รวม:3";
}

void TstFrmField::okButton()
{
    QFETCH(QString, constant);
    QFETCH(bool, refused);
    QFETCH(QString, result);

    Fixture f;
    frmField &dialog = f.dialog;
    QVERIFY(f.show(kDocNo));
    QTest::mouseClick(dialog.Option1[0], Qt::LeftButton);
    QVERIFY(dialog.Option1[0]->isChecked());
    replaceText(dialog.Text1, constant);
    dialog.Command1->setFocus();
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);

    QCOMPARE(dialog.MDATA, result);
    QCOMPARE(dialog.isVisible(), refused);
    if (refused) {
        QCOMPARE(f.context.messages.shown.size(), 1);
        const MessageRequest &message = f.context.messages.shown.constFirst();
        QCOMPARE(message.text, QStringLiteral("กรุณาระบุ Constant"));
        QCOMPARE(message.icon, QMessageBox::NoIcon);
        QCOMPARE(message.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(message.title, QString());
        QCOMPARE(dialog.focusWidget(), dialog.Text1);
    } else {
        QVERIFY(f.context.messages.shown.isEmpty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
}

void TstFrmField::cancelKeepsTheCell_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<bool>("closeBox");

    QTest::newRow("empty cell, Cancel") << "" << false;
    QTest::newRow("empty cell, close box") << "" << true;
    QTest::newRow("data field, Cancel") << kDocNo << false;
    QTest::newRow("data field, close box") << kDocNo << true;
    QTest::newRow("constant, Cancel") << "[C]:AB{NL}C:3" << false;
}

void TstFrmField::cancelKeepsTheCell()
{
    QFETCH(QString, data);
    QFETCH(bool, closeBox);

    Fixture f;
    frmField &dialog = f.dialog;
    QVERIFY(f.show(data));

    replaceText(dialog.Text4, QStringLiteral("7"));
    QTest::keyClick(dialog.Text4, Qt::Key_Return);
    dialog.Combo1->setCurrentIndex(3);
    QTest::mouseClick(dialog.Option1[0], Qt::LeftButton);
    replaceText(dialog.Text1, QStringLiteral("changed"));
    if (closeBox)
        QVERIFY(dialog.close());
    else
        QTest::mouseClick(dialog.Command2, Qt::LeftButton);

    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.MDATA, data);
}

void TstFrmField::enterAndEscapePressNoButton_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("key");

    QTest::newRow("Esc in the constant box") << "Text1" << int(Qt::Key_Escape);
    QTest::newRow("Enter in the constant box") << "Text1" << int(Qt::Key_Return);
    QTest::newRow("Enter in the length box") << "Text4" << int(Qt::Key_Return);
    QTest::newRow("Enter on OK") << "Command1" << int(Qt::Key_Return);
    QTest::newRow("Esc on Cancel") << "Command2" << int(Qt::Key_Escape);
}

void TstFrmField::enterAndEscapePressNoButton()
{
    QFETCH(QString, target);
    QFETCH(int, key);

    Fixture f;
    frmField &dialog = f.dialog;
    QVERIFY(f.show(QString()));
    auto *widget = dialog.findChild<QWidget *>(target);
    QVERIFY(widget);
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key(key));

    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.MDATA, QString());
    QVERIFY(f.context.messages.shown.isEmpty());
}

void TstFrmField::counterCaption_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("count");

    QTest::newRow("data field, on activation") << kDocNo << "" << "" << 0;
    QTest::newRow("loaded constant") << "[C]:AB{NL}C:3" << "" << "" << 3;
    QTest::newRow("typed constant") << "" << "Option1_0" << "Total{NL}{NL}" << 5;
    QTest::newRow("incomplete marker counts") << "" << "Option1_0" << "A{NL" << 4;
    QTest::newRow("switching alone keeps the caption") << "[C]:ABC:3" << "Option1_1" << "" << 3;
    QTest::newRow("typing under the field option") << "[C]:ABC:3" << "Option1_1" << "D" << 0;
}

void TstFrmField::counterCaption()
{
    QFETCH(QString, data);
    QFETCH(QString, option);
    QFETCH(QString, typed);
    QFETCH(int, count);

    Fixture f;
    frmField &dialog = f.dialog;
    QVERIFY(f.show(data));
    if (!option.isEmpty())
        QTest::mouseClick(dialog.findChild<QRadioButton *>(option), Qt::LeftButton);
    if (!typed.isEmpty()) {
        dialog.Text1->setFocus();
        type(dialog.Text1, typed);
    }

    QCOMPARE(dialog.Option1[0]->text(), constantCaption(count));
}

void TstFrmField::unreadableDatabase_data()
{
    QTest::addColumn<QString>("problem");

    QTest::newRow("missing") << "missing";
    QTest::newRow("not a database") << "garbage";
    QTest::newRow("without the view") << "empty";
}

void TstFrmField::unreadableDatabase()
{
    QFETCH(QString, problem);

    Fixture f;
    const QString path = f.installation.designDatabase();
    QVERIFY(QFile::remove(path));
    if (problem == u"garbage") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("this is no database\n");
    } else if (problem == u"empty") {
        QVERIFY(execute(path, {QStringLiteral("CREATE TABLE other (x TEXT)")}));
    }

    frmField &fieldDialog = f.dialog;
    QVERIFY(f.show(QString()));
    QCOMPARE(fieldDialog.Combo1->count(), 0);
    QCOMPARE(fieldDialog.Combo1->currentIndex(), -1);
    for (const QLineEdit *box : {fieldDialog.Text6, fieldDialog.Text2, fieldDialog.Text5, fieldDialog.Text7})
        QCOMPARE(box->text(), QString());
    QTest::mouseClick(fieldDialog.Command1, Qt::LeftButton);
    QCOMPARE(fieldDialog.MDATA, QStringLiteral("[F]:{}:1:L::::0"));

    frmField constantDialog(f.context);
    constantDialog.SetFormat(QStringLiteral("Field1"), QStringLiteral("BANK"), QString());
    constantDialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&constantDialog));
    QTest::mouseClick(constantDialog.Option1[0], Qt::LeftButton);
    replaceText(constantDialog.Text1, QStringLiteral("X{NL}"));
    QTest::mouseClick(constantDialog.Command1, Qt::LeftButton);
    QCOMPARE(constantDialog.MDATA, QStringLiteral("[C]:X{NL}:1"));
}

void TstFrmField::modeIsBound_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("fields");

    const QStringList common = {"COMPNAME", "COMPTAXID", "DOCDATE", "DOCNO", "RECCOUNT", "SEQNO", "TOTALAMT"};
    QTest::newRow("BANK") << "BANK"
                          << QStringList{"BANKCODE", "BRANCHCODE", "COMPACCNO", "COMPNAME", "COMPTAXID",
                                         "DOCDATE", "DOCNO", "EFFDATE", "FEETYPE", "PAYAMT", "PAYEEACC",
                                         "PAYEEEMAIL", "PAYEENAME", "PAYREF", "RECCOUNT", "SEQNO",
                                         "TOTALAMT"};
    QTest::newRow("apostrophe in the code")
        << "O'NEIL"
        << QStringList{"COMPNAME", "COMPTAXID", "DOCDATE", "DOCNO", "QUOTED", "RECCOUNT", "SEQNO", "TOTALAMT"};
    QTest::newRow("quote that would widen the query") << "x') OR ('1'='1" << common;
    QTest::newRow("codes compare exactly") << "bank" << common;
    QTest::newRow("ALL alone") << "ALL" << common;
}

void TstFrmField::modeIsBound()
{
    QFETCH(QString, mode);
    QFETCH(QStringList, fields);

    Fixture f;
    QVERIFY(execute(f.installation.designDatabase(),
                    {QStringLiteral("INSERT INTO ZN7TTextExportMode VALUES ('O''NEIL', 'quoted')"),
                     QStringLiteral("INSERT INTO ZN7TTextExportField VALUES "
                                    "('O''NEIL', '{QUOTED}', 'quoted field', 'q', 'Q')")}));
    frmField &dialog = f.dialog;
    f.prepare(QString(), mode);

    QCOMPARE(items(dialog.Combo1), fields);
    QCOMPARE(dialog.Combo1->currentText(), fields.constFirst());
}

void TstFrmField::refusedCharacters_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("paste");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("hintNames");

    QTest::newRow("colon and semicolon typed") << "Text1" << false << "a:b;c" << "abc" << ";";
    QTest::newRow("thai typed") << "Text1" << false << "ยอด ฿" << "ยอด ฿" << "";
    QTest::newRow("colon pasted") << "Text1" << true << "x:y" << "" << ":";
    QTest::newRow("line break pasted") << "Text1" << true << "x\ny" << "" << "Line breaks";
    QTest::newRow("outside the code page pasted") << "Text1" << true << "café" << "" << "é";
    QTest::newRow("emoji pasted") << "Text1" << true << "ok😀" << "" << "😀";
    QTest::newRow("code page text pasted") << "Text1" << true << "ราคา €5" << "ราคา €5" << "";
    QTest::newRow("fill colon") << "Text3" << false << ":" << "" << ":";
    QTest::newRow("fill zero") << "Text3" << false << "0" << "0" << "";
    QTest::newRow("prefix semicolon") << "Text8" << false << ";" << "" << ";";
    QTest::newRow("suffix outside the code page") << "Text9" << true << "é" << "" << "é";
    QTest::newRow("length takes anything") << "Text4" << false << "1:2" << "1:2" << "";
}

void TstFrmField::refusedCharacters()
{
    QFETCH(QString, box);
    QFETCH(bool, paste);
    QFETCH(QString, input);
    QFETCH(QString, kept);
    QFETCH(QString, hintNames);

    Fixture f;
    frmField &dialog = f.dialog;
    QVERIFY(f.show(QString()));
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());

    auto *edit = dialog.findChild<QLineEdit *>(box);
    QVERIFY(edit);
    replaceText(edit, QString());
    if (paste) {
        QApplication::clipboard()->setText(input);
        edit->paste();
    } else {
        type(edit, input);
    }

    QCOMPARE(edit->text(), kept);
    if (hintNames.isEmpty()) {
        QVERIFY(!QToolTip::isVisible());
    } else {
        QVERIFY(QToolTip::isVisible());
        QVERIFY2(QToolTip::text().contains(hintNames), qPrintable(QToolTip::text()));
    }
}

void TstFrmField::tabOrder()
{
    Fixture f;
    frmField &dialog = f.dialog;
    QVERIFY(f.show(QString()));

    // The option buttons are one stop, at the selected one.
    QStringList visited;
    for (int i = 0; i < 15; ++i) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        visited.append(focus->objectName());
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(visited, QStringList({"Option1_1", "Command1", "Command2", "Text1", "Text4", "Text3",
                                   "Combo1", "Combo2", "Text2", "Text5", "Text6", "Text7", "Text8",
                                   "Text9", "Check1"}));
    QCOMPARE(QApplication::focusWidget(), dialog.Option1[1]);
}

QTEST_MAIN(TstFrmField)
#include "tst_frmfield.moc"

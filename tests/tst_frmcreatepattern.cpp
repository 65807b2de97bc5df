// The designer window's commands, driven through the seams: message boxes,
// the file dialog and the selection list are answered by the test, the field
// dialog is worked as the user works it.

#include "testsupport.h"

#include "components/grideditor.h"
#include "designer/frmcreatepattern.h"
#include "designer/statusbar.h"
#include "field/frmfield.h"

#include <QtTest>
#include <QtWidgets>

namespace {

const QString kTitle = QStringLiteral("เครื่องมือสร้าง Pattern File [ Mode ");
const QString kBank = QStringLiteral("โอนเงินผ่านธนาคาร (Bank Transfer)");
const QString kSaveQuestion = QStringLiteral("Save your Data ?");
const QString kSaved = QStringLiteral("บันทึกข้อมูลเสร็จเรียบร้อย");

// The window over a copy of the sample installation.
struct Fixture
{
    Fixture() { context.useDesignDatabase(install.designDatabase()); }
    QString path(const QString &name) const { return install.filePath(name); }

    SampleInstallation install;
    TestContext context;
    frmCreatePattern window{context};
};

} // namespace

class TestFrmCreatePattern : public QObject
{
    Q_OBJECT

    std::unique_ptr<Fixture> f;

    // A new BANK pattern whose first row holds one cell.
    void newPattern(const QString &row1Cell)
    {
        f->context.data.pickValue = QStringLiteral("BANK");
        f->window.mnuNew_Click();
        f->context.data.pickValue.clear();
        f->window.GridEditor1->AddRow();
        f->window.GridEditor1->SetCellText(1, 11, row1Cell);
    }

    // Presses F2 in the grid; `act` works the field dialog if one opens. The
    // dialog's caption, "" when none opened.
    QString pressF2(const std::function<void(frmField *)> &act)
    {
        QObject guard;   // stops the polling once the key is handled
        QString caption;
        std::function<void()> poll = [&] {
            if (auto *dialog = qobject_cast<frmField *>(QApplication::activeModalWidget())) {
                caption = dialog->windowTitle();
                act(dialog);
            } else {
                QTimer::singleShot(10, &guard, poll);
            }
        };
        QTimer::singleShot(10, &guard, poll);
        QTest::keyClick(f->window.GridEditor1->view(), Qt::Key_F2);
        return caption;
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init()
    {
        f = std::make_unique<Fixture>();
        QVERIFY(f->install.isValid());
        f->window.show();
    }
    void cleanup() { f.reset(); }

    // "Save your Data ?" before New, Exit and the close box: the pattern goes
    // only once the answer is No or the save completed.
    void patternIsDroppedOnlyWhenSafe_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QString>("saveAs");   // "": the dialog cancelled
        QTest::addColumn<QString>("told");     // the last message begins so; %1: the target
        QTest::addColumn<bool>("dropped");
        for (const char *command : {"New", "Exit", "close box"}) {
            QTest::addRow("%s, No", command) << command << QMessageBox::No << "" << kSaveQuestion << true;
            QTest::addRow("%s, saved", command) << command << QMessageBox::Yes << "saved.PAT" << kSaved << true;
            QTest::addRow("%s, cancelled", command) << command << QMessageBox::Yes << "" << kSaveQuestion << false;
            QTest::addRow("%s, write failed", command) << command << QMessageBox::Yes << "missing/saved.PAT"
                                                       << "ไม่สามารถบันทึกไฟล์ %1 ได้" << false;
        }
    }
    void patternIsDroppedOnlyWhenSafe()
    {
        QFETCH(QString, command);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QString, saveAs);
        QFETCH(QString, told);
        QFETCH(bool, dropped);
        newPattern(QStringLiteral("[C]:A:1"));
        f->context.messages.answers.enqueue(answer);
        f->context.files.answers.enqueue(saveAs.isEmpty() ? QString() : f->path(saveAs));
        // A New that goes on finds the mode list closed without a choice.
        if (command == u"New")
            f->window.mnuNew_Click();
        else if (command == u"Exit")
            f->window.mnuExit_Click();
        else
            f->window.close();

        QCOMPARE(f->context.messages.shown.constFirst().text, kSaveQuestion);
        QCOMPARE(f->context.messages.shown.constFirst().defaultButton, QMessageBox::Yes);
        QCOMPARE(f->context.messages.shown.size(), told == kSaveQuestion ? 1 : 2);
        told.replace(QLatin1String("%1"), QDir::toNativeSeparators(f->path(saveAs)));
        QVERIFY2(f->context.messages.texts().constLast().startsWith(told), qPrintable(f->context.messages.texts().constLast()));
        if (told == kSaved)
            QCOMPARE(readBytes(f->path(saveAs)), QByteArray("[T];BANK;\r\n[D];[C]:A\r\n"));
        const bool gone = command == u"New" ? f->window.GridEditor1->RowCount() == 0 : !f->window.isVisible();
        QCOMPARE(gone, dropped);
        if (!dropped)   // nor has it taken the name it could not be saved under
            QCOMPARE(f->window.FileName, QStringLiteral("Untitled.PAT"));
    }

    // Open over a BANK pattern. A file without a mode line, or one that cannot
    // be read, leaves mode and grid as they were and tells why.
    void open_data()
    {
        QTest::addColumn<QByteArray>("bytes");   // empty: a folder in the file's place, unreadable by root too
        QTest::addColumn<QString>("told");       // the message shown begins so; %1: the file
        QTest::addColumn<QString>("fileName");   // afterwards; %1: the file
        QTest::addColumn<QString>("modeName");
        QTest::addColumn<QString>("row1");       // row 1's type, cells 11 and 12
        QTest::newRow("loaded") << QByteArray("[T];PAYROLL;\r\n[G];[F]:{PAYAMT}:1,000:R:0:::0;[C]:AB\r\n[D];[C]:X\r\n")
            << "" << "%1" << "เงินเดือนพนักงาน (Payroll)" << "1 [F]:{PAYAMT}:1,000:R:0:::0 [C]:AB:2";
        QTest::newRow("no mode line") << QByteArray("[t];TAX;\r\n[H];[C]:A\r\n")
            << "รูปแบบไฟล์  PATTERN ไม่ถูกต้อง กรุณาตรวจสอบข้อมูลให้ถูกต้อง" << "" << kBank << "-1 [C]:KEEP:4 ";
        QTest::newRow("unreadable") << QByteArray() << "ไม่สามารถอ่านไฟล์ %1 ได้" << "Untitled.PAT" << kBank
                                    << "-1 [C]:KEEP:4 ";
    }
    void open()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, told);
        QFETCH(QString, fileName);
        QFETCH(QString, modeName);
        QFETCH(QString, row1);
        newPattern(QStringLiteral("[C]:KEEP:4"));
        const QString file = f->path(QStringLiteral("pay.PAT"));
        QVERIFY(bytes.isEmpty() ? QDir().mkdir(file) : writeBytes(file, bytes));
        f->context.files.answers.enqueue(file);
        f->window.mnuOPen_Click();

        QVERIFY(!f->context.files.calls.constFirst().saveMode);
        QCOMPARE(f->context.files.calls.constFirst().filter, QStringLiteral("Pattern File (*.PAT)|*.PAT"));
        QCOMPARE(f->context.messages.shown.size(), told.isEmpty() ? 0 : 1);
        told.replace(QLatin1String("%1"), QDir::toNativeSeparators(file));
        QCOMPARE(f->context.messages.texts().value(0).left(told.size()), told);
        QCOMPARE(f->window.FileName, fileName.replace(QLatin1String("%1"), file));
        QCOMPARE(f->window.windowTitle(), kTitle + modeName + QStringLiteral(" ] - ") + fileName);
        const GridEditor *grid = f->window.GridEditor1;
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(grid->CellListIndex(1, 1)).arg(grid->CellText(1, 11), grid->CellText(1, 12)),
                 row1);
        // Loaded: the lengths of the last row, where the cursor ends.
        if (told.isEmpty())
            QCOMPARE(f->window.sbStatusBar->panelText(), QStringLiteral("Total Length = 1 Colume Length = 0"));
    }

    // Save without a name runs Save As; Save As onto an existing file asks,
    // and answered No keeps the name, so a later Save cannot overwrite the
    // refused file; a failed save keeps the file it would have replaced.
    void saveAndSaveAs()
    {
        newPattern(QStringLiteral("[C]:A:1"));
        f->window.FileName.clear();
        const QByteArray old("[T];TAX;\r\n[H];[C]:OLD\r\n");
        QVERIFY(writeBytes(f->path(QStringLiteral("existing.PAT")), old));
        f->context.files.answers.enqueue(f->path(QStringLiteral("named.PAT")));
        QVERIFY(f->window.mnuSave_Click());
        QVERIFY(f->context.files.calls.constFirst().saveMode);
        QCOMPARE(f->context.messages.texts(), QStringList{kSaved});
        QCOMPARE(f->window.FileName, f->path(QStringLiteral("named.PAT")));
        QVERIFY(f->window.mnuSave->isEnabled());

        f->context.messages.answers.enqueue(QMessageBox::No);
        f->context.files.answers.enqueue(f->path(QStringLiteral("existing.PAT")));
        QVERIFY(!f->window.mnuSaveAs_Click());
        QCOMPARE(f->context.files.calls.constLast().initialFile, f->path(QStringLiteral("named.PAT")));
        QCOMPARE(f->context.messages.texts(), (QStringList{kSaved, QStringLiteral("บันทึกทับไฟล์เดิมหรือไม่")}));
        QCOMPARE(f->context.messages.shown.constLast().defaultButton, QMessageBox::No);
        QCOMPARE(f->window.FileName, f->path(QStringLiteral("named.PAT")));
        f->window.GridEditor1->SetCellText(1, 11, QStringLiteral("[C]:Z:1"));
        QVERIFY(f->window.mnuSave_Click());   // no dialog this time
        QCOMPARE(f->context.files.calls.size(), 2);
        QCOMPARE(readBytes(f->path(QStringLiteral("existing.PAT"))), old);
        QCOMPARE(readBytes(f->path(QStringLiteral("named.PAT"))), QByteArray("[T];BANK;\r\n[D];[C]:Z\r\n"));

        f->context.messages.answers.enqueue(QMessageBox::Yes);
        f->context.files.answers.enqueue(f->path(QStringLiteral("existing.PAT")));
        QVERIFY(f->window.mnuSaveAs_Click());
        QCOMPARE(readBytes(f->path(QStringLiteral("existing.PAT"))), QByteArray("[T];BANK;\r\n[D];[C]:Z\r\n"));
        QCOMPARE(f->window.FileName, f->path(QStringLiteral("existing.PAT")));

        // A save that fails says so and leaves the former file whole.
        f->window.GridEditor1->SetCellText(1, 12, QStringLiteral("[C]:\u4e2d:1"));   // not in the code page
        QVERIFY(!f->window.mnuSave_Click());
        QVERIFY(f->context.messages.texts().constLast().startsWith(
            QStringLiteral("ไม่สามารถบันทึกไฟล์ ") + QDir::toNativeSeparators(f->path(QStringLiteral("existing.PAT")))));
        QCOMPARE(readBytes(f->path(QStringLiteral("existing.PAT"))), QByteArray("[T];BANK;\r\n[D];[C]:Z\r\n"));
        QCOMPARE(QDir(f->install.path()).entryList(QDir::Files).size(), 3);   // no temporary file left
    }

    // The status bar as the cursor moves to row 2: the lengths of that row's
    // field cells in all and up to the cursor's column.
    void lengths_data()
    {
        QTest::addColumn<QStringList>("cells");   // "col=text"
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("expected");
        const QStringList gaps{"11=[F]:{A}:10:L::::0", "30=[C]:ABCDE:5", "110=[F]:{B}:20:R:0:::0"};
        QTest::newRow("cursor between gaps") << gaps << 30 << "Total Length = 35 Colume Length = 15";
        QTest::newRow("constant's stored count; cells without a number add nothing")
            << QStringList{"11=[C]:AB{NL}C:3", "12=[C]", "13=free text", "14=[F]:{A}:x:L", "15=[F]:{A}:4:L"} << 15
            << "Total Length = 7 Colume Length = 7";
        QTest::newRow("grouped thousands") << QStringList{"11=[F]:{A}:1,000:L::::0", "12=[F]:{B}:500:L::::0"} << 11
                                           << "Total Length = 1,500 Colume Length = 1,000";
        QTest::newRow("negative total shows as zero")
            << QStringList{"11=[F]:{A}:-5:L::::0", "12=[F]:{B}:2:L::::0"} << 11 << "Total Length = 0 Colume Length = -5";
        QTest::newRow("cursor on the type column") << gaps << 1 << "Total Length = 35 Colume Length = 0";
    }
    void lengths()
    {
        QFETCH(QStringList, cells);
        QFETCH(int, col);
        QFETCH(QString, expected);
        newPattern(QStringLiteral("[C]:OTHER ROW:9"));   // never counts
        GridEditor *grid = f->window.GridEditor1;
        grid->AddRow();
        grid->setCurrentCell(1, 11);
        for (const QString &cell : cells)
            grid->SetCellText(2, cell.section(u'=', 0, 0).toInt(), cell.section(u'=', 1));
        grid->setCurrentCell(2, col);
        QCOMPARE(f->window.sbStatusBar->panelText(), expected);
    }

    // Insert Column on row 1 and Remove Column on row 2, each row holding 1 to
    // 100: each changes its own row only.
    void insertAndRemoveColumn_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("inserted");   // cells 11 12 13 | 109 110; "-": empty
        QTest::addColumn<QString>("removed");
        QTest::newRow("first field") << 11 << "- 1 2 | 98 99" << "2 3 4 | 100 -";
        QTest::newRow("one before the last") << 109 << "1 2 3 | - 99" << "1 2 3 | 100 -";
        QTest::newRow("last field: nothing moves") << 110 << "1 2 3 | 99 100" << "1 2 3 | 99 100";
        QTest::newRow("type column: nothing moves") << 1 << "1 2 3 | 99 100" << "1 2 3 | 99 100";
    }
    void insertAndRemoveColumn()
    {
        QFETCH(int, col);
        QFETCH(QString, inserted);
        QFETCH(QString, removed);
        newPattern(QString());
        GridEditor *grid = f->window.GridEditor1;
        grid->AddRow();
        for (int row = 1; row <= 2; ++row)
            for (int i = 1; i <= 100; ++i)
                grid->SetCellText(row, 10 + i, QString::number(i));
        grid->setCurrentCell(1, col);
        f->window.mnuInsert_Click();
        grid->setCurrentCell(2, col);
        f->window.mnuRemove_Click();
        const auto row = [grid](int r) {
            QStringList cells;
            for (const int c : {11, 12, 13, 0, 109, 110})
                cells << (c == 0 ? QStringLiteral("|") : grid->CellText(r, c).isEmpty() ? QStringLiteral("-") : grid->CellText(r, c));
            return cells.join(u' ');
        };
        QCOMPARE(row(1), inserted);
        QCOMPARE(row(2), removed);
    }

    // One edit, end to end: New asks for the mode, F2 on the last field cell
    // opens the field dialog, its OK gives the cell text and the lengths. F2
    // on the type column opens no field dialog.
    void newThenEditThroughFieldDialog()
    {
        f->context.data.pickValue = QStringLiteral("PAYROLL");
        f->window.mnuNew_Click();
        QVERIFY(f->context.messages.shown.isEmpty());   // nothing to save yet
        QCOMPARE(f->context.data.requests.size(), 1);
        QCOMPARE(f->context.data.requests.constFirst().rows.size(), 4);   // every mode but ALL
        QCOMPARE(f->window.PMODE, QStringLiteral("PAYROLL"));
        QCOMPARE(f->window.windowTitle(), kTitle + QStringLiteral("เงินเดือนพนักงาน (Payroll) ] - Untitled.PAT"));
        QVERIFY(!f->window.mnuSave->isEnabled() && f->window.mnuSaveAs->isEnabled());

        GridEditor *grid = f->window.GridEditor1;
        grid->AddRow();
        grid->setCurrentCell(1, 1);
        QCOMPARE(pressF2([](frmField *dialog) { dialog->Command2->click(); }), QString());
        grid->setCurrentCell(1, 110);
        const QString caption = pressF2([](frmField *dialog) {
            dialog->Combo1->setCurrentText(QStringLiteral("EMPCODE"));
            dialog->Text4->setText(QStringLiteral("15"));
            dialog->Command1->click();
        });
        QCOMPARE(caption, QStringLiteral("Field100"));
        QCOMPARE(grid->CellText(1, 110), QStringLiteral("[F]:{EMPCODE}:15:L::::0"));
        QCOMPARE(f->window.sbStatusBar->panelText(), QStringLiteral("Total Length = 15 Colume Length = 15"));
    }
};

QTEST_MAIN(TestFrmCreatePattern)
#include "tst_frmcreatepattern.moc"

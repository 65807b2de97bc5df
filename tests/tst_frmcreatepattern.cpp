// The designer window's commands, driven through the seams: questions,
// notices, the file chooser and the mode list are answered by the test, the
// field dialog is worked as the user works it.

#include "testsupport.h"

#include "components/gui/dialogprompts.h"
#include "designer/gui/exportwindow.h"
#include "designer/gui/previewpanel.h"
#include "designer/recoverykeeper.h"
#include "field/gui/frmfield.h"

#include <QtSql>
#include <QtTest>
#include <QtWidgets>

namespace {

const QString kTitle = QStringLiteral("เครื่องมือสร้าง Pattern File [ Mode ");
const QString kSaveQuestion = QStringLiteral("Save your Data ?");
const QString kSaved = QStringLiteral("บันทึกข้อมูลเสร็จเรียบร้อย");

} // namespace

class TestFrmCreatePattern : public QObject
{
    Q_OBJECT

    std::optional<DesignerFixture> f;

    QTableView *view() const { return child<QTableView>(f->window, "gridView"); }
    QUndoStack *history() const { return child<GridEditor>(f->window, "GridEditor1")->history(); }
    // The recovery copies of this test program's designers.
    static QStringList copies() { return QDir(RecoveryKeeper::defaultFolder()).entryList({QStringLiteral("*.recovery")}); }

    // A new BANK pattern whose first row holds one cell.
    void newPattern(const QString &row1Cell)
    {
        f->prompts.mode = QStringLiteral("BANK");
        f->trigger("mnuNew");
        f->prompts.mode.clear();
        f->grid().AddRow();
        f->grid().SetCellText(1, 11, row1Cell);
    }

    // Presses F2 in the grid; `act` works the field dialog if one opens. The
    // dialog's caption, "" when none opened.
    QString pressF2(const std::function<void(frmField *)> &act)
    {
        QString caption;
        onModal<frmField>([this] { QTest::keyClick(view(), Qt::Key_F2); }, [&](frmField *dialog) {
            caption = dialog->windowTitle();
            act(dialog);
        });
        return caption;
    }

    // Picks the field, types the length, Enter, then OK.
    static void fillField(frmField *dialog, const QString &field, const QString &length)
    {
        child<QComboBox>(*dialog, "Combo1")->setCurrentText(field);
        QLineEdit *box = child<QLineEdit>(*dialog, "Text4");
        box->setText(length);
        QTest::keyClick(box, Qt::Key_Return);
        child<QPushButton>(*dialog, "Command1")->click();
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init() { QVERIFY(f.emplace().install.isValid()); }

    // "Save your Data ?" before New, Exit and the close box: the pattern goes
    // only once the answer is No or the save completed. Only a button may
    // answer it: Esc would otherwise drop the work.
    void patternIsDroppedOnlyWhenSafe_data()
    {
        QTest::addColumn<QString>("command"); QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("saveAs");   // "": the dialog cancelled
        QTest::addColumn<QString>("told");     // the last notice begins so; %1: the target
        QTest::addColumn<bool>("dropped");
        // After a rejected Open the file name is "", yet the edits are there.
        QTest::addColumn<bool>("rejected");
        for (const char *command : {"New", "Exit", "close box"}) {
            QTest::addRow("%s, No", command) << command << false << "" << "" << true << false;
            QTest::addRow("%s, saved", command) << command << true << "saved.PAT" << kSaved << true << false;
            QTest::addRow("%s, cancelled", command) << command << true << "" << "" << false << false;
            QTest::addRow("%s, write failed", command) << command << true << "missing/saved.PAT"
                                                       << "ไม่สามารถบันทึกไฟล์ %1 ได้" << false << false;
            QTest::addRow("%s after a rejected Open, No", command) << command << false << "" << "" << true << true;
            QTest::addRow("%s after a rejected Open, cancelled", command) << command << true << "" << "" << false << true;
        }
    }
    void patternIsDroppedOnlyWhenSafe()
    {
        QFETCH(QString, command); QFETCH(bool, yes); QFETCH(QString, saveAs); QFETCH(QString, told); QFETCH(bool, dropped);
        QFETCH(bool, rejected);
        newPattern(QStringLiteral("[C]:A:1"));
        if (rejected) {
            f->prompts.answers.enqueue(false);   // Open: Save your Data ? No
            f->open(QStringLiteral("none.txt"), "text");
            QCOMPARE(f->window.FileName, QString());
            f->prompts.questions.clear(), f->prompts.told.clear(), f->prompts.fileCalls.clear();
        }
        f->prompts.answers.enqueue(yes);
        f->prompts.files.enqueue(saveAs.isEmpty() ? QString() : f->path(saveAs));
        // A New that goes on finds the mode list closed without a choice.
        if (command == u"New")
            f->trigger("mnuNew");
        else if (command == u"Exit")
            f->trigger("mnuExit");
        else
            f->window.close();

        const QList<YesNoQuestion> &asked = f->prompts.questions;
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].text, kSaveQuestion);
        QVERIFY(asked[0].critical && asked[0].yesIsDefault && !asked[0].escapeAnswersNo);
        told.replace(QLatin1String("%1"), QDir::toNativeSeparators(f->path(saveAs)));
        QCOMPARE(f->prompts.told.value(0).left(told.size()), told);
        if (told == kSaved)
            QCOMPARE(readBytes(f->path(saveAs)), QByteArray("[T];BANK;\r\n[D];[C]:A\r\n"));
        const bool gone = command == u"New" ? f->grid().RowCount() == 0 : !f->window.isVisible();
        QCOMPARE(gone, dropped);
        if (!dropped)   // nor has it taken the name it could not be saved under
            QCOMPARE(f->window.FileName, rejected ? QString() : QStringLiteral("Untitled.PAT"));
    }

    // Open, Recent Files and a file given while a pattern is open ask "Save
    // your Data ?" when there are changes not saved (an edit undone is none),
    // before a file is chosen; Yes runs Save As, and Open goes on only once
    // that saved. The recovery copy goes only after the answer.
    void openAsksAboutUnsavedWork_data()
    {
        QTest::addColumn<QString>("command"); QTest::addColumn<QString>("changes");
        QTest::addColumn<QString>("answer");   // "No", "saved", "cancelled": Save As's dialog
        QTest::addColumn<bool>("opened");
        QTest::addColumn<bool>("copy");       // the recovery copy is there before, and is checked after
        QTest::newRow("Open, no changes: no question") << "Open" << "" << "" << true << false;
        QTest::newRow("Open, an edit undone: no question") << "Open" << "undone" << "" << true << false;
        QTest::newRow("Open, No") << "Open" << "edit" << "No" << true << true;
        QTest::newRow("Open, Yes, saved") << "Open" << "edit" << "saved" << true << false;
        QTest::newRow("Open, Yes, Save As cancelled") << "Open" << "edit" << "cancelled" << false << true;
        QTest::newRow("Recent Files, No") << "Recent" << "edit" << "No" << true << false;
        QTest::newRow("Recent Files, Yes, cancelled") << "Recent" << "edit" << "cancelled" << false << false;
        QTest::newRow("file given, No") << "given" << "edit" << "No" << true << false;
        QTest::newRow("file given, Yes, cancelled") << "given" << "edit" << "cancelled" << false << false;
    }
    void openAsksAboutUnsavedWork()
    {
        QFETCH(QString, command); QFETCH(QString, changes); QFETCH(QString, answer); QFETCH(bool, opened); QFETCH(bool, copy);
        const QString other = f->open("b.PAT", "[T];TAX;\r\n[G];[C]:B\r\n");
        const QString file = f->open("a.PAT", "[T];BANK;\r\n[H];[C]:A;[C]:Z\r\n");
        const QStringList copiesBefore = copies();
        f->grid().setCurrentCell(1, 11);
        if (!changes.isEmpty())
            QTest::keyClick(view(), Qt::Key_Delete);
        if (changes == u"undone")
            f->trigger("mnuUndo");
        if (copy)
            QTRY_COMPARE_WITH_TIMEOUT(copies().size(), copiesBefore.size() + 1, 10000);
        f->prompts.fileCalls.clear();
        if (!answer.isEmpty())
            f->prompts.answers.enqueue(answer != u"No");
        if (answer == u"saved")
            f->prompts.files.enqueue(f->path("saved.PAT"));
        else if (answer == u"cancelled")
            f->prompts.files.enqueue(QString());
        if (command == u"Open") {
            f->prompts.files.enqueue(other);
            f->trigger("mnuOPen");
        } else if (command == u"Recent") {
            Q_EMIT child<QMenu>(f->window, "mnuFile")->aboutToShow();
            child<QAction>(f->window, "mnuRecent2")->trigger();   // b.PAT, opened before a.PAT
        } else {
            f->window.openPath(other);
        }

        QCOMPARE(f->prompts.questions.size(), int(!answer.isEmpty()));
        if (!answer.isEmpty())
            QCOMPARE(f->prompts.questions[0].text, kSaveQuestion);
        // Save As's dialog first when Yes, the Open dialog only once it is safe to open.
        QList<bool> dialogs;
        for (const ScriptedPrompts::FileCall &call : std::as_const(f->prompts.fileCalls))
            dialogs << call.save;
        QCOMPARE(dialogs, (answer == u"No" || answer.isEmpty() ? QList<bool>() : QList<bool>{true})
                              + (command == u"Open" && opened ? QList<bool>{false} : QList<bool>()));
        QCOMPARE(f->window.FileName, opened ? other : file);
        QCOMPARE(f->grid().CellText(1, 11), opened ? QStringLiteral("[C]:B:1") : QString());
        if (answer == u"saved")
            QCOMPARE(readBytes(f->path("saved.PAT")), QByteArray("[T];BANK;\r\n[H];[C]:Z\r\n"));
        if (copy)
            QCOMPARE(copies().size(), copiesBefore.size() + int(!opened));
    }

    // The program's own question box: where No would drop work, Esc and the
    // close box do nothing and only a button answers; elsewhere Esc is No.
    void escapeAtQuestions_data()
    {
        QTest::addColumn<bool>("escapeAnswersNo"); QTest::addColumn<bool>("answer");
        QTest::newRow("Save your Data ?: Esc ignored, then Yes") << false << true;
        QTest::newRow("overwrite question: Esc is No") << true << false;
    }
    void escapeAtQuestions()
    {
        QFETCH(bool, escapeAnswersNo);
        DialogPrompts prompts;
        bool answer = false;
        bool openAfterEscape = false;
        onModal<QMessageBox>([&] { answer = prompts.ask({kSaveQuestion, true, true, escapeAnswersNo}); },
                             [&](QMessageBox *box) {
                                 QTest::keyClick(box, Qt::Key_Escape);
                                 box->close();
                                 openAfterEscape = box->isVisible();
                                 if (openAfterEscape)
                                     box->button(QMessageBox::Yes)->click();
                             });
        QCOMPARE(openAfterEscape, !escapeAnswersNo);
        QTEST(answer, "answer");
    }

    // Insert Filler asks a length and a character; the character box
    // refuses what a constant cannot hold, as the field dialog does, and
    // an emptied box cannot be confirmed.
    void fillerDialog_data()
    {
        QTest::addColumn<QString>("typed"); QTest::addColumn<QString>("character");   // "": cancelled
        QTest::newRow("Thai letter") << "ก" << "ก";
        QTest::newRow("colon refused") << ":" << " ";
        QTest::newRow("not in windows-874 refused") << "Ж" << " ";
        QTest::newRow("emptied") << "\b" << "";
    }
    void fillerDialog()
    {
        QFETCH(QString, typed); QFETCH(QString, character);
        DialogPrompts prompts;
        std::optional<Filler> answer;
        QVERIFY(onModal<QDialog>([&] { answer = prompts.askFiller({3, u' '}); }, [&](QDialog *dialog) {
            child<QSpinBox>(*dialog, "fillerLength")->setValue(12);
            auto *box = child<QLineEdit>(*dialog, "fillerCharacter");
            box->selectAll();
            QKeyEvent key(QEvent::KeyPress, typed == u"\b" ? Qt::Key_Backspace : Qt::Key_unknown, Qt::NoModifier, typed);
            QApplication::sendEvent(box, &key);
            QTest::keyClick(dialog, Qt::Key_Return);
            if (dialog->isVisible())
                QTest::keyClick(dialog, Qt::Key_Escape);
        }));
        QCOMPARE(answer ? QStringLiteral("%1 %2").arg(answer->length).arg(answer->character) : QString(),
                 character.isEmpty() ? QString() : QStringLiteral("12 ") + character);
    }

    // The field palette lists the mode's fields; Enter or a double-click
    // puts the one chosen into the current cell and moves on, a drop puts it
    // where it lands: one step each, a number right aligned with zeros.
    // Nothing goes into the Type column, and a field no descriptor can
    // hold is not offered.
    void paletteToCell_data()
    {
        QTest::addColumn<QString>("filter"); QTest::addColumn<QString>("how"); QTest::addColumn<QPoint>("cell");
        QTest::addColumn<QString>("text"); QTest::addColumn<QPoint>("cursor"); QTest::addColumn<int>("steps");
        QTest::newRow("field, Enter in the filter") << "payeename" << "filter" << QPoint(12, 1)
                                                    << "[F]:{PAYEENAME}:13:L: :::0" << QPoint(13, 1) << 1;
        QTest::newRow("number, double-click") << "RECCOUNT" << "double-click" << QPoint(12, 2) << "[F]:{RECCOUNT}:5:R:0:::0"
                                              << QPoint(13, 2) << 1;
        QTest::newRow("Thai name, Enter in the list") << "เงินโอน" << "list" << QPoint(12, 1) << "[F]:{PAYAMT}:15:R:0:::0"
                                                      << QPoint(13, 1) << 1;
        QTest::newRow("dropped over a filled cell") << "bankcode" << "drop" << QPoint(11, 1) << "[F]:{BANKCODE}:3:R:0:::0"
                                                    << QPoint(11, 1) << 1;
        QTest::newRow("dropped on the Type column") << "bankcode" << "drop" << QPoint(1, 1) << "LINE" << QPoint(11, 2) << 0;
        QTest::newRow("Enter on the Type column") << "bankcode" << "filter" << QPoint(1, 1) << "LINE" << QPoint(1, 1) << 0;
        QTest::newRow("field no descriptor can hold") << "bad" << "filter" << QPoint(12, 1) << "" << QPoint(12, 1) << 0;
    }
    void paletteToCell()
    {
        QFETCH(QString, filter); QFETCH(QString, how); QFETCH(QPoint, cell);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("edit"));
            db.setDatabaseName(f->install.designDatabase());
            QVERIFY(db.open() && QSqlQuery(db).exec("INSERT INTO ZN7TTextExportField VALUES ('BANK', '{BAD;NAME}', 'bad', '1', '1')"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("edit"));
        f->open("p.PAT", "[T];BANK;\r\n[H];[C]:A\r\n[D];[C]:X\r\n");
        QTRY_VERIFY(f->window.findChild<QTableView *>("fieldList"));   // made after the first paint
        auto *list = child<QTableView>(f->window, "fieldList");
        auto *box = child<QLineEdit>(f->window, "fieldFilter");
        box->setText(filter);
        f->grid().setCurrentCell(how == u"drop" ? 2 : cell.y(), how == u"drop" ? 11 : cell.x());
        const QModelIndex first = list->model()->index(0, 0);
        if (how == u"filter") {
            QTest::keyClick(box, Qt::Key_Return);
        } else if (how == u"list") {
            QTest::keyClick(list, Qt::Key_Return);
        } else if (how == u"double-click") {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(first).center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(first).center());
        } else {
            const std::unique_ptr<QMimeData> data(list->model()->mimeData({first}));
            const QModelIndex target = f->grid().index(cell.y() - 1, f->grid().sectionOfColumn(cell.x()));
            view()->scrollTo(target);
            const QPoint at = view()->visualRect(target).center();
            QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, {});
            QDropEvent drop(at, Qt::CopyAction, data.get(), Qt::LeftButton, {});
            QApplication::sendEvent(view()->viewport(), &enter);
            QApplication::sendEvent(view()->viewport(), &drop);
        }
        QTEST(f->grid().CellText(cell.y(), cell.x()), "text");
        QTEST(QPoint(f->grid().Col(), f->grid().Row()), "cursor");
        QTEST(child<GridEditor>(f->window, "GridEditor1")->history()->count(), "steps");
    }

    // Readable Cells shows what a cell writes, to the eye and to screen
    // readers alike; the clipboard keeps the descriptors.
    void readableCells()
    {
        f->open("p.PAT", "[T];BANK;\r\n[H];[C]:H;[F]:{PAYAMT}:15:R:0:::0;[C]:A B{NL}\r\n");
        f->trigger("mnuReadable");
        QAccessibleInterface *table = QAccessible::queryAccessibleInterface(view());
        QStringList shown;
        for (int section = 1; section <= 3; ++section)
            shown << view()->model()->index(0, section).data().toString()
                  << table->tableInterface()->cellAt(0, section)->text(QAccessible::Name);
        QCOMPARE(shown, QStringList({"'H' 1", "'H' 1", "PAYAMT 15 R 0", "PAYAMT 15 R 0", "'A·B↵' 3", "'A·B↵' 3"}));
        child<GridEditor>(f->window, "GridEditor1")->select(1, 1, 11, 13);
        f->trigger("mnuCopy");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("[C]:H:1\t[F]:{PAYAMT}:15:R:0:::0\t[C]:A B{NL}:3\n"));
        f->trigger("mnuReadable");   // remembered: off again for the other tests
    }

    // The views the user chose come back at the next start.
    void viewsRemembered_data()
    {
        QTest::addColumn<QString>("action"); QTest::addColumn<bool>("byDefault");
        QTest::newRow("Fields") << "mnuFields" << true;
        QTest::newRow("Readable Cells") << "mnuReadable" << false;
    }
    void viewsRemembered()
    {
        QFETCH(QString, action); QFETCH(bool, byDefault);
        const QByteArray name = action.toLatin1();
        for (const bool expected : {byDefault, !byDefault, byDefault}) {
            QTRY_VERIFY(f->window.findChild<QTableView *>("fieldList"));   // the palette comes after the first paint
            QCOMPARE(child<QAction>(f->window, name.constData())->isChecked(), expected);
            f->trigger(name.constData());
            f->window.close();
            f.emplace();
        }
    }

    // The line under the ruler, position by position or as text: naturally,
    // a Thai mark shares its letter's cell, so the cells and the ruler count
    // display columns and the note says so.
    void naturalPreview_data()
    {
        QTest::addColumn<int>("mode"); QTest::addColumn<int>("secondCell"); QTest::addColumn<QString>("note");
        QTest::newRow("position by position") << 0 << 11 << "a Thai mark takes a cell of its own";
        QTest::newRow("natural") << 1 << 12 << "the ruler counts display columns";
    }
    void naturalPreview()
    {
        QFETCH(int, mode); QFETCH(int, secondCell); QFETCH(QString, note);
        for (int start = 0; start < 2; ++start) {   // chosen, then as the next start finds it
            f->open("p.PAT", "[T];BANK;\r\n[H];[C]:\xa1\xd4;[C]:X\r\n");   // "กิ", "X"
            QTRY_VERIFY(f->window.findChild<LineView *>("lineView"));   // made after the first paint
            auto *line = child<LineView>(f->window, "lineView");
            auto *combo = child<QComboBox>(f->window, "lineMode");
            if (start == 0) {
                combo->setCurrentIndex(mode);
                Q_EMIT combo->activated(mode);
            }
            QCOMPARE(combo->currentIndex(), mode);
            QVERIFY(child<QLabel>(f->window, "lineModeNote")->accessibleDescription().contains(note));
            const int cell = PositionMetrics::of(line->font()).cell;
            QSignalSpy clicked(line, &LineView::columnClicked);
            for (int y = 0; y < line->height() && clicked.isEmpty(); y += 4)
                QTest::mouseClick(line, Qt::LeftButton, {}, QPoint(4 + cell + cell / 2, y));
            QCOMPARE(clicked.value(0).value(0).toInt(), secondCell);
            f->prompts.answers.enqueue(false);   // Save your Data ? No
            f->window.close();
            f.emplace();
        }
        QTRY_VERIFY(f->window.findChild<QComboBox *>("lineMode"));   // back to the default for the next tests
        child<QComboBox>(f->window, "lineMode")->setCurrentIndex(0);
        Q_EMIT child<QComboBox>(f->window, "lineMode")->activated(0);
    }

    // Open over a BANK pattern takes the file's name, mode, rows and cells,
    // constants with their counts, and shows the last row's lengths. (Files
    // that cannot be read or hold no mode: saveAndSaveAs and tst_faults.)
    void openLoads()
    {
        newPattern(QStringLiteral("[C]:KEEP:4"));
        f->prompts.answers.enqueue(false);   // Save your Data ? No
        const QString file = f->open(QStringLiteral("pay.PAT"), "[T];PAYROLL;\r\n[G];[F]:{PAYAMT}:1,000:R:0:::0;[C]:AB\r\n[D];[C]:X\r\n");
        QVERIFY(!f->prompts.fileCalls.constFirst().save);
        QCOMPARE(f->prompts.told, QStringList());
        QCOMPARE(f->window.FileName, file);
        QCOMPARE(f->window.windowTitle(), kTitle + QStringLiteral("เงินเดือนพนักงาน (Payroll) ] - ") + file);
        QCOMPARE(dump(f->window.PMODE, f->grid()), QStringList({"mode PAYROLL", "row 1 type 1", "  11 [F]:{PAYAMT}:1,000:R:0:::0",
                                                                "  12 [C]:AB:2", "row 2 type 2", "  11 [C]:X:1"}));
        QCOMPARE(f->status(), QStringLiteral("Total Length = 1 Colume Length = 0"));
    }

    // Save without a name runs Save As; Save As onto an existing file asks,
    // and answered No keeps the name, so a later Save cannot overwrite the
    // refused file; a failed save keeps the file it would have replaced.
    void saveAndSaveAs()
    {
        newPattern(QStringLiteral("[C]:A:1"));
        ScriptedPrompts &prompts = f->prompts;
        const QString named = f->path(QStringLiteral("named.PAT")), existing = f->path(QStringLiteral("existing.PAT"));
        // Open of a file that is no pattern says so and leaves the pattern,
        // its mode and its rows, without a name.
        prompts.answers.enqueue(false);   // Save your Data ? No
        f->open(QStringLiteral("none.txt"), "text");
        QCOMPARE(prompts.told, QStringList{"รูปแบบไฟล์  PATTERN ไม่ถูกต้อง กรุณาตรวจสอบข้อมูลให้ถูกต้อง"});
        QCOMPARE(f->window.FileName, QString());
        const QByteArray old("[T];TAX;\r\n[H];[C]:OLD\r\n");
        QVERIFY(writeBytes(existing, old));
        prompts.files.enqueue(named);
        f->trigger("mnuSave");
        QVERIFY(prompts.fileCalls.constLast().save);
        QCOMPARE(prompts.told.constLast(), kSaved);
        QCOMPARE(f->window.FileName, named);
        QVERIFY(child<QAction>(f->window, "mnuSave")->isEnabled());
        QCOMPARE(readBytes(named), QByteArray("[T];BANK;\r\n[D];[C]:A\r\n"));

        prompts.answers.enqueue(false);
        prompts.files.enqueue(existing);
        f->trigger("mnuSaveAs");
        QCOMPARE(prompts.fileCalls.constLast().current, named);
        QCOMPARE(prompts.questions.value(1).text, QStringLiteral("บันทึกทับไฟล์เดิมหรือไม่"));
        QVERIFY(!prompts.questions.value(1).yesIsDefault && prompts.questions.value(1).escapeAnswersNo);
        QCOMPARE(f->window.FileName, named);
        f->grid().SetCellText(1, 11, QStringLiteral("[C]:Z:1"));
        f->trigger("mnuSave");   // no dialog this time
        QCOMPARE(prompts.fileCalls.size(), 3);
        QCOMPARE(readBytes(existing), old);
        QCOMPARE(readBytes(named), QByteArray("[T];BANK;\r\n[D];[C]:Z\r\n"));

        prompts.answers.enqueue(true);
        prompts.files.enqueue(existing);
        f->trigger("mnuSaveAs");
        QCOMPARE(readBytes(existing), QByteArray("[T];BANK;\r\n[D];[C]:Z\r\n"));
        QCOMPARE(f->window.FileName, existing);

        // A save that fails says so and leaves the former file whole.
        f->grid().SetCellText(1, 12, QStringLiteral("[C]:\u4e2d:1"));   // not in the code page
        f->trigger("mnuSave");
        QVERIFY(prompts.told.constLast().startsWith(QStringLiteral("ไม่สามารถบันทึกไฟล์ ") + QDir::toNativeSeparators(existing)));
        QCOMPARE(readBytes(existing), QByteArray("[T];BANK;\r\n[D];[C]:Z\r\n"));
        QCOMPARE(QDir(f->install.path()).entryList(QDir::Files).size(), 4);   // no temporary file left
    }

    // The status bar as the cursor moves to row 2: the lengths of that row's
    // field cells in all and up to the cursor's column.
    void lengths_data()
    {
        QTest::addColumn<QStringList>("cells");   // "col=text"
        QTest::addColumn<int>("col"); QTest::addColumn<QString>("expected");
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
        QFETCH(QStringList, cells); QFETCH(int, col); QFETCH(QString, expected);
        newPattern(QStringLiteral("[C]:OTHER ROW:9"));   // never counts
        f->grid().AddRow();
        f->grid().setCurrentCell(1, 11);
        for (const QString &cell : cells)
            f->grid().SetCellText(2, cell.section(u'=', 0, 0).toInt(), cell.section(u'=', 1));
        f->grid().setCurrentCell(2, col);
        QCOMPARE(f->status(), expected);
        // A screen reader reads the lengths as the panel's name.
        QCOMPARE(QAccessible::queryAccessibleInterface(child<QLabel>(f->window, "textPanel"))->text(QAccessible::Name), expected);
    }

    // One edit, end to end, under each locale: New asks for the mode, F2 on
    // the type column opens no field dialog, F2 on the last field cell opens
    // it, and its OK gives the cell text. The length shows in ASCII digits,
    // grouped only where the code page can store the separator, in the cell
    // and the status bar alike, and the pattern saves.
    void lengthUnderLocale_data()
    {
        QTest::addColumn<QString>("locale"); QTest::addColumn<QString>("shown");
        for (const auto &[locale, shown] : {std::pair{"th_TH", "1,000"}, {"en_US", "1,000"}, {"de_DE", "1.000"}, {"fr_FR", "1000"},
                                            {"ar_EG", "1000"}, {"fa_IR", "1000"}, {"mr_IN", "1,000"}})
            QTest::newRow(locale) << QString(locale) << QString(shown);
    }
    void lengthUnderLocale()
    {
        QFETCH(QString, locale); QFETCH(QString, shown);
        QLocale::setDefault(QLocale(locale));
        const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); });
        f->prompts.mode = QStringLiteral("PAYROLL");
        f->trigger("mnuNew");
        QVERIFY(f->prompts.questions.isEmpty());   // nothing to save yet
        QCOMPARE(f->prompts.modeLists.value(0).size(), 4);   // every mode but ALL
        QCOMPARE(f->window.windowTitle(), kTitle + QStringLiteral("เงินเดือนพนักงาน (Payroll) ] - Untitled.PAT"));
        QVERIFY(!child<QAction>(f->window, "mnuSave")->isEnabled() && child<QAction>(f->window, "mnuSaveAs")->isEnabled());
        f->grid().AddRow();
        f->grid().setCurrentCell(1, 1);
        QCOMPARE(pressF2([](frmField *dialog) { dialog->reject(); }), QString());
        f->grid().setCurrentCell(1, 110);
        const QString caption = pressF2([](frmField *dialog) { fillField(dialog, QStringLiteral("EMPCODE"), QStringLiteral("1000")); });
        QCOMPARE(caption, QStringLiteral("Field100"));
        QCOMPARE(f->grid().CellText(1, 110), QStringLiteral("[F]:{EMPCODE}:%1:L::::0").arg(shown));
        QCOMPARE(f->status(), QStringLiteral("Total Length = %1 Colume Length = %1").arg(shown));
        f->prompts.files.enqueue(f->path(QStringLiteral("p.PAT")));
        f->trigger("mnuSaveAs");
        QCOMPARE(f->prompts.told, QStringList{kSaved});
        QCOMPARE(readBytes(f->path(QStringLiteral("p.PAT"))), "[T];PAYROLL;\r\n[D];[F]:{EMPCODE}:" + shown.toLatin1() + ":L::::0\r\n");
    }

    // Insert Column on row 1 and Remove Column on row 2, each row holding 1 to
    // 100: each changes its own row only, from the cursor's column on.
    void insertAndRemoveColumn_data()
    {
        QTest::addColumn<int>("col");   // cells 11 12 13 | 109 110 after each; "-": empty
        QTest::addColumn<QString>("inserted"); QTest::addColumn<QString>("removed");
        QTest::newRow("first field") << 11 << "- 1 2 | 98 99" << "2 3 4 | 100 -";
        QTest::newRow("one before the last") << 109 << "1 2 3 | - 99" << "1 2 3 | 100 -";
        QTest::newRow("last field: nothing moves") << 110 << "1 2 3 | 99 100" << "1 2 3 | 99 100";
        QTest::newRow("type column: nothing moves") << 1 << "1 2 3 | 99 100" << "1 2 3 | 99 100";
    }
    void insertAndRemoveColumn()
    {
        QFETCH(int, col);
        newPattern(QString());
        GridTableModel &grid = f->grid();
        grid.AddRow();
        for (int cell = 0; cell < 200; ++cell)
            grid.SetCellText(1 + cell / 100, 11 + cell % 100, QString::number(1 + cell % 100));
        grid.setCurrentCell(1, col);
        f->trigger("mnuInsert");
        grid.setCurrentCell(2, col);
        f->trigger("mnuRemove");
        const auto row = [&grid](int r) {
            QStringList cells;
            for (const int c : {11, 12, 13, 0, 109, 110})
                cells << (c == 0 ? QStringLiteral("|") : grid.CellText(r, c).isEmpty() ? QStringLiteral("-") : grid.CellText(r, c));
            return cells.join(u' ');
        };
        QTEST(row(1), "inserted");
        QTEST(row(2), "removed");
    }

    // Once the last line is removed the cursor is on no line: F2, Insert
    // Column and Remove Column do nothing.
    void commandsWithoutALine()
    {
        newPattern(QStringLiteral("[C]:A:1"));
        f->grid().setCurrentCell(1, 11);
        QTest::mouseClick(child<QToolButton>(f->window, "removeRowButton"), Qt::LeftButton);
        QVERIFY(f->grid().IsRowRemoved(1));
        QCOMPARE(pressF2([](frmField *dialog) { dialog->reject(); }), QString());
        f->trigger("mnuInsert");
        QCOMPARE(f->grid().CellText(1, 11), QStringLiteral("[C]:A:1"));
        f->trigger("mnuRemove");
        QCOMPARE(f->grid().CellText(1, 11), QStringLiteral("[C]:A:1"));
    }

    // The output preview follows the cursor and the edits; a click on a
    // position and a check's activation move the cursor to the cell.
    void previewFollowsTheLine()
    {
        f->open("p.PAT", "[T];BANK;\r\n[H];[F]:{PAYAMT}:5:R:0;[C]:AB{NL}C\r\n[D];[C]:ABCDEFGH;junk\r\n");
        f->grid().setCurrentCell(1, 12);
        QTRY_VERIFY(f->window.findChild<LineView *>("lineView"));   // made after the first paint
        auto *line = child<LineView>(f->window, "lineView");
        QCOMPARE(line->accessibleDescription(), QStringLiteral("25050AB\nC"));
        QCOMPARE(child<QLabel>(f->window, "previewSummary")->accessibleDescription(),
                 QStringLiteral("Line 1 (LINE): 8 characters, 8 bytes in windows-874, 8 display columns"));
        QTest::keyClick(view(), Qt::Key_Delete);
        QCOMPARE(line->accessibleDescription(), QStringLiteral("25050"));
        QCOMPARE(child<QLabel>(f->window, "previewSummary")->accessibleDescription(),
                 QStringLiteral("Line 1 (LINE): 5 characters, 5 bytes in windows-874, 5 display columns"));
        QSignalSpy clicked(line, &LineView::columnClicked);   // down the first position, below the ruler
        for (int y = 0; y < line->height() && clicked.isEmpty(); y += 4)
            QTest::mouseClick(line, Qt::LeftButton, {}, QPoint(6, y));
        QCOMPARE(f->grid().Col(), 11);
        auto *checks = child<QListWidget>(f->window, "checkList");
        QTRY_COMPARE(checks->count(), 2);   // row 1's Field1 sample cut; row 2's Field2 no cell
        Q_EMIT checks->itemActivated(checks->item(1));
        QCOMPARE(f->grid().Row(), 2);
        f->trigger("mnuPreview");
        QVERIFY(child<QDockWidget>(f->window, "previewDock")->isHidden());
        f->trigger("mnuPreview");
    }

    // The window opens at the inner size designed, 10530 x 4965 twips (the
    // menu bar above it), preview or not. Hidden, the grid is the window's
    // outer size less 220 x 1300 twips; shown, the preview's height below
    // the grid's area comes off as well, and the field palette's width
    // beside it.
    void windowSize_data()
    {
        QTest::addColumn<bool>("preview"); QTest::addColumn<bool>("palette"); QTest::addColumn<QSize>("resized");
        QTest::newRow("preview hidden") << false << false << QSize();
        QTest::newRow("preview hidden, palette, resized") << false << true << QSize(900, 600);
        QTest::newRow("preview shown") << true << false << QSize();
        QTest::newRow("preview shown, palette, resized") << true << true << QSize(900, 600);
    }
    void windowSize()
    {
        QFETCH(bool, preview); QFETCH(bool, palette); QFETCH(QSize, resized);
        QSettings().setValue("preview/visible", preview);
        QSettings().setValue("palette/visible", palette);
        f.emplace();
        QTRY_VERIFY(f->window.findChild<LineView *>("lineView"));   // the docks join after the first paint
        QTRY_VERIFY(f->window.findChild<QTableView *>("fieldList"));
        QSettings().setValue("preview/visible", true);
        QSettings().setValue("palette/visible", true);
        QCOMPARE(f->window.logicalDpiY(), 96);   // 15 twips a pixel
        QCOMPARE(QSize(f->window.width(), f->window.height() - f->window.menuBar()->height()), QSize(702, 331));
        if (resized.isValid())
            f->window.resize(resized);
        QTRY_COMPARE(child<QDockWidget>(f->window, "previewDock")->isVisible(), preview);
        QTRY_COMPARE(child<QDockWidget>(f->window, "paletteDock")->isVisible(), palette);
        const QRect outer = f->window.frameGeometry(), area = child<QWidget>(f->window, "gridArea")->geometry();
        const int below = f->window.statusBar()->y() - area.bottom() - 1;   // what the preview takes
        const int beside = f->window.width() - area.width();                // what the palette takes
        QCOMPARE(below > 50, preview);
        QCOMPARE(beside > 50, palette);
        QTRY_COMPARE(child<GridEditor>(f->window, "GridEditor1")->geometry(),
                     QRect(0, 0, qAbs(outer.width() - beside - 15), qAbs(outer.height() - below - 87)));
    }

    // A record longer than the view: the window keeps its size, the line
    // scrolls (with its ruler) to the current cell's span, its letters are as
    // tall as the window's, and Ctrl++ and Ctrl+- zoom them while the
    // preview has the focus, instead of inserting or removing a column.
    void previewHoldsALongRecord()
    {
        const QSize designed = f->window.size();
        QByteArray row = "[D]";   // 11 constants of 15 characters and one of 10: 175
        for (char c = 'A'; c < 'L'; ++c)
            row += ";[C]:" + QByteArray(15, c);
        f->open("long.PAT", "[T];BANK;\r\n" + row + ";[C]:" + QByteArray(10, 'Z') + "\r\n");
        QTRY_VERIFY(f->window.findChild<LineView *>("lineView"));
        auto *line = child<LineView>(f->window, "lineView");
        auto *scroll = child<QScrollArea>(f->window, "lineScroll");
        f->grid().setCurrentCell(1, 22);   // positions 166 to 175
        const QRect span(line->mapTo(scroll->viewport(), line->currentStart().topLeft()),
                         line->mapTo(scroll->viewport(), line->currentEnd().bottomRight()));
        QVERIFY2(scroll->viewport()->rect().contains(span), qPrintable(QStringLiteral("%1 %2").arg(span.left()).arg(span.right())));
        QCOMPARE(f->window.size(), designed);
        QVERIFY(f->window.minimumSizeHint().width() <= designed.width());
        QVERIFY(QFontMetrics(line->font()).capHeight() >= QFontMetrics(QApplication::font()).capHeight());

        f->window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f->window));
        line->setFocus();
        const int cell = line->currentEnd().width();
        QTest::keyClick(line, Qt::Key_Equal, Qt::ControlModifier);
        QVERIFY(line->currentEnd().width() > cell);
        QCOMPARE(PreviewPanel().zoom(), 110);   // as the next start finds it
        QTest::keyClick(line, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(line->currentEnd().width(), cell);
        QCOMPARE(f->grid().CellText(1, 22), QStringLiteral("[C]:ZZZZZZZZZZ:10"));   // no column inserted or removed
        QCOMPARE(history()->count(), 0);
    }

    // The record length the bank requires, stated on the Checks tab: every
    // line of another length is a check. It is kept per file, carried by
    // Save As, and a new pattern has none.
    void recordLength()
    {
        const QString a = f->open("a.PAT", "[T];BANK;\r\n[H];[C]:HHH\r\n[D];[C]:DDDDD\r\n[G];[C]:TT\r\n");
        QTRY_VERIFY(f->window.findChild<QSpinBox *>("recordLength"));
        auto *box = child<QSpinBox>(f->window, "recordLength");
        auto *checks = child<QListWidget>(f->window, "checkList");
        QTRY_COMPARE(checks->count(), 0);
        QCOMPARE(box->text(), QStringLiteral("none"));
        const auto label = [box] { for (QLabel *l : box->window()->findChildren<QLabel *>()) if (l->buddy() == box) return l->text(); return QString(); };
        QCOMPARE(label(), QStringLiteral("Record &length:"));
        box->setValue(5);
        QCOMPARE(checks->count(), 2);
        QCOMPARE(checks->item(0)->text(), QStringLiteral("LINE row 1: 3 characters; the record length is 5"));
        f->open("b.PAT", "[T];BANK;\r\n[H];[C]:B\r\n");
        QCOMPARE(box->value(), 0);
        f->open("a.PAT", readBytes(a));
        QCOMPARE(box->value(), 5);
        f->prompts.files.enqueue(f->path("c.PAT"));
        f->trigger("mnuSaveAs");
        f->open("b.PAT", readBytes(f->path("b.PAT")));
        f->open("c.PAT", readBytes(f->path("c.PAT")));
        QCOMPARE(box->value(), 5);
        f->prompts.answers.enqueue(false);
        f->prompts.mode = QStringLiteral("BANK");
        f->trigger("mnuNew");
        QCOMPARE(box->value(), 0);
    }

    // A mode the design database does not know is said once on Open, and
    // heads the checks; one it knows is not.
    void unknownMode()
    {
        const QString path = f->open("slip.PAT", "[T];BANKS;\r\n[D];[C]:A\r\n");
        QCOMPARE(f->prompts.told, QStringList{"ไม่พบโหมดการทำงาน BANKS ในฐานข้อมูล\nThe file \"" + QDir::toNativeSeparators(path)
                                              + "\" is open, but the mode BANKS is not in the design database."});
        QCOMPARE(f->window.windowTitle(), kTitle + " ] - " + path);
        QTRY_VERIFY(f->window.findChild<QListWidget *>("checkList"));
        auto *checks = child<QListWidget>(f->window, "checkList");
        QTRY_COMPARE(checks->count(), 1);
        QCOMPARE(checks->item(0)->text(), QStringLiteral("the mode BANKS is not in the design database"));
        f->grid().setCurrentCell(1, 11);
        Q_EMIT checks->itemActivated(checks->item(0));   // no cell to go to
        QCOMPARE(f->grid().Row(), 1);
        f->open("bank.PAT", "[T];BANK;\r\n[D];[C]:A\r\n");
        QCOMPARE(f->prompts.told.size(), 1);
    }

    // File > Inspect Export File: a window of the file's lines, those of no
    // row first; a chosen line selects its row and shows under the ruler.
    void inspectExportFile()
    {
        f->open("p.PAT", "[T];BANK;\r\n[H];[C]:H;[F]:{BANKCODE}:3:L\r\n[D];[C]:D;[F]:{PAYAMT}:5:R:0\r\n");
        QVERIFY(writeBytes(f->path("pay.txt"), "H014\r\nD00150\r\nX\r\n"));
        f->prompts.files.enqueue(f->path("pay.txt"));
        f->trigger("mnuInspect");
        auto *window = f->window.findChild<ExportWindow *>("inspectWindow");
        QVERIFY(window && window->isVisible());
        auto *show = child<QComboBox>(*window, "inspectFilter");
        QCOMPARE(show->currentText(), QStringLiteral("Lines of no row (1)"));
        QCOMPARE(window->model()->index(0, window->model()->columnCount() - 1).data().toString(),
                 QStringLiteral("no row matches: nearest row 1 (LINE), position 1: 'X', row 1 expects 'H'; "
                                "the line has 1 character, the row writes 4"));
        show->setCurrentIndex(show->findText(QStringLiteral("Row 2 (LOOP): 1 record")));
        QCOMPARE(window->model()->rowCount(), 1);
        QTRY_VERIFY(f->window.findChild<LineView *>("lineView"));   // made after the first paint
        window->view()->setCurrentIndex(window->model()->index(0, 0));
        QCOMPARE(f->grid().Row(), 2);
        QCOMPARE(child<LineView>(f->window, "lineView")->accessibleDescription(), QStringLiteral("D00150"));
        window->close();
        // A file that is no text says why, and opens no window.
        QVERIFY(writeBytes(f->path("bin.txt"), QByteArray("H0\0", 3)));
        f->prompts.files.enqueue(f->path("bin.txt"));
        f->trigger("mnuInspect");
        QVERIFY(f->prompts.told.last().endsWith(QStringLiteral(": line 1: a NUL byte; this is no text file")));
    }

    // File > Import Layout Table: a new pattern of the table's records.
    void importLayoutTable()
    {
        QVERIFY(writeBytes(f->path("bank.csv"), "record,field,start,length,value\r\nH,type,1,1,H\r\nH,bankcode,2,3,\r\n"));
        f->prompts.files.enqueue(f->path("bank.csv"));
        f->prompts.mode = QStringLiteral("BANK");
        f->trigger("mnuImportTable");
        QCOMPARE(dump(f->window.PMODE, f->grid()), (QStringList{"mode BANK", "row 1 type 0", "  11 [C]:H:1",
                                                               "  12 [F]:{BANKCODE}:3:R:0:::0"}));
        QCOMPARE(f->window.FileName, QStringLiteral("Untitled.PAT"));
        QVERIFY(!child<QAction>(f->window, "mnuSave")->isEnabled());
        QVERIFY(f->prompts.told.last().contains(QStringLiteral("field bankcode is the mode's field BANKCODE")));
    }

    // A line of 120 cells loads 100 and says so once on Open; the checks list
    // it; Save over that file asks first, No by default; once saved, the
    // line is as saved and nothing is said any more.
    void cellsPastField100()
    {
        const QByteArray longLine = "[H]" + QByteArray(";[C]:X").repeated(120) + "\r\n";
        const QByteArray original = "[T];BANK;\r\n[G];[C]:A\r\n" + longLine;
        const QString path = f->open("long%2.PAT", original);   // a name with what looks like a placeholder
        const QString said = QStringLiteral("line 3 has 120 cells; only Field1 to Field100 were loaded");
        QCOMPARE(f->prompts.told.size(), 1);
        QVERIFY2(f->prompts.told[0].contains(said), qPrintable(f->prompts.told[0]));
        QTRY_VERIFY(f->window.findChild<QListWidget *>("checkList"));
        auto *checks = child<QListWidget>(f->window, "checkList");
        QTRY_COMPARE(checks->findItems(said, Qt::MatchExactly).size(), 1);
        QCOMPARE(f->grid().CellText(2, 110), QStringLiteral("[C]:X:1"));

        for (const bool answer : {false, true}) {
            f->prompts.answers.enqueue(answer);
            f->trigger("mnuSave");
            QCOMPARE(f->prompts.questions.size(), answer ? 2 : 1);
            QVERIFY(!f->prompts.questions.constLast().yesIsDefault && f->prompts.questions.constLast().escapeAnswersNo);
            QVERIFY(f->prompts.questions.constLast().text.contains(QDir::toNativeSeparators(path) + QStringLiteral("\" has lines of more than 100 cells (line 3: 120 cells)")));
            QCOMPARE(readBytes(path), answer ? "[T];BANK;\r\n[G];[C]:A\r\n[H]" + QByteArray(";[C]:X").repeated(100) + "\r\n" : original);
        }
        QTRY_COMPARE(checks->findItems(said, Qt::MatchExactly).size(), 0);
        f->trigger("mnuSave");
        QCOMPARE(f->prompts.questions.size(), 2);
    }

    // A UTF-8 file (here with a byte order mark) is said to be one; Yes
    // reads its Thai as Thai, and Save writes windows-874, naming a
    // character the code page has not instead of writing anything; No reads
    // it as windows-874, as it stands, and Save gives its bytes back.
    void utf8File_data()
    {
        QTest::addColumn<bool>("yes"); QTest::addColumn<QString>("cell"); QTest::addColumn<QByteArray>("saved");
        QTest::newRow("read as UTF-8") << true << "[C]:ยอด:3" << QByteArray("[T];BANK;\r\n[H];[C]:\xC2\xCD\xB4\r\n");
        QTest::newRow("read as windows-874") << false << "[C]:\u0E40\u0E18\u0E02\u0E40\u0E18\u0E0D\u0E40\u0E18\u201D:9"
                                             << QByteArray("[T];BANK;\r\n[H];[C]:\xE0\xB8\xA2\xE0\xB8\xAD\xE0\xB8\x94\r\n");
    }
    void utf8File()
    {
        QFETCH(bool, yes); QFETCH(QString, cell); QFETCH(QByteArray, saved);
        f->prompts.answers.enqueue(yes);
        const QString path = f->open("u.PAT", "\xEF\xBB\xBF[T];BANK;\r\n" + QStringLiteral("[H];[C]:ยอด;[C]:é\r\n").toUtf8());
        QCOMPARE(f->prompts.questions.size(), 1);
        QVERIFY(f->prompts.questions[0].text.contains(QStringLiteral("is UTF-8; patterns are windows-874")));
        QCOMPARE(f->window.PMODE, QStringLiteral("BANK"));
        QCOMPARE(f->grid().CellText(1, 11), cell);
        const QByteArray before = readBytes(path);
        f->trigger("mnuSave");
        if (yes) {
            QVERIFY2(f->prompts.told.constLast().endsWith(QStringLiteral("Row 1, Field2 holds \"é\", which the Thai code page (windows-874) cannot store.")),
                     qPrintable(f->prompts.told.constLast()));
            QCOMPARE(readBytes(path), before);
            f->grid().setCurrentCell(1, 12);
            QTest::keyClick(view(), Qt::Key_Delete);
            f->trigger("mnuSave");
        }
        QCOMPARE(f->prompts.told.constLast(), kSaved);
        QCOMPARE(readBytes(path), yes ? saved : saved.left(saved.size() - 2) + ";[C]:\xC3\xA9\r\n");
    }

    // Save over a file changed on disk since Open asks, No by default (writes nothing); unchanged or Save As elsewhere, not.
    void saveOverAChangedFile_data()
    {
        QTest::addColumn<QString>("change"); QTest::addColumn<bool>("answer"); QTest::addColumn<bool>("asked");
        QTest::newRow("unchanged") << "" << false << false;
        QTest::newRow("other bytes, No") << "[C]:THEIRS" << false << true;
        QTest::newRow("other bytes, Yes") << "[C]:THEIRS" << true << true;
        QTest::newRow("same size and time, No") << "[C]:ABD" << false << true;
        QTest::newRow("removed, Yes") << "-" << true << true;
    }
    void saveOverAChangedFile()
    {
        QFETCH(QString, change); QFETCH(bool, answer); QFETCH(bool, asked);
        const QString path = f->open("p.PAT", "[T];BANK;\r\n[H];[C]:ABC\r\n");
        const QDateTime time = QFileInfo(path).lastModified();
        f->grid().SetCellText(1, 11, QStringLiteral("[C]:XYZ:3"));
        QFile file(path);
        QVERIFY(change != u"-" ? change.isEmpty() || (writeBytes(path, "[T];BANK;\r\n[H];" + change.toLatin1() + "\r\n")
                                                      && file.open(QIODevice::Append) && file.setFileTime(time, QFile::FileModificationTime))
                               : file.remove());
        const QByteArray theirs = readBytes(path), ours("[T];BANK;\r\n[H];[C]:XYZ\r\n");
        f->prompts.answers << answer;
        f->trigger("mnuSave");
        QCOMPARE(f->prompts.questions.size(), int(asked));
        QVERIFY(!asked || !f->prompts.questions[0].yesIsDefault);
        QCOMPARE(readBytes(path), answer || !asked ? ours : theirs);
        f->prompts.files.enqueue(f->path("other.PAT"));
        f->trigger("mnuSaveAs");
        QCOMPARE(f->prompts.questions.size(), int(asked));
        QCOMPARE(readBytes(f->path("other.PAT")), ours);
    }
};

QTEST_MAIN(TestFrmCreatePattern)
#include "tst_frmcreatepattern.moc"

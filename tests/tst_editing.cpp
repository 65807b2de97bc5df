// Editing the pattern as in a desktop editor: every change can be taken back
// and made again, cells go to and come from the clipboard as tab-separated
// text, lines move and are duplicated.

#include "testsupport.h"

#include "designer/cellclipboard.h"
#include "field/gui/frmfield.h"

#include <QtTest>
#include <QtWidgets>

namespace {

const QByteArray kPattern = "[T];BANK;\r\n"
                            "[H];[C]:A;[C]:B;[C]:C\r\n"
                            "[G];[F]:{DOCNO}:10:R:0:::0\r\n"
                            "[D];[C]:X;[C]:Y\r\n";

enum class Act { Field, Delete, Insert, Remove, AddRow, RemoveRow, Type, Paste, Cut, Up, Down, Duplicate,
                 LineAbove, LineBelow, RemoveLine, PutField, Filler, FillLine };

} // namespace

class TestEditing : public QObject
{
    Q_OBJECT

    std::optional<DesignerFixture> f;

    QTableView *view() const { return child<QTableView>(f->window, "gridView"); }
    QUndoStack *history() const { return child<GridEditor>(f->window, "GridEditor1")->history(); }
    QString undoText() const { return child<QAction>(f->window, "mnuUndo")->text().remove(u'&'); }
    QPoint cursor() const { return {f->grid().Col(), f->grid().Row()}; }

    // The grid with its removed rows, and whether the view hides just those.
    QStringList state() const
    {
        QStringList out = dump(QString(), f->grid());
        for (int r = 1; r <= f->grid().RowCount(); ++r) {
            if (f->grid().IsRowRemoved(r))
                out << QStringLiteral("removed %1").arg(r);
            if (view()->isRowHidden(r - 1) != f->grid().IsRowRemoved(r))
                out << QStringLiteral("view disagrees on row %1").arg(r);
        }
        return out;
    }

    // States the record length in the Checks tab's box, as the user does.
    void stateRecordLength(int length)
    {
        QTRY_VERIFY(f->window.findChild<QSpinBox *>("recordLength"));   // made after the first paint
        child<QSpinBox>(f->window, "recordLength")->setValue(length);
    }

    // A row as its type and filled cells, "0|[C]:A:1|[C]:B:1", or "removed".
    QString line(int row) const
    {
        if (f->grid().IsRowRemoved(row))
            return QStringLiteral("removed");
        QString out = QString::number(f->grid().CellListIndex(row, GridLayout::kTypeColumn));
        for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c) {
            if (!f->grid().CellText(row, c).isEmpty())
                out += u'|' + f->grid().CellText(row, c);
        }
        return out;
    }

    void act(Act what)
    {
        switch (what) {
        case Act::Field:
            QVERIFY(onModal<frmField>([this] { QTest::keyClick(view(), Qt::Key_F2); }, [](frmField *dialog) {
                child<QComboBox>(*dialog, "Combo1")->setCurrentText(QStringLiteral("EMPCODE"));
                child<QLineEdit>(*dialog, "Text4")->setText(QStringLiteral("7"));
                child<QPushButton>(*dialog, "Command1")->click();
            }));
            break;
        case Act::Delete: QTest::keyClick(view(), Qt::Key_Delete); break;
        case Act::Insert: f->trigger("mnuInsert"); break;
        case Act::Remove: f->trigger("mnuRemove"); break;
        case Act::AddRow: QTest::mouseClick(child<QToolButton>(f->window, "addRowButton"), Qt::LeftButton); break;
        case Act::RemoveRow: QTest::mouseClick(child<QToolButton>(f->window, "removeRowButton"), Qt::LeftButton); break;
        case Act::Type: {
            const QModelIndex type = f->grid().index(f->grid().Row() - 1, 0);
            view()->setCurrentIndex(type);
            view()->edit(type);
            auto *combo = view()->indexWidget(type)->findChild<QComboBox *>();
            if (!combo)
                combo = qobject_cast<QComboBox *>(view()->indexWidget(type));
            QVERIFY(combo);
            combo->setCurrentIndex(2);
            QTest::keyClick(combo, Qt::Key_Return);   // commits once the events are handled
            QTRY_VERIFY(!view()->indexWidget(type));
            break;
        }
        case Act::Paste:
            QGuiApplication::clipboard()->setText(QStringLiteral("GROUP\t[C]:P:1\n\t\t[C]:Q:1\nLOOP\n"));
            f->trigger("mnuPaste");
            break;
        case Act::Cut: f->trigger("mnuCut"); break;
        case Act::Up: f->trigger("mnuMoveUp"); break;
        case Act::Down: f->trigger("mnuMoveDown"); break;
        case Act::Duplicate: f->trigger("mnuDuplicate"); break;
        case Act::LineAbove: f->trigger("mnuInsertLineAbove"); break;
        case Act::LineBelow: f->trigger("mnuInsertLineBelow"); break;
        case Act::RemoveLine: f->trigger("mnuRemoveLine"); break;
        case Act::PutField: {
            QTRY_VERIFY(f->window.findChild<QLineEdit *>("fieldFilter"));   // made after the first paint
            auto *filter = child<QLineEdit>(f->window, "fieldFilter");
            filter->setText(QStringLiteral("payamt"));
            QTest::keyClick(filter, Qt::Key_Return);
            break;
        }
        case Act::Filler:
            f->prompts.fillers.enqueue(Filler{4, u'*'});
            f->trigger("mnuInsertFiller");
            break;
        case Act::FillLine: f->trigger("mnuFillLine"); break;
        }
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init()
    {
        QVERIFY(f.emplace().install.isValid());
        f->open("p.PAT", kPattern);
        QCOMPARE(f->grid().RowCount(), 3);
    }

    // Each change is one step named after it, the status bar showing the
    // line's new lengths at once: undone, the grid and the cursor are as
    // before it; redone, as after it.
    void everyChangeIsOneStep_data()
    {
        // The status bar's lengths after the change and after Undo: total, then up to the cursor.
        QTest::addColumn<Act>("what"); QTest::addColumn<QPoint>("at"); QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("after"); QTest::addColumn<QPoint>("undone");
        QTest::newRow("field dialog OK") << Act::Field << QPoint(12, 2) << "Field Change" << QPoint(17, 17) << QPoint(10, 10);
        QTest::newRow("Delete") << Act::Delete << QPoint(12, 1) << "Delete" << QPoint(2, 1) << QPoint(3, 2);
        QTest::newRow("Insert Column") << Act::Insert << QPoint(11, 1) << "Insert Column" << QPoint(3, 0) << QPoint(3, 1);
        QTest::newRow("Remove Column") << Act::Remove << QPoint(11, 1) << "Remove Column" << QPoint(2, 1) << QPoint(3, 1);
        QTest::newRow("Add Row") << Act::AddRow << QPoint(11, 1) << "Add Row" << QPoint(0, 0) << QPoint(3, 1);
        QTest::newRow("Remove Row") << Act::RemoveRow << QPoint(12, 2) << "Remove Row" << QPoint(2, 2) << QPoint(10, 10);
        QTest::newRow("Type change") << Act::Type << QPoint(1, 1) << "Type Change" << QPoint(3, 0) << QPoint(3, 0);
        QTest::newRow("paste over and past the end") << Act::Paste << QPoint(1, 3) << "Paste" << QPoint(2, 0) << QPoint(2, 0);
        QTest::newRow("cut") << Act::Cut << QPoint(12, 1) << "Cut" << QPoint(2, 1) << QPoint(3, 2);
        QTest::newRow("Move Line Up") << Act::Up << QPoint(12, 3) << "Move Line Up" << QPoint(2, 2) << QPoint(2, 2);
        QTest::newRow("Move Line Down") << Act::Down << QPoint(11, 1) << "Move Line Down" << QPoint(3, 1) << QPoint(3, 1);
        QTest::newRow("Duplicate Line") << Act::Duplicate << QPoint(11, 1) << "Duplicate Line" << QPoint(3, 1) << QPoint(3, 1);
        QTest::newRow("Insert Line Above") << Act::LineAbove << QPoint(12, 2) << "Insert Line Above" << QPoint(0, 0) << QPoint(10, 10);
        QTest::newRow("Insert Line Below") << Act::LineBelow << QPoint(1, 3) << "Insert Line Below" << QPoint(0, 0) << QPoint(2, 0);
        QTest::newRow("Remove Line") << Act::RemoveLine << QPoint(11, 2) << "Remove Line" << QPoint(2, 1) << QPoint(10, 10);
        QTest::newRow("field from the palette") << Act::PutField << QPoint(12, 3) << "Put Field" << QPoint(16, 16) << QPoint(2, 2);
        QTest::newRow("Insert Filler") << Act::Filler << QPoint(14, 1) << "Insert Filler" << QPoint(7, 7) << QPoint(3, 3);
        QTest::newRow("Fill Line to Record Length") << Act::FillLine << QPoint(12, 1) << "Fill Line to Record Length"
                                                    << QPoint(20, 20) << QPoint(3, 2);
    }
    void everyChangeIsOneStep()
    {
        QFETCH(Act, what); QFETCH(QPoint, at);
        stateRecordLength(20);
        f->grid().setCurrentCell(at.y(), at.x());
        const QStringList before = state();
        QVERIFY(!history()->canUndo());
        QCOMPARE(undoText(), QStringLiteral("Undo"));
        act(what);
        QFETCH(QPoint, after); QFETCH(QPoint, undone);
        const auto lengths = [](QPoint p) { return QStringLiteral("Total Length = %1 Colume Length = %2").arg(p.x()).arg(p.y()); };
        QCOMPARE(f->status(), lengths(after));
        const QStringList changed = state();
        const QPoint cursorAfter = cursor();
        QVERIFY2(changed != before, "the action changed nothing");
        QCOMPARE(history()->count(), 1);
        QTEST(undoText().mid(5), "name");
        f->trigger("mnuUndo");
        QCOMPARE(state(), before);
        QCOMPARE(cursor(), at);
        QCOMPARE(f->status(), lengths(undone));
        f->trigger("mnuRedo");
        QCOMPARE(state(), changed);
        QCOMPARE(cursor(), cursorAfter);
        QCOMPARE(f->status(), lengths(after));
    }

    // The line commands and the fillers: what they put where, where the
    // cursor goes, and what Fill Line to Record Length says it would do
    // next. A filler fills the output line its cell writes into, from the
    // row's first empty cell; a line break starts another record.
    void linesAndFillers_data()
    {
        QTest::addColumn<Act>("what"); QTest::addColumn<int>("recordLength");
        QTest::addColumn<QString>("setup");   // "col,row=text" set first, or ""
        QTest::addColumn<QPoint>("at"); QTest::addColumn<int>("row"); QTest::addColumn<QString>("line");
        QTest::addColumn<QPoint>("cursor"); QTest::addColumn<QString>("tip");
        const QString none = QStringLiteral("No record length is stated for the pattern");
        const QString abc = QStringLiteral("0|[C]:A:1|[C]:B:1|[C]:C:1");
        QTest::newRow("Insert Line Above, a LINE row") << Act::LineAbove << 0 << "" << QPoint(12, 2) << 2 << "0" << QPoint(11, 2) << none;
        QTest::newRow("Insert Line Below, from the type") << Act::LineBelow << 0 << "" << QPoint(1, 3) << 4 << "0" << QPoint(1, 4) << none;
        QTest::newRow("Remove Line, cursor to the next") << Act::RemoveLine << 0 << "" << QPoint(11, 2) << 2 << "removed" << QPoint(11, 3) << none;
        QTest::newRow("Remove the last line, cursor back") << Act::RemoveLine << 0 << "" << QPoint(11, 3) << 3 << "removed" << QPoint(11, 2) << none;
        QTest::newRow("Insert Filler, cursor after it") << Act::Filler << 0 << "" << QPoint(14, 1) << 1 << abc + "|[C]:****:4" << QPoint(15, 1) << none;
        QTest::newRow("fill a shorter line") << Act::FillLine << 10 << "" << QPoint(12, 1) << 1 << abc + "|[C]:       :7" << QPoint(14, 1)
                                             << "Line 1 writes 10 characters: the record length already";
        QTest::newRow("a line as long as the record") << Act::FillLine << 3 << "" << QPoint(12, 1) << 1 << abc << QPoint(12, 1)
                                                      << "Line 1 writes 3 characters: the record length already";
        QTest::newRow("a line longer than the record") << Act::FillLine << 2 << "" << QPoint(12, 1) << 1 << abc << QPoint(12, 1)
                                                       << "Line 1 writes 3 characters, longer than the record length 2";
        QTest::newRow("the first empty cell, between others") << Act::FillLine << 5 << "12,1=" << QPoint(11, 1) << 1
                                                              << "0|[C]:A:1|[C]:   :3|[C]:C:1" << QPoint(12, 1)
                                                              << "Line 1 writes 5 characters: the record length already";
        QTest::newRow("after a line break, its output line") << Act::FillLine << 6 << "11,3=[C]:AB{NL}C:3" << QPoint(11, 3) << 3
                                                             << "2|[C]:AB{NL}C:3|[C]:Y:1|[C]:    :4" << QPoint(13, 3)
                                                             << "Line 3 writes 6 characters: the record length already";
    }
    void linesAndFillers()
    {
        QFETCH(Act, what); QFETCH(int, recordLength); QFETCH(QString, setup); QFETCH(QPoint, at); QFETCH(int, row);
        if (!setup.isEmpty())
            f->grid().SetCellText(setup.section(u'=', 0, 0).section(u',', 1).toInt(), setup.section(u',', 0, 0).toInt(),
                                  setup.section(u'=', 1));
        stateRecordLength(recordLength);
        f->grid().setCurrentCell(at.y(), at.x());
        act(what);
        QTEST(line(row), "line");
        QTEST(cursor(), "cursor");
        QTEST(child<QAction>(f->window, "mnuFillLine")->statusTip(), "tip");
    }

    // A field dialog closed with Cancel, and a line that cannot move further,
    // leave no step behind.
    void noChangeNoStep()
    {
        f->grid().setCurrentCell(1, 11);
        QVERIFY(onModal<frmField>([this] { QTest::keyClick(view(), Qt::Key_F2); },
                                  [](frmField *dialog) { child<QPushButton>(*dialog, "Command2")->click(); }));
        f->trigger("mnuMoveUp");
        f->grid().setCurrentCell(3, 11);
        f->trigger("mnuMoveDown");
        QCOMPARE(history()->count(), 0);
        QVERIFY(!child<QAction>(f->window, "mnuUndo")->isEnabled());
    }

    // Steps taken back all the way leave the grid as opened; made again, as
    // edited. Open and New start an empty history; Save keeps it.
    void wholeHistory()
    {
        const QStringList opened = state();
        f->grid().setCurrentCell(2, 11);
        for (const Act what : {Act::Duplicate, Act::Insert, Act::Up, Act::AddRow, Act::Paste, Act::RemoveRow, Act::Cut})
            act(what);
        const QStringList edited = state();
        while (history()->canUndo())
            f->trigger("mnuUndo");
        QCOMPARE(state(), opened);
        while (history()->canRedo())
            f->trigger("mnuRedo");
        QCOMPARE(state(), edited);
        f->trigger("mnuSave");
        QVERIFY(history()->isClean() && history()->canUndo());
        f->trigger("mnuUndo");
        QVERIFY(!history()->isClean());
        f->prompts.answers.enqueue(false);   // Save your Data ? No: the step taken back is a change
        f->open("p.PAT", kPattern);
        QCOMPARE(f->prompts.questions.size(), 1);
        QVERIFY(!history()->canUndo() && !history()->canRedo());
        act(Act::Delete);
        f->prompts.answers.enqueue(false);   // Save your Data ? No
        f->prompts.mode = QStringLiteral("BANK");
        f->trigger("mnuNew");
        QVERIFY(!history()->canUndo());
    }

    // A range goes out as descriptors, the Type column as its word, and pastes
    // back as it was.
    void copyAndPasteBack()
    {
        GridEditor *editor = child<GridEditor>(f->window, "GridEditor1");
        editor->select(1, 2, 1, 12);
        f->trigger("mnuCopy");
        const QString copied = QGuiApplication::clipboard()->text();
        QCOMPARE(copied, QStringLiteral("LINE\t[C]:A:1\t[C]:B:1\nGROUP\t[F]:{DOCNO}:10:R:0:::0\t\n"));
        editor->select(3, 3, 1, 1);
        f->trigger("mnuPaste");
        QCOMPARE(CellClipboard::copy(f->grid(), {3, 4}, 1, 12), copied);
        QCOMPARE(f->grid().CellText(3, 13), QString());   // the pasted lines have two cells after Type
        QCOMPARE(history()->count(), 1);
    }

    // A clipboard with one bad cell pastes nothing and says which cell and
    // why.
    void pasteRefused_data()
    {
        QTest::addColumn<QString>("text"); QTest::addColumn<int>("col"); QTest::addColumn<QString>("message");
        QTest::newRow("cell separator") << "[C]:A:1\t[C]:B;:2" << 11 << "line 1 of the clipboard, Field2: ';'";
        QTest::newRow("not in windows-874") << "ok\n[C]:Ж:1" << 11 << "line 2 of the clipboard, Field1: it holds characters the Thai code page";
        QTest::newRow("binary") << QString::fromLatin1("\x01\x02\x00\xff", 4) << 11 << "Field1: it holds a control character (U+0001)";
        QTest::newRow("past Field100") << "a\tb\tc" << 109 << "line 1 of the clipboard, cell 3: the line has more cells";
        QTest::newRow("unknown type") << "HEADER\t[C]:A:1" << 1 << "Type: \"HEADER\" is not one of LINE, GROUP, LOOP";
        QTest::newRow("100,000 lines") << QString(QStringLiteral("[C]:A:1\n")).repeated(100000) << 11 << "holds 100000 lines; a paste takes at most 10000";
    }
    void pasteRefused()
    {
        QFETCH(QString, text); QFETCH(int, col); QFETCH(QString, message);
        f->grid().setCurrentCell(1, col);
        const QStringList before = state();
        QGuiApplication::clipboard()->setText(text);
        f->trigger("mnuPaste");
        QCOMPARE(state(), before);
        QCOMPARE(history()->count(), 0);
        QCOMPARE(f->prompts.icons, QList{Notices::Icon::Warning});
        QVERIFY2(f->prompts.told.value(0).contains(message), qPrintable(f->prompts.told.value(0)));
    }

    // A block pasted one column off: the type word and a constant without its
    // count go in as constants, said in one notice after the paste, one step.
    void pasteMakesConstants()
    {
        f->grid().setCurrentCell(1, 11);
        QGuiApplication::clipboard()->setText(QStringLiteral("LOOP\t[C]:X\n"));
        f->trigger("mnuPaste");
        QCOMPARE(f->grid().CellText(1, 11), QStringLiteral("[C]:LOOP:4"));
        QCOMPARE(f->grid().CellText(1, 12), QStringLiteral("[C]:X:1"));
        QCOMPARE(f->prompts.told, QStringList{"วางข้อมูลแล้ว โดยปรับข้อมูลบางช่อง\nPasted: 1 cell was no field descriptor and became a "
                                              "constant of its text; 1 constant had its count made right."});
        QCOMPARE(f->prompts.icons, QList{Notices::Icon::Information});
        QCOMPARE(history()->count(), 1);
    }

    // The keys reach the commands from the grid, the standard ones and ours:
    // Insert and Remove Column take Ctrl+= and Ctrl+-, which the grid's
    // navigation leaves free.
    void keysFromTheGrid()
    {
        f->window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f->window));
        f->grid().setCurrentCell(1, 11);
        QTest::keyClick(view(), Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(f->grid().CellText(1, 12), QStringLiteral("[C]:A:1"));
        QTest::keyClick(view(), Qt::Key_Minus, Qt::ControlModifier);
        QTest::keyClick(view(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(f->grid().RowCount(), 4);
        QTest::keyClick(view(), Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(f->grid().Row(), 3);
        QCOMPARE(f->grid().CellText(3, 11), QStringLiteral("[C]:A:1"));
        QTest::keyClick(view(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(view(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f->grid().RowCount(), 3);
        QTest::keyClick(view(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(f->grid().RowCount(), 4);
        // The line commands: Ctrl+Return below, with Shift above; Ctrl+Shift+Delete removes.
        f->grid().setCurrentCell(2, 11);
        QTest::keyClick(view(), Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClick(view(), Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QList({f->grid().RowCount(), f->grid().Row()}), QList({6, 3}));
        QTest::keyClick(view(), Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(f->grid().IsRowRemoved(3));
        // Tab moves within the grid; Ctrl+Tab leaves it for the next control,
        // Ctrl+Shift+Tab for the one before it.
        view()->setFocus();
        QTest::keyClick(view(), Qt::Key_Tab);
        QVERIFY(view()->hasFocus());
        QTest::keyClick(view(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("addRowButton"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(view()->hasFocus());
        QTest::keyClick(view(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(!view()->hasFocus() && QApplication::focusWidget()->objectName() != u"addRowButton");
    }
};

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"

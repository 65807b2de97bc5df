// The designer window's commands, driven through the seams: message boxes,
// the file dialog and the selection list are answered by the test.

#include "testsupport.h"

#include "components/grideditor.h"
#include "components/gridtablemodel.h"
#include "designer/frmcreatepattern.h"
#include "designer/gridlayout.h"
#include "designer/statusbar.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QtTest>

namespace {

const QString kTitlePrefix = QStringLiteral("เครื่องมือสร้าง Pattern File [ Mode ");
const QString kSaveQuestion = QStringLiteral("Save your Data ?");
const QString kOverwrite = QStringLiteral("บันทึกทับไฟล์เดิมหรือไม่");
const QString kSaved = QStringLiteral("บันทึกข้อมูลเสร็จเรียบร้อย");
const QString kInvalid = QStringLiteral("รูปแบบไฟล์  PATTERN ไม่ถูกต้อง กรุณาตรวจสอบข้อมูลให้ถูกต้อง");

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestFrmCreatePattern : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void startsEmptyWithDesignTitle();
    void newRightAfterStartAsksNothing();
    void newWithoutChoiceTakesBank();
    void newWithUnreadableDatabase();
    void newAnsweredNoDropsThePattern();
    void newAnsweredYesButCancelledKeepsThePattern();
    void openCancelledChangesNothing();
    void openLoadsFileAndRecalculates();
    void openRejectedFileKeepsGrid();
    void openUnreadableFileChangesNothing();
    void saveWithoutFileNameRunsSaveAs();
    void saveAsNewName();
    void saveAsExisting_data();
    void saveAsExisting();
    void saveAsUnwritableTargetTellsTheUser();
    void saveAfterSaveAsRewritesWithoutAsking();
    void exitRightAfterStartCloses();
    void exitAndCloseBox_data();
    void exitAndCloseBox();
    void insertAndRemoveColumn_data();
    void insertAndRemoveColumn();
    void aboutChangesNothing();

private:
    void newPattern(const QString &mode);
    void fillRow(int row, const QStringList &cells);
    QStringList rowCells(int row) const;

    SampleInstallation *m_install = nullptr;
    TestContext *m_context = nullptr;
    frmCreatePattern *m_window = nullptr;
};

void TestFrmCreatePattern::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestFrmCreatePattern::init()
{
    m_install = new SampleInstallation;
    QVERIFY(m_install->isValid());
    m_context = new TestContext;
    m_context->useDesignDatabase(m_install->designDatabase());
    m_window = new frmCreatePattern(*m_context);
    m_window->show();
}

void TestFrmCreatePattern::cleanup()
{
    delete m_window;
    delete m_context;
    delete m_install;
}

void TestFrmCreatePattern::newPattern(const QString &mode)
{
    m_context->data.pickValue = mode;
    m_window->mnuNew_Click();
    m_context->data.pickValue.clear();
    m_context->messages.shown.clear();
    m_context->data.requests.clear();
}

void TestFrmCreatePattern::fillRow(int row, const QStringList &cells)
{
    while (m_window->GridEditor1->RowCount() < row)
        m_window->GridEditor1->AddRow();
    for (int i = 0; i < cells.size(); ++i)
        m_window->GridEditor1->SetCellText(row, GridLayout::kFirstFieldColumn + i, cells.at(i));
}

QStringList TestFrmCreatePattern::rowCells(int row) const
{
    QStringList cells;
    for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c)
        cells.append(m_window->GridEditor1->CellText(row, c));
    while (!cells.isEmpty() && cells.constLast().isEmpty())
        cells.removeLast();
    return cells;
}

void TestFrmCreatePattern::startsEmptyWithDesignTitle()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Text Export Pattern Designer File"));
    QCOMPARE(m_window->FileName, QString());
    QCOMPARE(m_window->PMODE, QString());
    QVERIFY(!m_window->mnuSave->isEnabled());
    QVERIFY(!m_window->mnuSaveAs->isEnabled());
    QVERIFY(!m_window->mnuClose->isVisible());
    QVERIFY(m_window->mnuNew->isEnabled() && m_window->mnuOPen->isEnabled()
            && m_window->mnuExit->isEnabled() && m_window->mnuInsert->isEnabled()
            && m_window->mnuRemove->isEnabled() && m_window->mnuAbout->isEnabled());
    QCOMPARE(m_window->sbStatusBar->panels().size(), 7);
}

void TestFrmCreatePattern::newRightAfterStartAsksNothing()
{
    m_context->data.pickValue = QStringLiteral("PAYROLL");
    m_window->mnuNew_Click();
    QVERIFY(m_context->messages.shown.isEmpty());
    QCOMPARE(m_context->data.requests.size(), 1);
    const ListRequest &list = m_context->data.requests.constFirst();
    QCOMPARE(list.title, QStringLiteral("เลือกโหมดการทำงาน"));
    QCOMPARE(list.captions, (QStringList{"Mode", "ชื่อโหมด"}));
    QCOMPARE(list.widths, (QList<int>{0, 4000}));
    for (const ListRow &row : list.rows)
        QVERIFY(row.constFirst() != QLatin1String("ALL"));
    QCOMPARE(list.rows.size(), 4);

    QCOMPARE(m_window->PMODE, QStringLiteral("PAYROLL"));
    QCOMPARE(m_window->FileName, QStringLiteral("Untitled.PAT"));
    QCOMPARE(m_window->windowTitle(),
             kTitlePrefix + QStringLiteral("เงินเดือนพนักงาน (Payroll) ] - Untitled.PAT"));
    QVERIFY(!m_window->mnuSave->isEnabled());
    QVERIFY(m_window->mnuSaveAs->isEnabled());
    QCOMPARE(m_window->GridEditor1->RowCount(), 0);
    QCOMPARE(m_window->GridEditor1->CellText(0, 110), QStringLiteral("Field100"));
}

void TestFrmCreatePattern::newWithoutChoiceTakesBank()
{
    m_context->data.picks.enqueue(-1);
    m_window->mnuNew_Click();
    QCOMPARE(m_window->PMODE, QStringLiteral("BANK"));
    QCOMPARE(m_window->windowTitle(),
             kTitlePrefix + QStringLiteral("โอนเงินผ่านธนาคาร (Bank Transfer) ] - Untitled.PAT"));
}

void TestFrmCreatePattern::newWithUnreadableDatabase()
{
    // Not a database: the list opens empty, the mode falls back to BANK and
    // the title, which needs the mode's name, stays as it was.
    QFile::remove(m_install->designDatabase());
    QFile junk(m_install->designDatabase());
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, '\x5a'));
    junk.close();
    m_window->mnuNew_Click();
    QCOMPARE(m_context->data.requests.size(), 1);
    QVERIFY(m_context->data.requests.constFirst().rows.isEmpty());
    QCOMPARE(m_window->PMODE, QStringLiteral("BANK"));
    QCOMPARE(m_window->FileName, QStringLiteral("Untitled.PAT"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Text Export Pattern Designer File"));
    QVERIFY(m_window->mnuSaveAs->isEnabled());
    QCOMPARE(m_window->GridEditor1->model()->columnCount(), 101);
}

void TestFrmCreatePattern::newAnsweredNoDropsThePattern()
{
    newPattern(QStringLiteral("BANK"));
    fillRow(1, {QStringLiteral("[C]:A:1")});
    m_context->messages.answers.enqueue(QMessageBox::No);
    m_context->data.pickValue = QStringLiteral("TAX");
    m_window->mnuNew_Click();

    QCOMPARE(m_context->messages.texts(), QStringList{kSaveQuestion});
    const MessageRequest &question = m_context->messages.shown.constFirst();
    QCOMPARE(question.icon, QMessageBox::Critical);
    QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question.defaultButton, QMessageBox::Yes);
    QVERIFY(m_context->files.calls.isEmpty());
    QCOMPARE(m_window->PMODE, QStringLiteral("TAX"));
    QCOMPARE(m_window->GridEditor1->RowCount(), 0);
}

void TestFrmCreatePattern::newAnsweredYesButCancelledKeepsThePattern()
{
    newPattern(QStringLiteral("BANK"));
    fillRow(1, {QStringLiteral("[C]:A:1")});
    m_context->messages.answers.enqueue(QMessageBox::Yes);
    m_context->files.answers.enqueue(QString());   // Save As cancelled
    m_window->mnuNew_Click();

    QCOMPARE(m_context->files.calls.size(), 1);
    QVERIFY(m_context->files.calls.constFirst().saveMode);
    QCOMPARE(m_context->files.calls.constFirst().initialFile, QStringLiteral("Untitled.PAT"));
    QVERIFY(m_context->data.requests.isEmpty());
    QCOMPARE(m_window->PMODE, QStringLiteral("BANK"));
    QCOMPARE(rowCells(1), QStringList{QStringLiteral("[C]:A:1")});
}

void TestFrmCreatePattern::openCancelledChangesNothing()
{
    newPattern(QStringLiteral("BANK"));
    fillRow(1, {QStringLiteral("[C]:A:1")});
    const QString title = m_window->windowTitle();
    m_context->files.answers.enqueue(QString());
    m_window->mnuOPen_Click();
    QCOMPARE(m_context->files.calls.size(), 1);
    QVERIFY(!m_context->files.calls.constFirst().saveMode);
    QCOMPARE(m_context->files.calls.constFirst().filter, QStringLiteral("Pattern File (*.PAT)|*.PAT"));
    QCOMPARE(m_window->FileName, QStringLiteral("Untitled.PAT"));
    QCOMPARE(m_window->windowTitle(), title);
    QVERIFY(!m_window->mnuSave->isEnabled());
    QCOMPARE(rowCells(1), QStringList{QStringLiteral("[C]:A:1")});
}

void TestFrmCreatePattern::openLoadsFileAndRecalculates()
{
    const QString path = m_install->filePath(QStringLiteral("pay.PAT"));
    writeBytes(path, "[T];BANK;\r\n[G];[F]:{PAYAMT}:1,000:R:0:::0;[C]:AB\r\n[D];[C]:X\r\n");
    m_context->files.answers.enqueue(path);
    m_window->mnuOPen_Click();

    QVERIFY(m_context->messages.shown.isEmpty());
    QCOMPARE(m_window->FileName, path);
    QCOMPARE(m_window->PMODE, QStringLiteral("BANK"));
    QCOMPARE(m_window->windowTitle(),
             kTitlePrefix + QStringLiteral("โอนเงินผ่านธนาคาร (Bank Transfer) ] - ") + path);
    QVERIFY(m_window->mnuSave->isEnabled());
    QCOMPARE(m_window->GridEditor1->RowCount(), 2);
    QCOMPARE(m_window->GridEditor1->CellListIndex(1, 1), 1);
    QCOMPARE(rowCells(1), (QStringList{"[F]:{PAYAMT}:1,000:R:0:::0", "[C]:AB:2"}));
    // The last row read is current, the cursor in its type column.
    QCOMPARE(m_window->GridEditor1->Row(), 2);
    QCOMPARE(m_window->sbStatusBar->panelText(), QStringLiteral("Total Length = 1 Colume Length = 0"));
    m_window->GridEditor1->setCurrentCell(1, 12);
    QCOMPARE(m_window->sbStatusBar->panelText(),
             QStringLiteral("Total Length = 1,002 Colume Length = 1,002"));
}

void TestFrmCreatePattern::openRejectedFileKeepsGrid()
{
    newPattern(QStringLiteral("TAX"));
    fillRow(1, {QStringLiteral("[C]:KEEP:4")});
    const QString path = m_install->filePath(QStringLiteral("bad.PAT"));
    writeBytes(path, "[t];BANK;\r\n[H];[C]:A\r\n");
    m_context->files.answers.enqueue(path);
    m_window->mnuOPen_Click();

    QCOMPARE(m_context->messages.texts(), QStringList{kInvalid});
    QCOMPARE(m_context->messages.shown.constFirst().icon, QMessageBox::Information);
    QCOMPARE(m_window->FileName, QString());
    QCOMPARE(m_window->PMODE, QStringLiteral("TAX"));
    QCOMPARE(rowCells(1), QStringList{QStringLiteral("[C]:KEEP:4")});
    QVERIFY(m_window->windowTitle().endsWith(QStringLiteral(" ] - ")));
    QVERIFY(m_window->mnuSave->isEnabled());
}

void TestFrmCreatePattern::openUnreadableFileChangesNothing()
{
    newPattern(QStringLiteral("BANK"));
    const QString title = m_window->windowTitle();
    // A folder stands where a file is expected: unreadable for root too.
    const QString folder = m_install->filePath(QStringLiteral("folder.PAT"));
    QVERIFY(QDir(m_install->path()).mkdir(QStringLiteral("folder.PAT")));
    m_context->files.answers.enqueue(folder);
    m_window->mnuOPen_Click();

    QCOMPARE(m_context->messages.shown.size(), 1);
    QVERIFY(m_context->messages.shown.constFirst().text.contains(folder));
    QCOMPARE(m_context->messages.shown.constFirst().icon, QMessageBox::Critical);
    QCOMPARE(m_window->FileName, QStringLiteral("Untitled.PAT"));
    QCOMPARE(m_window->windowTitle(), title);
    QVERIFY(!m_window->mnuSave->isEnabled());
}

void TestFrmCreatePattern::saveWithoutFileNameRunsSaveAs()
{
    newPattern(QStringLiteral("BANK"));
    fillRow(1, {QStringLiteral("[C]:A:1")});
    m_window->FileName.clear();
    const QString path = m_install->filePath(QStringLiteral("named.PAT"));
    m_context->files.answers.enqueue(path);
    QVERIFY(m_window->mnuSave_Click());
    QCOMPARE(m_context->files.calls.size(), 1);
    QCOMPARE(readBytes(path), QByteArray("[T];BANK;\r\n[D];[C]:A\r\n"));
    QCOMPARE(m_window->FileName, path);
}

void TestFrmCreatePattern::saveAsNewName()
{
    newPattern(QStringLiteral("BANK"));
    m_window->GridEditor1->AddRow();
    m_window->GridEditor1->SetCellListIndex(1, 1, 0);
    fillRow(1, {QStringLiteral("[F]:{DOCNO}:10:R:0:::0")});
    const QString path = m_install->filePath(QStringLiteral("new.PAT"));
    m_context->files.answers.enqueue(path);
    QVERIFY(m_window->mnuSaveAs_Click());

    QCOMPARE(readBytes(path), QByteArray("[T];BANK;\r\n[H];[F]:{DOCNO}:10:R:0:::0\r\n"));
    QCOMPARE(m_context->messages.texts(), QStringList{kSaved});
    QCOMPARE(m_context->messages.shown.constFirst().icon, QMessageBox::NoIcon);
    QCOMPARE(m_context->messages.shown.constFirst().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(m_window->FileName, path);
    QVERIFY(m_window->windowTitle().endsWith(QStringLiteral(" ] - ") + path));
    QVERIFY(m_window->mnuSave->isEnabled());
}

void TestFrmCreatePattern::saveAsExisting_data()
{
    QTest::addColumn<bool>("overwrite");
    QTest::newRow("answered Yes") << true;
    QTest::newRow("answered No") << false;
}

void TestFrmCreatePattern::saveAsExisting()
{
    QFETCH(bool, overwrite);
    const QString former = m_install->filePath(QStringLiteral("former.PAT"));
    const QString existing = m_install->filePath(QStringLiteral("existing.PAT"));
    const QByteArray old("[T];TAX;\r\n[H];[C]:OLD\r\n");
    writeBytes(existing, old);
    writeBytes(former, "[T];BANK;\r\n[H];[C]:A\r\n");
    m_context->files.answers.enqueue(former);
    m_window->mnuOPen_Click();
    const QString title = m_window->windowTitle();
    m_context->messages.shown.clear();

    m_context->messages.answers.enqueue(overwrite ? QMessageBox::Yes : QMessageBox::No);
    m_context->files.answers.enqueue(existing);
    QCOMPARE(m_window->mnuSaveAs_Click(), overwrite);

    const MessageRequest &question = m_context->messages.shown.constFirst();
    QCOMPARE(question.text, kOverwrite);
    QCOMPARE(question.defaultButton, QMessageBox::No);
    QCOMPARE(question.icon, QMessageBox::NoIcon);
    if (overwrite) {
        QCOMPARE(readBytes(existing), QByteArray("[T];BANK;\r\n[H];[C]:A\r\n"));
        QCOMPARE(m_context->messages.texts(), (QStringList{kOverwrite, kSaved}));
        QCOMPARE(m_window->FileName, existing);
    } else {
        QCOMPARE(readBytes(existing), old);
        QCOMPARE(m_context->messages.texts(), QStringList{kOverwrite});
        QCOMPARE(m_window->FileName, former);
        QCOMPARE(m_window->windowTitle(), title);
        // A later Save writes the pattern's own file, not the refused one.
        m_window->GridEditor1->SetCellText(1, 12, QStringLiteral("[C]:B:1"));
        QVERIFY(m_window->mnuSave_Click());
        QCOMPARE(readBytes(existing), old);
        QCOMPARE(readBytes(former), QByteArray("[T];BANK;\r\n[H];[C]:A;[C]:B\r\n"));
    }
}

void TestFrmCreatePattern::saveAsUnwritableTargetTellsTheUser()
{
    newPattern(QStringLiteral("BANK"));
    fillRow(1, {QStringLiteral("[C]:A:1")});
    const QString title = m_window->windowTitle();
    const QString target = m_install->filePath(QStringLiteral("no-such-folder/x.PAT"));
    m_context->files.answers.enqueue(target);
    QVERIFY(!m_window->mnuSaveAs_Click());

    QCOMPARE(m_context->messages.shown.size(), 1);
    QVERIFY(m_context->messages.shown.constFirst().text.contains(target));
    QCOMPARE(m_context->messages.shown.constFirst().icon, QMessageBox::Critical);
    QCOMPARE(m_window->FileName, QStringLiteral("Untitled.PAT"));
    QCOMPARE(m_window->windowTitle(), title);
    QVERIFY(!m_window->mnuSave->isEnabled());
    QVERIFY(!QFile::exists(target));
}

void TestFrmCreatePattern::saveAfterSaveAsRewritesWithoutAsking()
{
    newPattern(QStringLiteral("BANK"));
    fillRow(1, {QStringLiteral("[C]:A:1")});
    const QString path = m_install->filePath(QStringLiteral("again.PAT"));
    m_context->files.answers.enqueue(path);
    QVERIFY(m_window->mnuSaveAs_Click());
    m_window->GridEditor1->SetCellText(1, 11, QStringLiteral("[C]:Z:1"));
    m_context->messages.shown.clear();
    QVERIFY(m_window->mnuSave_Click());
    QCOMPARE(m_context->files.calls.size(), 1);
    QCOMPARE(m_context->messages.texts(), QStringList{kSaved});
    QCOMPARE(readBytes(path), QByteArray("[T];BANK;\r\n[D];[C]:Z\r\n"));
}

void TestFrmCreatePattern::exitRightAfterStartCloses()
{
    m_window->mnuExit_Click();
    QVERIFY(m_context->messages.shown.isEmpty());
    QVERIFY(!m_window->isVisible());
}

void TestFrmCreatePattern::exitAndCloseBox_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QString>("saveAsAnswer");   // "-" for no dialog expected
    QTest::addColumn<bool>("closes");

    for (const bool closeBox : {false, true}) {
        const char *how = closeBox ? "close box" : "Exit";
        QTest::addRow("%s answered No", how) << closeBox << QMessageBox::No << "-" << true;
        QTest::addRow("%s answered Yes, saved", how) << closeBox << QMessageBox::Yes << "saved.PAT" << true;
        QTest::addRow("%s answered Yes, dialog cancelled", how) << closeBox << QMessageBox::Yes << "" << false;
        QTest::addRow("%s answered Yes, write failed", how)
            << closeBox << QMessageBox::Yes << "missing/saved.PAT" << false;
    }
}

void TestFrmCreatePattern::exitAndCloseBox()
{
    QFETCH(bool, closeBox);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QString, saveAsAnswer);
    QFETCH(bool, closes);

    newPattern(QStringLiteral("BANK"));
    fillRow(1, {QStringLiteral("[C]:A:1")});
    m_context->messages.answers.enqueue(answer);
    if (saveAsAnswer != QLatin1String("-"))
        m_context->files.answers.enqueue(saveAsAnswer.isEmpty() ? QString() : m_install->filePath(saveAsAnswer));

    if (closeBox)
        m_window->close();
    else
        m_window->mnuExit_Click();

    QCOMPARE(m_context->messages.shown.constFirst().text, kSaveQuestion);
    QCOMPARE(m_context->files.calls.size(), saveAsAnswer == QLatin1String("-") ? 0 : 1);
    QCOMPARE(m_window->isVisible(), !closes);
    if (!closes)
        QCOMPARE(rowCells(1), QStringList{QStringLiteral("[C]:A:1")});
    if (saveAsAnswer == QLatin1String("saved.PAT"))
        QCOMPARE(readBytes(m_install->filePath(saveAsAnswer)), QByteArray("[T];BANK;\r\n[D];[C]:A\r\n"));
}

void TestFrmCreatePattern::insertAndRemoveColumn_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("insert");
    QTest::addColumn<QStringList>("expected");   // the row's cells from column 11 on

    QStringList full;
    for (int i = 1; i <= 100; ++i)
        full.append(QStringLiteral("[C]:%1").arg(i));
    QStringList inserted11 = full;
    inserted11.prepend(QString());
    inserted11.removeLast();
    QStringList removed11 = full.mid(1);
    QStringList inserted109 = full;
    inserted109[98] = QString();
    inserted109[99] = full.at(98);
    QStringList removed109 = full;
    removed109[98] = full.at(99);
    removed109.removeLast();

    QTest::newRow("insert at 11") << 11 << true << inserted11;
    QTest::newRow("remove at 11") << 11 << false << removed11;
    QTest::newRow("insert at 109") << 109 << true << inserted109;
    QTest::newRow("remove at 109") << 109 << false << removed109;
    QTest::newRow("insert at 110") << 110 << true << full;
    QTest::newRow("remove at 110") << 110 << false << full;
    QTest::newRow("insert on the type column") << 1 << true << full;
    QTest::newRow("remove on the type column") << 1 << false << full;
    QTest::newRow("insert on column 5") << 5 << true << full;
}

void TestFrmCreatePattern::insertAndRemoveColumn()
{
    QFETCH(int, col);
    QFETCH(bool, insert);
    QFETCH(QStringList, expected);
    newPattern(QStringLiteral("BANK"));
    QStringList full;
    for (int i = 1; i <= 100; ++i)
        full.append(QStringLiteral("[C]:%1").arg(i));
    fillRow(1, full);
    fillRow(2, full);
    m_window->GridEditor1->setCurrentCell(1, col);
    if (insert)
        m_window->mnuInsert_Click();
    else
        m_window->mnuRemove_Click();
    QStringList cells = rowCells(1);
    while (cells.size() < expected.size())
        cells.append(QString());
    while (expected.size() < cells.size())
        expected.append(QString());
    QCOMPARE(cells, expected);
    QCOMPARE(rowCells(2), full);
}

void TestFrmCreatePattern::aboutChangesNothing()
{
    const QString title = m_window->windowTitle();
    m_window->mnuAbout_Click();
    QCOMPARE(m_context->messages.texts(), QStringList{QStringLiteral("ZN7 Library tool")});
    QCOMPARE(m_context->messages.shown.constFirst().icon, QMessageBox::NoIcon);
    QCOMPARE(m_context->messages.shown.constFirst().title, QString());
    QCOMPARE(m_window->windowTitle(), title);
}

QTEST_MAIN(TestFrmCreatePattern)
#include "tst_frmcreatepattern.moc"

// The designer window's commands, driven through the seams: message boxes,
// the file dialog and the selection list are answered by the test.

#include "testsupport.h"

#include "components/grideditor.h"
#include "components/gridtablemodel.h"
#include "designer/frmcreatepattern.h"
#include "designer/statusbar.h"

#include <QAction>
#include <QtTest>

namespace {

const QString kTitle = QStringLiteral("เครื่องมือสร้าง Pattern File [ Mode ");
const QString kBank = QStringLiteral("โอนเงินผ่านธนาคาร (Bank Transfer)");
const QString kSaveQuestion = QStringLiteral("Save your Data ?");
const QString kOverwrite = QStringLiteral("บันทึกทับไฟล์เดิมหรือไม่");
const QString kSaved = QStringLiteral("บันทึกข้อมูลเสร็จเรียบร้อย");

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
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init();
    void cleanup();
    void newAsksForTheMode_data();
    void newAsksForTheMode();
    void newWithUnreadableDatabase();
    void patternIsDroppedOnlyWhenSafe_data();
    void patternIsDroppedOnlyWhenSafe();
    void openLoadsFileAndRecalculates();
    void openRejectsFileWithoutModeLine();
    void openUnreadableFileChangesNothing();
    void saveWithoutFileNameRunsSaveAs();
    void saveAsExisting_data();
    void saveAsExisting();
    void saveAsUnwritableTargetTellsTheUser();
    void insertAndRemoveColumn_data();
    void insertAndRemoveColumn();

private:
    void newPattern(const QString &row1Cell);
    QString path(const char *name) const { return m_install->filePath(QLatin1String(name)); }

    SampleInstallation *m_install = nullptr;
    TestContext *m_context = nullptr;
    frmCreatePattern *m_window = nullptr;
};

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

// A new BANK pattern whose first row holds one cell; the records start empty.
void TestFrmCreatePattern::newPattern(const QString &row1Cell)
{
    m_context->data.pickValue = QStringLiteral("BANK");
    m_window->mnuNew_Click();
    m_context->data.pickValue.clear();
    m_context->data.requests.clear();
    m_window->GridEditor1->AddRow();
    m_window->GridEditor1->SetCellText(1, 11, row1Cell);
}

void TestFrmCreatePattern::newAsksForTheMode_data()
{
    QTest::addColumn<QString>("pick");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("name");
    QTest::newRow("payroll chosen") << "PAYROLL" << "PAYROLL" << "เงินเดือนพนักงาน (Payroll)";
    QTest::newRow("list closed without choice") << "" << "BANK" << kBank;
}

void TestFrmCreatePattern::newAsksForTheMode()
{
    QFETCH(QString, pick);
    QFETCH(QString, mode);
    QFETCH(QString, name);
    m_context->data.pickValue = pick;
    m_window->mnuNew_Click();

    QVERIFY(m_context->messages.shown.isEmpty());   // nothing to save yet
    QCOMPARE(m_context->data.requests.size(), 1);
    const ListRequest &list = m_context->data.requests.constFirst();
    QCOMPARE(list.title, QStringLiteral("เลือกโหมดการทำงาน"));
    QCOMPARE(list.captions, (QStringList{"Mode", "ชื่อโหมด"}));
    QCOMPARE(list.widths, (QList<int>{0, 4000}));
    QCOMPARE(list.rows.size(), 4);   // every mode but ALL
    QCOMPARE(m_window->PMODE, mode);
    QCOMPARE(m_window->windowTitle(), kTitle + name + QStringLiteral(" ] - Untitled.PAT"));
    QVERIFY(!m_window->mnuSave->isEnabled());
    QVERIFY(m_window->mnuSaveAs->isEnabled());
    QCOMPARE(m_window->GridEditor1->RowCount(), 0);
    QCOMPARE(m_window->GridEditor1->model()->columnCount(), 101);
}

void TestFrmCreatePattern::newWithUnreadableDatabase()
{
    // Not a database: the list opens empty, the mode falls back to BANK and
    // the title, which needs the mode's name, stays as it was.
    writeBytes(m_install->designDatabase(), QByteArray(4096, 'Z'));
    m_window->mnuNew_Click();
    QVERIFY(m_context->data.requests.constFirst().rows.isEmpty());
    QCOMPARE(m_window->PMODE, QStringLiteral("BANK"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Text Export Pattern Designer File"));
    QVERIFY(m_window->mnuSaveAs->isEnabled());
}

void TestFrmCreatePattern::patternIsDroppedOnlyWhenSafe_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QString>("saveAs");   // "-": no dialog; "": cancelled
    QTest::addColumn<bool>("dropped");

    for (const char *command : {"New", "Exit", "close box"}) {
        QTest::addRow("%s, No", command) << command << QMessageBox::No << "-" << true;
        QTest::addRow("%s, Yes, saved", command) << command << QMessageBox::Yes << "saved.PAT" << true;
        QTest::addRow("%s, Yes, cancelled", command) << command << QMessageBox::Yes << "" << false;
        QTest::addRow("%s, Yes, write failed", command)
            << command << QMessageBox::Yes << "missing/saved.PAT" << false;
    }
}

void TestFrmCreatePattern::patternIsDroppedOnlyWhenSafe()
{
    QFETCH(QString, command);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, dropped);
    newPattern(QStringLiteral("[C]:A:1"));
    m_context->messages.answers.enqueue(answer);
    if (saveAs != u"-")
        m_context->files.answers.enqueue(saveAs.isEmpty() ? QString() : m_install->filePath(saveAs));
    m_context->data.picks.enqueue(-1);

    if (command == u"New")
        m_window->mnuNew_Click();
    else if (command == u"Exit")
        m_window->mnuExit_Click();
    else
        m_window->close();

    const MessageRequest &question = m_context->messages.shown.constFirst();
    QCOMPARE(question.text, kSaveQuestion);
    QCOMPARE(question.icon, QMessageBox::Critical);
    QCOMPARE(question.defaultButton, QMessageBox::Yes);
    QCOMPARE(m_context->files.calls.size(), saveAs == u"-" ? 0 : 1);
    if (saveAs != u"-")
        QCOMPARE(m_context->files.calls.constFirst().initialFile, QStringLiteral("Untitled.PAT"));
    if (saveAs == u"saved.PAT")
        QCOMPARE(readBytes(path("saved.PAT")), QByteArray("[T];BANK;\r\n[D];[C]:A\r\n"));
    const bool gone = command == u"New" ? m_window->GridEditor1->RowCount() == 0
                                        : !m_window->isVisible();
    QCOMPARE(gone, dropped);
    if (!dropped)
        QCOMPARE(m_window->GridEditor1->CellText(1, 11), QStringLiteral("[C]:A:1"));
}

void TestFrmCreatePattern::openLoadsFileAndRecalculates()
{
    writeBytes(path("pay.PAT"), "[T];BANK;\r\n[G];[F]:{PAYAMT}:1,000:R:0:::0;[C]:AB\r\n[D];[C]:X\r\n");
    m_context->files.answers.enqueue(path("pay.PAT"));
    m_window->mnuOPen_Click();

    QVERIFY(m_context->messages.shown.isEmpty());
    QVERIFY(!m_context->files.calls.constFirst().saveMode);
    QCOMPARE(m_context->files.calls.constFirst().filter, QStringLiteral("Pattern File (*.PAT)|*.PAT"));
    QCOMPARE(m_window->PMODE, QStringLiteral("BANK"));
    QCOMPARE(m_window->windowTitle(), kTitle + kBank + QStringLiteral(" ] - ") + path("pay.PAT"));
    QVERIFY(m_window->mnuSave->isEnabled());
    QCOMPARE(m_window->GridEditor1->RowCount(), 2);
    QCOMPARE(m_window->GridEditor1->CellListIndex(1, 1), 1);
    QCOMPARE(m_window->GridEditor1->CellText(1, 12), QStringLiteral("[C]:AB:2"));
    // The cursor ends in the type column of the last row read.
    QCOMPARE(m_window->sbStatusBar->panelText(), QStringLiteral("Total Length = 1 Colume Length = 0"));
    m_window->GridEditor1->setCurrentCell(1, 12);
    QCOMPARE(m_window->sbStatusBar->panelText(), QStringLiteral("Total Length = 1,002 Colume Length = 1,002"));
}

void TestFrmCreatePattern::openRejectsFileWithoutModeLine()
{
    newPattern(QStringLiteral("[C]:KEEP:4"));
    writeBytes(path("bad.PAT"), "[t];TAX;\r\n[H];[C]:A\r\n");
    m_context->files.answers.enqueue(path("bad.PAT"));
    m_window->mnuOPen_Click();

    QCOMPARE(m_context->messages.texts(),
             QStringList{QStringLiteral("รูปแบบไฟล์  PATTERN ไม่ถูกต้อง กรุณาตรวจสอบข้อมูลให้ถูกต้อง")});
    QCOMPARE(m_context->messages.shown.constFirst().icon, QMessageBox::Information);
    QCOMPARE(m_window->FileName, QString());
    QCOMPARE(m_window->PMODE, QStringLiteral("BANK"));
    QCOMPARE(m_window->GridEditor1->CellText(1, 11), QStringLiteral("[C]:KEEP:4"));
    QCOMPARE(m_window->windowTitle(), kTitle + kBank + QStringLiteral(" ] - "));
    QVERIFY(m_window->mnuSave->isEnabled());
}

void TestFrmCreatePattern::openUnreadableFileChangesNothing()
{
    newPattern(QString());
    const QString title = m_window->windowTitle();
    // A folder where a file is expected cannot be read, by root either.
    QVERIFY(QDir(m_install->path()).mkdir(QStringLiteral("folder.PAT")));
    m_context->files.answers.enqueue(path("folder.PAT"));
    m_window->mnuOPen_Click();

    QCOMPARE(m_context->messages.shown.size(), 1);
    QVERIFY(m_context->messages.shown.constFirst().text.contains(path("folder.PAT")));
    QCOMPARE(m_window->FileName, QStringLiteral("Untitled.PAT"));
    QCOMPARE(m_window->windowTitle(), title);
    QVERIFY(!m_window->mnuSave->isEnabled());
}

void TestFrmCreatePattern::saveWithoutFileNameRunsSaveAs()
{
    newPattern(QStringLiteral("[C]:A:1"));
    m_window->FileName.clear();
    m_context->files.answers.enqueue(path("named.PAT"));
    QVERIFY(m_window->mnuSave_Click());
    QVERIFY(m_context->files.calls.constFirst().saveMode);
    QCOMPARE(m_context->messages.texts(), QStringList{kSaved});
    QCOMPARE(m_context->messages.shown.constFirst().icon, QMessageBox::NoIcon);
    QCOMPARE(m_window->FileName, path("named.PAT"));
    QVERIFY(m_window->mnuSave->isEnabled());

    // Save again: the same file, no dialog, no question.
    m_window->GridEditor1->SetCellText(1, 11, QStringLiteral("[C]:Z:1"));
    QVERIFY(m_window->mnuSave_Click());
    QCOMPARE(m_context->files.calls.size(), 1);
    QCOMPARE(readBytes(path("named.PAT")), QByteArray("[T];BANK;\r\n[D];[C]:Z\r\n"));
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
    const QByteArray old("[T];TAX;\r\n[H];[C]:OLD\r\n");
    writeBytes(path("existing.PAT"), old);
    writeBytes(path("former.PAT"), "[T];BANK;\r\n[H];[C]:A\r\n");
    m_context->files.answers.enqueue(path("former.PAT"));
    m_window->mnuOPen_Click();
    const QString title = m_window->windowTitle();

    m_context->messages.answers.enqueue(overwrite ? QMessageBox::Yes : QMessageBox::No);
    m_context->files.answers.enqueue(path("existing.PAT"));
    QCOMPARE(m_window->mnuSaveAs_Click(), overwrite);
    const MessageRequest &question = m_context->messages.shown.constFirst();
    QCOMPARE(question.text, kOverwrite);
    QCOMPARE(question.defaultButton, QMessageBox::No);
    QCOMPARE(question.icon, QMessageBox::NoIcon);
    if (overwrite) {
        QCOMPARE(readBytes(path("existing.PAT")), QByteArray("[T];BANK;\r\n[H];[C]:A\r\n"));
        QCOMPARE(m_context->messages.texts(), (QStringList{kOverwrite, kSaved}));
        return;
    }
    QCOMPARE(m_context->messages.texts(), QStringList{kOverwrite});
    QCOMPARE(m_window->windowTitle(), title);
    // The refused file keeps its bytes; a later Save writes the pattern's own file.
    m_window->GridEditor1->SetCellText(1, 12, QStringLiteral("[C]:B:1"));
    QVERIFY(m_window->mnuSave_Click());
    QCOMPARE(readBytes(path("existing.PAT")), old);
    QCOMPARE(readBytes(path("former.PAT")), QByteArray("[T];BANK;\r\n[H];[C]:A;[C]:B\r\n"));
}

void TestFrmCreatePattern::saveAsUnwritableTargetTellsTheUser()
{
    newPattern(QStringLiteral("[C]:A:1"));
    const QString title = m_window->windowTitle();
    const QString target = path("no-such-folder/x.PAT");
    m_context->files.answers.enqueue(target);
    QVERIFY(!m_window->mnuSaveAs_Click());

    QCOMPARE(m_context->messages.shown.size(), 1);
    QVERIFY(m_context->messages.shown.constFirst().text.contains(target));
    QCOMPARE(m_context->messages.shown.constFirst().icon, QMessageBox::Critical);
    QCOMPARE(m_window->FileName, QStringLiteral("Untitled.PAT"));
    QCOMPARE(m_window->windowTitle(), title);
    QVERIFY(!m_window->mnuSave->isEnabled());
}

void TestFrmCreatePattern::insertAndRemoveColumn_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("insert");
    QTest::addColumn<QString>("expected");   // cells 11.. as numbers, "-" for empty; tail: the last two
    QTest::newRow("insert at 11") << 11 << true << "- 1 2 | 98 99";
    QTest::newRow("remove at 11") << 11 << false << "2 3 4 | 100 -";
    QTest::newRow("insert at 109") << 109 << true << "1 2 3 | - 99";
    QTest::newRow("remove at 109") << 109 << false << "1 2 3 | 100 -";
    QTest::newRow("insert at 110") << 110 << true << "1 2 3 | 99 100";
    QTest::newRow("remove at 110") << 110 << false << "1 2 3 | 99 100";
    QTest::newRow("insert on the type column") << 1 << true << "1 2 3 | 99 100";
}

void TestFrmCreatePattern::insertAndRemoveColumn()
{
    QFETCH(int, col);
    QFETCH(bool, insert);
    QFETCH(QString, expected);
    newPattern(QString());
    GridEditor *grid = m_window->GridEditor1;
    grid->AddRow();
    for (int row = 1; row <= 2; ++row)
        for (int i = 1; i <= 100; ++i)
            grid->SetCellText(row, 10 + i, QString::number(i));
    grid->setCurrentCell(1, col);
    insert ? m_window->mnuInsert_Click() : m_window->mnuRemove_Click();

    auto cell = [grid](int row, int c) {
        const QString text = grid->CellText(row, c);
        return text.isEmpty() ? QStringLiteral("-") : text;
    };
    QCOMPARE(QStringLiteral("%1 %2 %3 | %4 %5").arg(cell(1, 11), cell(1, 12), cell(1, 13),
                                                    cell(1, 109), cell(1, 110)), expected);
    QCOMPARE(QStringLiteral("%1 %2").arg(cell(2, 11), cell(2, 110)), QStringLiteral("1 100"));
}

QTEST_MAIN(TestFrmCreatePattern)
#include "tst_frmcreatepattern.moc"

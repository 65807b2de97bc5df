// The road of one edit, through the real window, grid and field dialog:
// New, F2 on a field cell, the dialog's OK, Save As, the bytes on disk, Open.

#include "testsupport.h"

#include "components/grideditor.h"
#include "designer/frmcreatepattern.h"
#include "designer/statusbar.h"
#include "field/frmfield.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs `act` on the field dialog once it is shown modally; records whether it was.
class DialogDriver
{
public:
    explicit DialogDriver(std::function<void(frmField *)> act)
        : m_act(std::move(act))
    {
        poll();
    }
    bool shown() const { return m_shown; }
    QString caption() const { return m_caption; }

private:
    void poll()
    {
        // The guard ends the polling when the driver goes out of scope.
        QTimer::singleShot(10, &m_guard, [this] {
            auto *dialog = qobject_cast<frmField *>(QApplication::activeModalWidget());
            if (!dialog) {
                if (++m_tries < 300)
                    poll();
                return;
            }
            m_shown = true;
            m_caption = dialog->windowTitle();
            m_act(dialog);
        });
    }

    QObject m_guard;
    std::function<void(frmField *)> m_act;
    bool m_shown = false;
    QString m_caption;
    int m_tries = 0;
};

} // namespace

class TestEditRoad : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init();
    void cleanup();
    void newEditSaveOpen();
    void f2CancelKeepsTheCell_data();
    void f2CancelKeepsTheCell();
    void f2OnlyOnFieldColumns();

private:
    void pressF2(Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    SampleInstallation *m_install = nullptr;
    TestContext *m_context = nullptr;
    frmCreatePattern *m_window = nullptr;
};

void TestEditRoad::init()
{
    m_install = new SampleInstallation;
    QVERIFY(m_install->isValid());
    m_context = new TestContext;
    m_context->useDesignDatabase(m_install->designDatabase());
    m_window = new frmCreatePattern(*m_context);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    m_context->data.pickValue = QStringLiteral("BANK");
    m_window->mnuNew_Click();
    m_window->GridEditor1->AddRow();
}

void TestEditRoad::cleanup()
{
    delete m_window;
    delete m_context;
    delete m_install;
}

void TestEditRoad::pressF2(Qt::KeyboardModifiers modifiers)
{
    QTableView *view = m_window->GridEditor1->view();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F2, modifiers);
}

void TestEditRoad::newEditSaveOpen()
{
    GridEditor *grid = m_window->GridEditor1;
    grid->SetCellListIndex(1, 1, 0);
    grid->setCurrentCell(1, 11);

    DialogDriver driver([](frmField *dialog) {
        dialog->Combo1->setCurrentText(QStringLiteral("PAYAMT"));
        dialog->Text4->setText(QStringLiteral("15"));
        dialog->Combo2->setCurrentIndex(2);
        dialog->Text3->setText(QStringLiteral("0"));
        dialog->Command1->click();
    });
    pressF2();
    QVERIFY(driver.shown());
    QCOMPARE(driver.caption(), QStringLiteral("Field1"));
    QCOMPARE(grid->CellText(1, 11), QStringLiteral("[F]:{PAYAMT}:15:R:0:::0"));
    QCOMPARE(m_window->sbStatusBar->panelText(), QStringLiteral("Total Length = 15 Colume Length = 15"));

    grid->setCurrentCell(1, 12);
    DialogDriver constant([](frmField *dialog) {
        dialog->Option1[0]->setChecked(true);
        dialog->Text1->setText(QStringLiteral("โอนเงิน{NL}"));
        dialog->Command1->click();
    });
    pressF2();
    QVERIFY(constant.shown());
    QCOMPARE(grid->CellText(1, 12), QStringLiteral("[C]:โอนเงิน{NL}:7"));
    QCOMPARE(m_window->sbStatusBar->panelText(), QStringLiteral("Total Length = 22 Colume Length = 22"));

    const QString path = m_install->filePath(QStringLiteral("road.PAT"));
    m_context->files.answers.enqueue(path);
    QVERIFY(m_window->mnuSaveAs_Click());
    const QByteArray expected = QByteArray("[T];BANK;\r\n[H];[F]:{PAYAMT}:15:R:0:::0;[C]:")
        + QByteArray("\xe2\xcd\xb9\xe0\xa7\xd4\xb9") + QByteArray("{NL}\r\n");
    QCOMPARE(readBytes(path), expected);

    m_window->mnuNew_Click();   // answered by the default: Yes, then Save As cancelled
    QCOMPARE(grid->CellText(1, 11), QStringLiteral("[F]:{PAYAMT}:15:R:0:::0"));
    m_context->messages.answers.enqueue(QMessageBox::No);
    m_window->mnuNew_Click();
    QCOMPARE(grid->RowCount(), 0);

    m_context->files.answers.enqueue(path);
    m_window->mnuOPen_Click();
    QCOMPARE(m_window->PMODE, QStringLiteral("BANK"));
    QCOMPARE(grid->RowCount(), 1);
    QCOMPARE(grid->CellListIndex(1, 1), 0);
    QCOMPARE(grid->CellText(1, 11), QStringLiteral("[F]:{PAYAMT}:15:R:0:::0"));
    QCOMPARE(grid->CellText(1, 12), QStringLiteral("[C]:โอนเงิน{NL}:7"));
    grid->setCurrentCell(1, 12);
    QCOMPARE(m_window->sbStatusBar->panelText(), QStringLiteral("Total Length = 22 Colume Length = 22"));
}

void TestEditRoad::f2CancelKeepsTheCell_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("empty cell") << QString() << Qt::KeyboardModifiers();
    QTest::newRow("descriptor") << QStringLiteral("[F]:{DOCNO}:10:R:0:::0") << Qt::KeyboardModifiers();
    QTest::newRow("shift F2") << QStringLiteral("[C]:A:1") << Qt::KeyboardModifiers(Qt::ShiftModifier);
}

void TestEditRoad::f2CancelKeepsTheCell()
{
    QFETCH(QString, cell);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    GridEditor *grid = m_window->GridEditor1;
    grid->SetCellText(1, 15, cell);
    grid->setCurrentCell(1, 15);
    DialogDriver driver([](frmField *dialog) {
        dialog->Text4->setText(QStringLiteral("99"));
        dialog->Option1[0]->setChecked(true);
        dialog->Text1->setText(QStringLiteral("changed"));
        dialog->Command2->click();
    });
    pressF2(modifiers);
    QVERIFY(driver.shown());
    QCOMPARE(driver.caption(), QStringLiteral("Field5"));
    QCOMPARE(grid->CellText(1, 15), cell);
}

void TestEditRoad::f2OnlyOnFieldColumns()
{
    m_window->GridEditor1->setCurrentCell(1, 1);
    {
        DialogDriver none([](frmField *dialog) { dialog->Command2->click(); });
        pressF2();
        QTest::qWait(100);
        QVERIFY(!none.shown());
    }

    m_window->GridEditor1->setCurrentCell(1, 110);
    DialogDriver last([](frmField *dialog) { dialog->Command1->click(); });
    pressF2();
    QVERIFY(last.shown());
    QCOMPARE(last.caption(), QStringLiteral("Field100"));
    QCOMPARE(m_window->GridEditor1->CellText(1, 110), QStringLiteral("[F]:{BANKCODE}:1:L::::0"));
}

QTEST_MAIN(TestEditRoad)
#include "tst_editroad.moc"

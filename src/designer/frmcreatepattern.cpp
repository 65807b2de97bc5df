#include "frmcreatepattern.h"

#include "components/appcontext.h"
#include "components/datatools.h"
#include "components/filedialogs.h"
#include "components/grideditor.h"
#include "components/messageboxes.h"
#include "components/systemsettings.h"
#include "components/twips.h"
#include "designer/gridlayout.h"
#include "designer/linelength.h"
#include "designer/patternfile.h"
#include "designer/statusbar.h"
#include "field/frmfield.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>

namespace {

const QString kPatternFilter = QStringLiteral("Pattern File (*.PAT)|*.PAT");
const QString kUntitled = QStringLiteral("Untitled.PAT");

// Inner area of the window as designed, in twips.
constexpr int kDesignWidth = 10530;
constexpr int kDesignHeight = 4965;

} // namespace

frmCreatePattern::frmCreatePattern(AppContext &context, QWidget *parent)
    : QMainWindow(parent)
    , GridEditor1(nullptr)
    , sbStatusBar(new DesignerStatusBar(this))
    , m_context(context)
{
    setWindowTitle(QStringLiteral("Text Export Pattern Designer File"));
    createMenus();
    setStatusBar(sbStatusBar);

    // The grid fills the area between the menu bar and the status bar and
    // follows the window's size.
    GridEditor1 = new GridEditor(this);
    GridEditor1->setObjectName(QStringLiteral("GridEditor1"));
    setCentralWidget(GridEditor1);
    connect(GridEditor1, &GridEditor::KeyDown, this, &frmCreatePattern::GridEditor1_KeyDown);
    connect(GridEditor1, &GridEditor::CellChange, this, &frmCreatePattern::GridEditor1_CellChange);

    resize(Twips::toPixels(kDesignWidth, this),
           Twips::toPixels(kDesignHeight, this) + menuBar()->sizeHint().height()
               + sbStatusBar->sizeHint().height());
}

void frmCreatePattern::createMenus()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("File"));
    mnuNew = mnuFile->addAction(QStringLiteral("New..."), this, &frmCreatePattern::mnuNew_Click);
    mnuFile->addSeparator();
    mnuOPen = mnuFile->addAction(QStringLiteral("Open..."), this, &frmCreatePattern::mnuOPen_Click);
    mnuFile->addSeparator();
    mnuSave = mnuFile->addAction(QStringLiteral("Save"), this, [this] { mnuSave_Click(); });
    mnuSaveAs = mnuFile->addAction(QStringLiteral("Save As..."), this, [this] { mnuSaveAs_Click(); });
    mnuCloseSeparator = mnuFile->addSeparator();
    mnuCloseSeparator->setVisible(false);
    mnuClose = mnuFile->addAction(QStringLiteral("Close"));
    mnuClose->setVisible(false);
    mnuClose->setEnabled(false);
    mnuFile->addSeparator();
    mnuExit = mnuFile->addAction(QStringLiteral("Exit"), this, &frmCreatePattern::mnuExit_Click);
    mnuSave->setEnabled(false);
    mnuSaveAs->setEnabled(false);

    mnuEdit = menuBar()->addMenu(QStringLiteral("Edit"));
    mnuInsert = mnuEdit->addAction(QStringLiteral("Insert Column"), this, &frmCreatePattern::mnuInsert_Click);
    mnuRemove = mnuEdit->addAction(QStringLiteral("Remove Column"), this, &frmCreatePattern::mnuRemove_Click);

    mnuHelp = menuBar()->addMenu(QStringLiteral("Help"));
    mnuAbout = mnuHelp->addAction(QStringLiteral("About"), this, &frmCreatePattern::mnuAbout_Click);

    for (QAction *action : {mnuNew, mnuOPen, mnuSave, mnuSaveAs, mnuClose, mnuExit, mnuInsert,
                            mnuRemove, mnuAbout})
        action->setMenuRole(QAction::NoRole);
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
}

void frmCreatePattern::showMessage(const QString &text, int icon)
{
    MessageRequest request;
    request.text = text;
    request.icon = QMessageBox::Icon(icon);
    m_context.messageBoxes().show(this, request);
}

void frmCreatePattern::doMode()
{
    mnuSave->setEnabled(true);
    mnuSaveAs->setEnabled(true);
    const QString connection = m_context.systemSettings().DesignConnection();
    bool readable = false;
    const QString name = m_context.dataTools().LookupValue(
        QString(), 0, 0, QStringLiteral("TTxMMode"), PMODE, QStringLiteral("TTxMName"),
        QStringLiteral("ZN7TTextExportMode"), connection, &readable);
    // A database that cannot be read leaves the title as it was; a mode it
    // does not know shows an empty name.
    if (!readable)
        return;
    setWindowTitle(QStringLiteral("เครื่องมือสร้าง Pattern File [ Mode ") + name
                   + QStringLiteral(" ] - ") + FileName);
}

void frmCreatePattern::gridshow()
{
    GridLayout::layOut(*GridEditor1);
}

void frmCreatePattern::Recalculate()
{
    sbStatusBar->setPanelText(LineLength::statusText(LineLength::measure(*GridEditor1)));
}

bool frmCreatePattern::DoOpen()
{
    PatternReader reader;
    const QFileInfo info(FileName);
    if (info.exists() || info.isSymLink()) {
        if (!reader.readFile(FileName)) {
            showMessage(QStringLiteral("ไม่สามารถอ่านไฟล์ %1 ได้\nCannot read the file \"%1\": %2")
                            .arg(QDir::toNativeSeparators(FileName), reader.errorString()),
                        QMessageBox::Critical);
            return false;
        }
    }
    const QString mode = reader.mode();
    if (mode.isEmpty()) {
        showMessage(QStringLiteral("รูปแบบไฟล์  PATTERN ไม่ถูกต้อง กรุณาตรวจสอบข้อมูลให้ถูกต้อง"),
                    QMessageBox::Information);
        FileName.clear();
        return true;
    }
    PMODE = mode;
    gridshow();
    PatternFile::loadRows(reader.takeLines(), *GridEditor1);
    Recalculate();
    return true;
}

void frmCreatePattern::mnuOPen_Click()
{
    bool flag = false;
    bool saveMode = false;
    const QString path = m_context.fileDialogs().ChooseFile(QString(), FileName, kPatternFilter,
                                                            flag, saveMode, 0, 0);
    if (path.isEmpty())
        return;
    const QString former = FileName;
    FileName = path;
    if (!DoOpen()) {
        FileName = former;
        return;
    }
    doMode();
    mnuSave->setEnabled(true);
}

bool frmCreatePattern::mnuSaveAs_Click()
{
    bool flag = false;
    bool saveMode = true;
    const QString path = m_context.fileDialogs().ChooseFile(QString(), FileName, kPatternFilter,
                                                            flag, saveMode, 0, 0);
    if (path.isEmpty())
        return false;
    if (QFileInfo::exists(path)) {
        MessageRequest question;
        question.text = QStringLiteral("บันทึกทับไฟล์เดิมหรือไม่");
        question.buttons = QMessageBox::Yes | QMessageBox::No;
        question.defaultButton = QMessageBox::No;
        // Answered No, the former file name stays, so a later Save cannot
        // overwrite the file the user just refused to overwrite.
        if (m_context.messageBoxes().show(this, question) != QMessageBox::Yes)
            return false;
    }
    const QString former = FileName;
    FileName = path;
    if (!mnuSave_Click()) {
        FileName = former;
        return false;
    }
    return true;
}

bool frmCreatePattern::mnuSave_Click()
{
    if (FileName.isEmpty())
        return mnuSaveAs_Click();
    PatternWriter writer;
    if (!writer.save(FileName, PMODE, *GridEditor1)) {
        showMessage(QStringLiteral("ไม่สามารถบันทึกไฟล์ %1 ได้\nCannot save the file \"%1\": %2")
                        .arg(QDir::toNativeSeparators(FileName), writer.errorString()),
                    QMessageBox::Critical);
        return false;
    }
    doMode();
    mnuSave->setEnabled(true);
    showMessage(QStringLiteral("บันทึกข้อมูลเสร็จเรียบร้อย"), QMessageBox::NoIcon);
    return true;
}

bool frmCreatePattern::offerToSave()
{
    if (FileName.isEmpty())
        return true;
    MessageRequest question;
    question.text = QStringLiteral("Save your Data ?");
    question.icon = QMessageBox::Critical;
    question.buttons = QMessageBox::Yes | QMessageBox::No;
    question.defaultButton = QMessageBox::Yes;
    if (m_context.messageBoxes().show(this, question) != QMessageBox::Yes)
        return true;
    // The pattern is dropped only once it is safely written.
    return mnuSaveAs_Click();
}

void frmCreatePattern::mnuNew_Click()
{
    if (!offerToSave())
        return;
    const QString mode = m_context.dataTools().SelectFromList(
        QStringLiteral("เลือกโหมดการทำงาน"), QStringLiteral("TTxMMode"),
        QStringLiteral("TTxMMode,TTxMName"), QStringLiteral("Mode,ชื่อโหมด"),
        QStringLiteral("0,4000"), QStringLiteral("0,0"),
        QStringLiteral("Zn7TTextExportMode WHERE TTxMMode <>'ALL' ORDER BY TTxMName"),
        m_context.systemSettings().DesignConnection());
    PMODE = mode.isEmpty() ? QStringLiteral("BANK") : mode;
    FileName = kUntitled;
    doMode();
    gridshow();
    mnuSave->setEnabled(false);
}

void frmCreatePattern::mnuExit_Click()
{
    if (!offerToSave())
        return;
    m_closeAsked = true;
    close();
}

void frmCreatePattern::closeEvent(QCloseEvent *event)
{
    // The title bar's close box asks as Exit does; Exit has asked already.
    if (!m_closeAsked && !offerToSave()) {
        event->ignore();
        return;
    }
    m_closeAsked = false;
    event->accept();
}

void frmCreatePattern::mnuInsert_Click()
{
    const int col = GridEditor1->Col();
    if (!(col > GridLayout::kFirstFieldColumn - 1 && col < GridLayout::kLastFieldColumn))
        return;
    for (int i = GridLayout::kLastFieldColumn; i >= col + 1; --i)
        GridEditor1->SetCellText(GridEditor1->Row(), i, GridEditor1->CellText(GridEditor1->Row(), i - 1));
    GridEditor1->SetCellText(GridEditor1->Row(), col, QString());
}

void frmCreatePattern::mnuRemove_Click()
{
    const int col = GridEditor1->Col();
    if (!(col > GridLayout::kFirstFieldColumn - 1 && col < GridLayout::kLastFieldColumn))
        return;
    for (int i = col; i <= GridLayout::kLastFieldColumn - 1; ++i)
        GridEditor1->SetCellText(GridEditor1->Row(), i, GridEditor1->CellText(GridEditor1->Row(), i + 1));
    GridEditor1->SetCellText(GridEditor1->Row(), GridLayout::kLastFieldColumn, QString());
}

void frmCreatePattern::mnuAbout_Click()
{
    showMessage(QStringLiteral("ZN7 Library tool"), QMessageBox::NoIcon);
}

void frmCreatePattern::GridEditor1_KeyDown(int keyCode, int)
{
    if (keyCode != GridEditor::kKeyF2)
        return;
    const int col = GridEditor1->Col();
    if (col < GridLayout::kFirstFieldColumn || col > GridLayout::kLastFieldColumn)
        return;
    const QString caption = GridEditor1->CellText(0, col);
    const QString data = GridEditor1->CellText(GridEditor1->Row(), col);
    auto *dialog = new frmField(m_context, this);
    dialog->SetFormat(caption, PMODE, data);
    dialog->exec();
    GridEditor1->SetCellText(GridEditor1->Row(), GridEditor1->Col(), dialog->MDATA);
    delete dialog;
    Recalculate();
}

void frmCreatePattern::GridEditor1_CellChange()
{
    Recalculate();
}

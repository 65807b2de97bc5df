#include "frmcreatepattern.h"

#include "components/appcontext.h"
#include "components/designdatabase.h"
#include "components/grideditor.h"
#include "components/gridtablemodel.h"
#include "components/prompts.h"
#include "components/systemsettings.h"
#include "components/twips.h"
#include "designer/cellclipboard.h"
#include "designer/gridlayout.h"
#include "designer/layoutsheet.h"
#include "designer/linelength.h"
#include "designer/patternfile.h"
#include "designer/previewpanel.h"
#include "designer/recentfiles.h"
#include "designer/recentfilesmenu.h"
#include "designer/recoverykeeper.h"
#include "designer/statusbar.h"
#include "designer/windowmemory.h"
#include "field/frmfield.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QUndoStack>
#include <QDir>
#include <QDockWidget>
#include <QPrinter>
#include <QSettings>
#include <QShortcut>
#include <QTableView>
#include <QTimer>

#include <functional>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>

namespace {

// Runs `work` once `window` has painted for the first time, queued behind
// that paint.
void onFirstPaint(QWidget *window, std::function<void()> work)
{
    class Watcher final : public QObject
    {
    public:
        Watcher(QWidget *window, std::function<void()> work)
            : QObject(window)
            , m_work(std::move(work))
        {
            window->installEventFilter(this);
        }

    protected:
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Paint) {
                watched->removeEventFilter(this);
                QTimer::singleShot(0, parent(), m_work);
                deleteLater();
            }
            return false;
        }

    private:
        std::function<void()> m_work;
    };
    new Watcher(window, std::move(work));
}

const QString kUntitled = QStringLiteral("Untitled.PAT");

// Inner area of the window as designed, in twips.
constexpr int kDesignWidth = 10530;
constexpr int kDesignHeight = 4965;

} // namespace

frmCreatePattern::frmCreatePattern(AppContext &context, QWidget *parent)
    : QMainWindow(parent)
    , m_context(context)
    , GridEditor1(new GridEditor(this))
    , m_grid(*GridEditor1->model())
    , sbStatusBar(new DesignerStatusBar(this))
{
    setObjectName(QStringLiteral("frmCreatePattern"));
    setWindowTitle(QStringLiteral("Text Export Pattern Designer File"));
    createMenus();
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    setStatusBar(sbStatusBar);

    // The grid fills the area between the menu bar and the status bar and
    // follows the window's size.
    GridEditor1->setObjectName(QStringLiteral("GridEditor1"));
    GridEditor1->setAccessibleName(tr("Pattern grid"));
    menuBar()->setAccessibleName(tr("Menu"));
    setCentralWidget(GridEditor1);
    connect(GridEditor1, &GridEditor::KeyDown, this, &frmCreatePattern::GridEditor1_KeyDown);
    connect(GridEditor1, &GridEditor::CellChange, this, &frmCreatePattern::GridEditor1_CellChange);
    connect(&m_grid, &GridTableModel::patternChanged, this, &frmCreatePattern::onPatternChanged);
    createPreview();
    updateEditActions();

    m_recovery = new RecoveryKeeper(m_grid, RecoveryKeeper::defaultFolder(), this);
    m_recovery->setSource([this] { return RecoveryKeeper::Source{FileName, PMODE, m_guard.remembered()}; });
    // The pattern has changes not saved while its history is away from the
    // point it was opened, made or saved at: the copy follows that alone, so
    // undoing back to the saved pattern removes it too.
    connect(GridEditor1->history(), &QUndoStack::cleanChanged, m_recovery,
            [this](bool clean) { m_recovery->setModified(!clean); });
    connect(m_recovery, &RecoveryKeeper::failed, this,
            [this](const QString &notice) { m_context.notices().tell(notice, Notices::Icon::Warning); });
    m_memory = new WindowMemory(*this, *GridEditor1->findChild<QTableView *>());
    mnuRecent = new RecentFilesMenu(mnuFile, mnuExit);
    connect(mnuRecent, &RecentFilesMenu::chosen, this, &frmCreatePattern::openRecent);

    resize(Twips::toPixels(kDesignWidth, this),
           Twips::toPixels(kDesignHeight, this) + menuBar()->sizeHint().height()
               + sbStatusBar->sizeHint().height());
    // The window grows by the preview, so the grid keeps its own area.
    resize(width(), height() + previewHeight());
}

frmCreatePattern::~frmCreatePattern()
{
    // Taken apart with the grid, the history is cleared: that is neither a
    // save nor a drop, so the copy stays, as after a crash.
    GridEditor1->history()->disconnect(m_recovery);
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
    // The layout sheet, there whenever Save As is.
    mnuFile->addSeparator();
    mnuExportLayout = mnuFile->addAction(QStringLiteral("Export &Layout..."), this, &frmCreatePattern::mnuExportLayout_Click);
    mnuPrintLayout = mnuFile->addAction(QStringLiteral("&Print Layout..."), this, &frmCreatePattern::mnuPrintLayout_Click);
    mnuPrintLayout->setShortcut(QKeySequence::Print);
    for (QAction *action : {mnuExportLayout, mnuPrintLayout}) {
        action->setObjectName(action == mnuExportLayout ? QStringLiteral("mnuExportLayout") : QStringLiteral("mnuPrintLayout"));
        action->setMenuRole(QAction::NoRole);
        action->setEnabled(false);
        connect(mnuSaveAs, &QAction::enabledChanged, action, &QAction::setEnabled);
    }
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
    // Undo and Redo name the step they take back or make again.
    QUndoStack *history = GridEditor1->history();
    // Every item of the menu has a letter of its own.
    mnuUndo = history->createUndoAction(this, tr("&Undo"));
    mnuRedo = history->createRedoAction(this, tr("R&edo"));
    mnuEdit->addAction(mnuUndo);
    mnuEdit->addAction(mnuRedo);
    mnuEdit->addSeparator();
    mnuCut = mnuEdit->addAction(tr("Cu&t"), this, &frmCreatePattern::cutCells);
    mnuCopy = mnuEdit->addAction(tr("&Copy"), this, &frmCreatePattern::copyCells);
    mnuPaste = mnuEdit->addAction(tr("&Paste"), this, &frmCreatePattern::pasteCells);
    mnuEdit->addSeparator();
    mnuInsert = mnuEdit->addAction(QStringLiteral("Insert Column"), this, &frmCreatePattern::mnuInsert_Click);
    mnuRemove = mnuEdit->addAction(QStringLiteral("Remove Column"), this, &frmCreatePattern::mnuRemove_Click);
    mnuEdit->addSeparator();
    mnuMoveUp = mnuEdit->addAction(tr("Move &Line Up"), this, [this] { moveLine(-1); });
    mnuMoveDown = mnuEdit->addAction(tr("Move Line Do&wn"), this, [this] { moveLine(1); });
    mnuDuplicate = mnuEdit->addAction(tr("Duplicate Li&ne"), this, &frmCreatePattern::duplicateLine);

    mnuHelp = menuBar()->addMenu(QStringLiteral("Help"));
    mnuAbout = mnuHelp->addAction(QStringLiteral("About"), this, &frmCreatePattern::mnuAbout_Click);

    const std::pair<QAction *, const char *> actions[] = {
        {mnuNew, "mnuNew"},       {mnuOPen, "mnuOPen"},     {mnuSave, "mnuSave"},
        {mnuSaveAs, "mnuSaveAs"}, {mnuClose, "mnuClose"},   {mnuExit, "mnuExit"},
        {mnuInsert, "mnuInsert"}, {mnuRemove, "mnuRemove"}, {mnuAbout, "mnuAbout"},
        {mnuUndo, "mnuUndo"},     {mnuRedo, "mnuRedo"},     {mnuCut, "mnuCut"},
        {mnuCopy, "mnuCopy"},     {mnuPaste, "mnuPaste"},   {mnuMoveUp, "mnuMoveUp"},
        {mnuMoveDown, "mnuMoveDown"}, {mnuDuplicate, "mnuDuplicate"}};
    for (const auto &[action, name] : actions) {
        action->setObjectName(QLatin1String(name));
        action->setMenuRole(QAction::NoRole);
    }
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));

    // Keys, and mnemonics that underline a letter of the captions without
    // changing them. Insert and Remove Column take the spreadsheet keys for
    // inserting and deleting cells, which the grid's navigation leaves free.
    const struct
    {
        QAction *action;
        const char *caption;
        QList<QKeySequence> keys;
    } keyed[] = {
        {mnuNew, "&New...", {QKeySequence(Qt::CTRL | Qt::Key_N)}},
        {mnuOPen, "&Open...", {QKeySequence(Qt::CTRL | Qt::Key_O)}},
        {mnuSave, "&Save", {QKeySequence(Qt::CTRL | Qt::Key_S)}},
        {mnuSaveAs, "Save &As...", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}},
        {mnuExit, "E&xit", {QKeySequence(Qt::CTRL | Qt::Key_Q)}},
        {mnuInsert, "&Insert Column", {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}},
        {mnuRemove, "&Remove Column", {QKeySequence(Qt::CTRL | Qt::Key_Minus)}},
        {mnuAbout, "&About", {}},
    };
    for (const auto &k : keyed) {
        k.action->setText(QString::fromUtf8(k.caption));
        k.action->setShortcuts(k.keys);
    }
    mnuUndo->setShortcuts(QKeySequence::Undo);
    mnuRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    mnuCut->setShortcuts(QKeySequence::Cut);
    mnuCopy->setShortcuts(QKeySequence::Copy);
    mnuPaste->setShortcuts(QKeySequence::Paste);
    mnuMoveUp->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Up));
    mnuMoveDown->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    mnuDuplicate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    mnuFile->setTitle(QStringLiteral("&File"));
    mnuEdit->setTitle(QStringLiteral("&Edit"));
    mnuHelp->setTitle(QStringLiteral("&Help"));
}

void frmCreatePattern::createPreview()
{
    // The dock joins the window after its first paint, which it would cost
    // some milliseconds (the panel's font, the buttons' icons, the settings);
    // the window is made taller for it from the start.
    m_previewDock = new QDockWidget(tr("Output Preview"), this);
    m_previewDock->setObjectName(QStringLiteral("previewDock"));
    m_previewDock->hide();
    onFirstPaint(this, [this] {
        m_preview = new PreviewPanel;
        m_previewDock->setWidget(m_preview);
        addDockWidget(Qt::BottomDockWidgetArea, m_previewDock);
        resizeDocks({m_previewDock}, {previewHeight()}, Qt::Vertical);
        m_previewDock->setVisible(QSettings().value(QStringLiteral("preview/visible"), true).toBool());
        connect(m_preview, &PreviewPanel::cellChosen, this, [this](int row, int column) {
            m_grid.setCurrentCell(row, column == 0 ? m_grid.Col() : column);
            GridEditor1->findChild<QTableView *>()->setFocus();
        });
        updatePreviewLine();
        updateChecks();
    });

    QAction *toggle = m_previewDock->toggleViewAction();
    toggle->setObjectName(QStringLiteral("mnuPreview"));
    toggle->setText(QStringLiteral("Output &Preview"));
    auto *view = new QMenu(QStringLiteral("&View"), this);
    view->setObjectName(QStringLiteral("mnuView"));
    view->addAction(toggle);
    menuBar()->insertMenu(mnuHelp->menuAction(), view);

    connect(toggle, &QAction::triggered, this, [this] {
        updatePreviewLine();
        updateChecks();
    });

    // The checks go over the whole pattern: once typing pauses, not on
    // every change.
    m_checkTimer = new QTimer(this);
    m_checkTimer->setSingleShot(true);
    m_checkTimer->setInterval(200);
    connect(m_checkTimer, &QTimer::timeout, this, &frmCreatePattern::updateChecks);
    // F6 moves the focus between the grid and the preview.
    connect(new QShortcut(QKeySequence(Qt::Key_F6), this), &QShortcut::activated, this, [this] {
        if (!m_preview || m_previewDock->isHidden())
            return;
        if (GridEditor1->isAncestorOf(focusWidget()))
            m_preview->currentWidget()->setFocus();
        else
            GridEditor1->findChild<QTableView *>()->setFocus();
    });
}

int frmCreatePattern::previewHeight() const
{
    return fontMetrics().lineSpacing() * 16;
}

const PatternPreview::Samples &frmCreatePattern::samples()
{
    if (!m_samplesRead || m_samplesMode != PMODE) {
        m_samples = PatternPreview::Samples::of(
            DesignDatabase(m_context.systemSettings().DesignConnection()).fields(PMODE));
        m_samplesMode = PMODE;
        m_samplesRead = true;
    }
    return m_samples;
}

void frmCreatePattern::updatePreviewLine()
{
    if (!m_preview || m_previewDock->isHidden())
        return;
    const int row = m_grid.hasCurrentLine() ? m_grid.Row() : 0;
    m_preview->showRow(row, row ? PatternPreview::typeName(m_grid, row) : QString(),
                       row ? PatternPreview::renderRow(m_grid, row, samples()) : PatternPreview::RenderedRow(),
                       samples(), m_grid.Col());
}

void frmCreatePattern::updateChecks()
{
    if (!m_preview || m_previewDock->isHidden())
        return;
    // Checks made now make those the timer would make for the same changes:
    // a large pattern is not gone over twice (the first paint and the timer).
    m_checkTimer->stop();
    m_preview->showChecks(PatternPreview::loadChecks(m_loaded) + PatternPreview::check(m_grid, samples()));
    m_preview->showPattern(&m_grid, samples());
    updatePreviewLine();   // the marks of the line's checks
}

void frmCreatePattern::doMode()
{
    mnuSave->setEnabled(true);
    mnuSaveAs->setEnabled(true);
    const std::optional<QString> name =
        DesignDatabase(m_context.systemSettings().DesignConnection()).modeName(PMODE);
    // A database that cannot be read leaves the title as it was; a mode it
    // does not know shows an empty name.
    if (!name)
        return;
    setWindowTitle(QStringLiteral("เครื่องมือสร้าง Pattern File [ Mode ") + *name
                   + QStringLiteral(" ] - ") + FileName);
}

void frmCreatePattern::gridshow()
{
    GridLayout::layOut(m_grid);
}

void frmCreatePattern::Recalculate()
{
    sbStatusBar->setPanelText(LineLength::statusText(LineLength::measure(m_grid)));
}

bool frmCreatePattern::DoOpen()
{
    // The file is loaded into a grid of its own and takes the place of the
    // pattern only once it is whole: a file too large for the memory there
    // is leaves the pattern as it was.
    try {
        return readPattern();
    } catch (const std::bad_alloc &) {
        m_context.notices().tell(QStringLiteral("หน่วยความจำไม่พอสำหรับเปิดไฟล์ %1 งานเดิมยังอยู่ครบ\n"
                                                "There is not enough memory to open \"%1\". The pattern shown "
                                                "before is kept as it was.")
                                     .arg(QDir::toNativeSeparators(FileName)),
                                 Notices::Icon::Critical);
        return false;
    }
}

bool frmCreatePattern::readPattern()
{
    PatternReader reader;
    FileFingerprint opened;
    const QFileInfo info(FileName);
    if (info.exists() || info.isSymLink()) {
        if (!reader.readFile(FileName, &opened)) {
            m_context.notices().tell(
                QStringLiteral("ไม่สามารถอ่านไฟล์ %1 ได้\nCannot read the file \"%1\": %2")
                    .arg(QDir::toNativeSeparators(FileName), reader.errorString()),
                Notices::Icon::Critical);
            return false;
        }
    }
    if (!reader.mode().isEmpty() && reader.looksLikeUtf8()) {
        YesNoQuestion question;
        question.text = QStringLiteral("ไฟล์ %1 บันทึกเป็น UTF-8 แต่ไฟล์ Pattern ใช้รหัส windows-874 "
                                       "ต้องการอ่านเป็น UTF-8 หรือไม่\n"
                                       "The file \"%1\" is UTF-8; patterns are windows-874. Read it as "
                                       "UTF-8? Save then writes it in windows-874. No reads it as "
                                       "windows-874, as it stands.")
                            .arg(QDir::toNativeSeparators(FileName));
        question.yesIsDefault = true;
        if (m_context.questions().ask(question))
            reader.setEncoding(PatternFile::Encoding::Utf8);
    }
    if (reader.mode().isEmpty()) {
        m_context.notices().tell(QStringLiteral("รูปแบบไฟล์  PATTERN ไม่ถูกต้อง กรุณาตรวจสอบข้อมูลให้ถูกต้อง"),
                                 Notices::Icon::Information);
        FileName.clear();
        return true;
    }
    GridTableModel loaded;
    GridLayout::layOut(loaded);
    PatternFile::LoadReport report = PatternFile::loadRows(reader, loaded);
    report.rowLines = {};   // a number a row, which nothing here needs
    const QString mode = reader.mode();
    reader = PatternReader();   // its bytes are not needed beside the cells
    PMODE = mode;
    m_grid.takeContent(loaded);
    Recalculate();
    patternStored(opened);
    m_loaded = std::move(report);
    m_loadedFrom = FileName;
    return true;
}

void frmCreatePattern::tellCellsNotLoaded()
{
    const QList<PatternPreview::Check> lines = PatternPreview::loadChecks(m_loaded);
    if (lines.isEmpty())
        return;
    // The first lines, enough to find them; the checks list them all.
    constexpr int kShown = 10;
    QString text = QStringLiteral("บางบรรทัดในไฟล์ %1 มีข้อมูลเกิน 100 ช่อง จึงอ่านได้เพียง Field1 ถึง Field100\n"
                                  "Some lines of \"%1\" have more than 100 cells:")
                       .arg(QDir::toNativeSeparators(FileName));
    for (qsizetype i = 0; i < std::min<qsizetype>(lines.size(), kShown); ++i)
        text += QStringLiteral("\n") + lines.at(i).message;
    if (lines.size() > kShown)
        text += QStringLiteral("\n... and %1 more lines.").arg(lines.size() - kShown);
    text += QStringLiteral("\nSaving over the file keeps only the cells loaded.");
    m_context.notices().tell(text, Notices::Icon::Warning);
}

void frmCreatePattern::mnuOPen_Click()
{
    // As New does, before anything is chosen.
    if (!offerToSave(true))
        return;
    const QString path = m_context.fileChooser().chooseToOpen(FileName);
    if (!path.isEmpty())
        openFile(path);
}

void frmCreatePattern::openPath(const QString &path)
{
    if (offerToSave(true))
        openFile(path);
}

void frmCreatePattern::openFile(const QString &path)
{
    const QString former = FileName;
    FileName = path;
    if (!DoOpen()) {
        FileName = former;
        return;
    }
    doMode();
    // Said over the opened pattern, its title shown.
    tellCellsNotLoaded();
}

void frmCreatePattern::openRecent(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        RecentFiles::remove(path);
        m_context.notices().tell(QStringLiteral("ไม่พบไฟล์ %1 จึงนำออกจากรายการไฟล์ล่าสุด\n"
                                                "The file \"%1\" is no longer there; it was taken off "
                                                "the recent files.")
                                     .arg(QDir::toNativeSeparators(path)),
                                 Notices::Icon::Warning);
        return;
    }
    openPath(path);
}

void frmCreatePattern::patternStored(const FileFingerprint &file)
{
    m_guard.remember(file);
    RecentFiles::add(FileName);
    // What was not loaded is no longer in the file, or was never in this
    // one: the checks no longer list it.
    if (!m_loaded.overlong.isEmpty())
        m_checkTimer->start();
    m_loaded = {};
    m_loadedFrom.clear();
}

bool frmCreatePattern::offerRecovery()
{
    const std::optional<KeptPattern> kept = m_recovery->offerKept(m_context.questions(), m_context.notices());
    if (!kept)
        return false;
    PMODE = kept->mode;
    FileName = kept->fileName;
    m_guard.remember(kept->onDisk);
    gridshow();
    kept->loadRows(m_grid);
    doMode();
    mnuSave->setEnabled(FileName != kUntitled);
    Recalculate();
    m_loaded = {};
    m_loadedFrom.clear();
    // Not saved: a copy is kept from now on, as for an edit.
    GridEditor1->history()->resetClean();
    return true;
}

bool frmCreatePattern::mnuSaveAs_Click()
{
    if (!hasModeToSave())
        return false;
    const QString path = m_context.fileChooser().chooseToSave(FileName);
    if (path.isEmpty())
        return false;
    if (QFileInfo::exists(path)) {
        YesNoQuestion question;
        question.text = QStringLiteral("บันทึกทับไฟล์เดิมหรือไม่");
        // Answered No (Esc too: No keeps the file), the former file name
        // stays, so a later Save cannot overwrite the refused file.
        if (!m_context.questions().ask(question))
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
    if (!hasModeToSave() || !mayDropCellsNotLoaded() || !m_guard.mayWrite(FileName, m_context.questions()))
        return false;
    PatternWriter writer;
    if (!writer.save(FileName, PMODE, m_grid)) {
        m_context.notices().tell(
            QStringLiteral("ไม่สามารถบันทึกไฟล์ %1 ได้\nCannot save the file \"%1\": %2")
                .arg(QDir::toNativeSeparators(FileName), writer.errorString()),
            Notices::Icon::Critical);
        return false;
    }
    patternStored(writer.fingerprint());
    doMode();
    mnuSave->setEnabled(true);
    GridEditor1->history()->setClean();
    m_context.notices().tell(QStringLiteral("บันทึกข้อมูลเสร็จเรียบร้อย"));
    return true;
}

bool frmCreatePattern::hasModeToSave()
{
    // A file without a mode is no pattern: its own reader would reject it.
    if (!PMODE.isEmpty())
        return true;
    m_context.notices().tell(QStringLiteral("รูปแบบนี้ยังไม่มีโหมดการทำงาน จึงบันทึกไม่ได้\n"
                                            "The pattern has no working mode, so it cannot be saved. "
                                            "Choose one with File > New."),
                             Notices::Icon::Warning);
    return false;
}

bool frmCreatePattern::mayDropCellsNotLoaded()
{
    if (m_loaded.overlong.isEmpty() || FileName != m_loadedFrom)
        return true;
    const PatternFile::LoadReport::Overlong &first = m_loaded.overlong.constFirst();
    YesNoQuestion question;
    question.text = QStringLiteral("ไฟล์ %1 มีบรรทัดที่มีข้อมูลเกิน 100 ช่อง หากบันทึกทับ ข้อมูลตั้งแต่ช่องที่ 101 "
                                   "จะหายไป ต้องการบันทึกทับหรือไม่\n"
                                   "\"%1\" has lines of more than 100 cells (line %2: %3 cells). Saving over "
                                   "it keeps only Field1 to Field100 of them. Save over it?")
                        .arg(QDir::toNativeSeparators(FileName), QString::number(first.line),
                             QString::number(first.cells));
    return m_context.questions().ask(question);
}

bool frmCreatePattern::hasUnsavedChanges() const
{
    return !GridEditor1->history()->isClean();
}

bool frmCreatePattern::offerToSave(bool onlyChanges)
{
    // Unsaved changes always ask. Without them New, Exit and the close box
    // ask for a pattern with a file name, and Open does not ask.
    if (!hasUnsavedChanges() && (onlyChanges || FileName.isEmpty()))
        return true;
    YesNoQuestion question;
    question.text = QStringLiteral("Save your Data ?");
    question.critical = true;
    question.yesIsDefault = true;
    // No drops the pattern: only a button may say so, never Esc.
    question.escapeAnswersNo = false;
    if (!m_context.questions().ask(question))
        return true;
    // The pattern is dropped only once it is safely written.
    return mnuSaveAs_Click();
}

void frmCreatePattern::mnuNew_Click()
{
    if (!offerToSave(false))
        return;
    // When the modes cannot be read, no list is shown and the mode stays.
    if (const auto modes = DesignDatabase(m_context.systemSettings().DesignConnection()).modes())
        PMODE = m_context.modePicker().pickMode(*modes);
    if (PMODE.isEmpty())
        PMODE = QStringLiteral("BANK");
    FileName = kUntitled;
    doMode();
    gridshow();
    mnuSave->setEnabled(false);
    m_guard.remember({});
    m_loaded = {};
    m_loadedFrom.clear();
}

void frmCreatePattern::mnuExit_Click()
{
    if (!offerToSave(false))
        return;
    m_closeAsked = true;
    close();
}

void frmCreatePattern::closeEvent(QCloseEvent *event)
{
    // The title bar's close box asks as Exit does; Exit has asked already.
    if (!m_closeAsked && !offerToSave(false)) {
        event->ignore();
        return;
    }
    m_closeAsked = false;
    // The preview's close button hides it too; the next start shows it as
    // the user left it.
    if (m_preview)
        QSettings().setValue(QStringLiteral("preview/visible"), !m_previewDock->isHidden());
    // The pattern was saved or dropped: nothing is left unsaved, and a clean
    // exit keeps no copy.
    GridEditor1->history()->setClean();
    m_memory->save();
    event->accept();
}

void frmCreatePattern::mnuInsert_Click()
{
    const int col = m_grid.Col();
    if (!m_grid.hasCurrentLine()
        || !(col > GridLayout::kFirstFieldColumn - 1 && col < GridLayout::kLastFieldColumn))
        return;
    GridEditor1->perform(tr("Insert Column"),
                         [&] { m_grid.insertCell(m_grid.Row(), col, GridLayout::kLastFieldColumn); });
}

void frmCreatePattern::mnuRemove_Click()
{
    const int col = m_grid.Col();
    if (!m_grid.hasCurrentLine()
        || !(col > GridLayout::kFirstFieldColumn - 1 && col < GridLayout::kLastFieldColumn))
        return;
    GridEditor1->perform(tr("Remove Column"),
                         [&] { m_grid.removeCell(m_grid.Row(), col, GridLayout::kLastFieldColumn); });
}

void frmCreatePattern::mnuAbout_Click()
{
    m_context.notices().tell(QStringLiteral("ZN7 Library tool"));
}

PatternLayout::SheetHeading frmCreatePattern::layoutHeading()
{
    const auto name = DesignDatabase(m_context.systemSettings().DesignConnection()).modeName(PMODE);
    return {QDir::toNativeSeparators(FileName), PMODE, name.value_or(QString()), QDate::currentDate()};
}

void frmCreatePattern::mnuExportLayout_Click()
{
    // The pattern's name with the sheet's suffix, beside it.
    const QFileInfo pattern(FileName);
    const QString base = pattern.completeBaseName().isEmpty() ? QStringLiteral("layout") : pattern.completeBaseName();
    const QString path = m_context.fileChooser().chooseLayoutExport(pattern.dir().filePath(base + QStringLiteral(".pdf")));
    if (path.isEmpty())
        return;
    LayoutSheet sheet(layoutHeading(), m_grid, samples());
    if (!sheet.save(path))
        m_context.notices().tell(QStringLiteral("ไม่สามารถส่งออกไฟล์ %1 ได้\nCannot export the layout to \"%1\": %2")
                                     .arg(QDir::toNativeSeparators(path), sheet.errorString()),
                                 Notices::Icon::Critical);
}

void frmCreatePattern::mnuPrintLayout_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QFileInfo(FileName).fileName());
    if (!m_context.fileChooser().choosePrinter(printer))
        return;
    LayoutSheet sheet(layoutHeading(), m_grid, samples());
    if (!sheet.print(printer))
        m_context.notices().tell(QStringLiteral("ไม่สามารถพิมพ์ได้\nCannot print the layout: %1").arg(sheet.errorString()),
                                 Notices::Icon::Critical);
}

void frmCreatePattern::GridEditor1_KeyDown(int keyCode, int)
{
    if (keyCode != GridEditor::kKeyF2 || !m_grid.hasCurrentLine())
        return;
    const int col = m_grid.Col();
    if (col < GridLayout::kFirstFieldColumn || col > GridLayout::kLastFieldColumn)
        return;
    const QString caption = m_grid.CellText(0, col);
    const QString data = m_grid.CellText(m_grid.Row(), col);
    auto *dialog = new frmField(m_context, this);
    dialog->SetFormat(caption, PMODE, data);
    dialog->exec();
    GridEditor1->perform(tr("Field Change"),
                         [&] { m_grid.SetCellText(m_grid.Row(), m_grid.Col(), dialog->MDATA); });
    delete dialog;
    Recalculate();
}

void frmCreatePattern::GridEditor1_CellChange()
{
    Recalculate();
    updatePreviewLine();
    updateEditActions();
}

void frmCreatePattern::updateEditActions()
{
    const bool line = m_grid.hasCurrentLine();
    for (QAction *action : {mnuCut, mnuCopy, mnuMoveUp, mnuMoveDown, mnuDuplicate})
        action->setEnabled(line);
    mnuPaste->setEnabled(m_grid.columnCount() > 0);
}

void frmCreatePattern::copyCells()
{
    const GridEditor::Selection picked = GridEditor1->selection();
    if (picked.rows.isEmpty())
        return;
    QGuiApplication::clipboard()->setText(
        CellClipboard::copy(m_grid, picked.rows, picked.firstColumn, picked.lastColumn));
}

void frmCreatePattern::cutCells()
{
    if (GridEditor1->selection().rows.isEmpty())
        return;
    copyCells();
    GridEditor1->clearSelection(tr("Cut"));
}

void frmCreatePattern::pasteCells()
{
    const GridEditor::Selection picked = GridEditor1->selection();
    const int col = picked.firstColumn ? picked.firstColumn : GridLayout::kTypeColumn;
    const CellClipboard::Paste paste =
        CellClipboard::parse(m_grid, QGuiApplication::clipboard()->text(), col);
    if (!paste.error.isEmpty()) {
        m_context.notices().tell(paste.error, Notices::Icon::Warning);
        return;
    }
    if (paste.rows.isEmpty())
        return;
    // The lines go into the pattern's lines from the selection's top on;
    // what they leave over goes into new lines at the end.
    QList<int> rows;
    for (int row = picked.rows.isEmpty() ? m_grid.RowCount() + 1 : picked.rows.front();
         row <= m_grid.RowCount() && rows.size() < paste.rows.size(); ++row) {
        if (!m_grid.IsRowRemoved(row))
            rows.append(row);
    }
    qsizetype widest = 0;
    for (const QStringList &cells : paste.rows)
        widest = std::max(widest, cells.size());
    GridEditor1->perform(tr("Paste"), [&] {
        const int missing = int(paste.rows.size() - rows.size());
        if (missing > 0) {
            const int first = m_grid.RowCount() + 1;
            m_grid.insertRows(first, missing);
            for (int row = first; row < first + missing; ++row)
                rows.append(row);
        }
        for (qsizetype i = 0; i < paste.rows.size(); ++i)
            m_grid.setRowCells(rows.at(i), col, paste.rows.at(i));
        const int last = m_grid.columnOfSection(m_grid.sectionOfColumn(col) + int(std::max<qsizetype>(widest, 1)) - 1);
        GridEditor1->select(rows.front(), rows.back(), col, last);
    });
}

void frmCreatePattern::moveLine(int direction)
{
    if (!m_grid.hasCurrentLine())
        return;
    const int row = m_grid.Row();
    int other = row + direction;
    while (other >= 1 && other <= m_grid.RowCount() && m_grid.IsRowRemoved(other))
        other += direction;
    if (other < 1 || other > m_grid.RowCount())
        return;
    GridEditor1->perform(direction < 0 ? tr("Move Line Up") : tr("Move Line Down"), [&] {
        const QList<QString> moving = m_grid.rowCells(row);
        m_grid.setRowCells(row, GridLayout::kTypeColumn, m_grid.rowCells(other));
        m_grid.setRowCells(other, GridLayout::kTypeColumn, moving);
        m_grid.setCurrentCell(other, m_grid.Col());
    });
}

void frmCreatePattern::duplicateLine()
{
    if (!m_grid.hasCurrentLine())
        return;
    const int row = m_grid.Row();
    GridEditor1->perform(tr("Duplicate Line"),
                         [&] { m_grid.insertRows(row + 1, 1, m_grid.rowCells(row)); });
}

void frmCreatePattern::onPatternChanged(const GridChange &change)
{
    // An edit of the line under the cursor shows its lengths at once. A new
    // layout or a bulk load leaves them to the command that made it: New
    // keeps the former text, Open recalculates.
    // Rows that come or go move the lines after them.
    const bool rowsMoved = change.kind == GridChange::Kind::RowAdded
                           || change.kind == GridChange::Kind::RowErased
                           || change.kind == GridChange::Kind::RowRestored;
    const bool currentLine =
        change.kind != GridChange::Kind::Reset && (rowsMoved || change.row == m_grid.Row());
    if (currentLine)
        Recalculate();
    // The preview's line follows its own row's changes; every change may
    // change the checks.
    if (currentLine || change.kind == GridChange::Kind::Reset)
        updatePreviewLine();
    m_checkTimer->start();
    updateEditActions();
}

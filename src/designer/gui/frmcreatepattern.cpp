#include "frmcreatepattern.h"

#include "components/appcontext.h"
#include "components/designdatabase.h"
#include "components/gui/grideditor.h"
#include "components/gridtablemodel.h"
#include "components/prompts.h"
#include "components/systemsettings.h"
#include "components/gui/twips.h"
#include "designer/patternrows.h"
#include "designer/cellclipboard.h"
#include "components/codepage.h"
#include "components/texttools.h"
#include "components/wholefile.h"
#include "designer/exportmatch.h"
#include "designer/fieldlist.h"
#include "designer/gui/fieldpalette.h"
#include "designer/gridlayout.h"
#include "designer/gui/exportwindow.h"
#include "designer/gui/layoutsheet.h"
#include "designer/layouttable.h"
#include "designer/linefill.h"
#include "designer/linelength.h"
#include "designer/gui/patterndocument.h"
#include "designer/patternfile.h"
#include "designer/gui/previewpanel.h"
#include "designer/recentfiles.h"
#include "designer/gui/recentfilesmenu.h"
#include "designer/recoverykeeper.h"
#include "designer/gui/statusbar.h"
#include "designer/gui/windowmemory.h"
#include "field/fielddescriptor.h"
#include "field/gui/frmfield.h"

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
#include <QUrl>

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
    , m_document(new PatternDocument(this))
    , GridEditor1(new GridEditor(m_document->history(), this))
    , m_grid(*GridEditor1->model())
    , sbStatusBar(new DesignerStatusBar(this))
{
    setObjectName(QStringLiteral("frmCreatePattern"));
    setWindowTitle(QStringLiteral("Text Export Pattern Designer File"));
    createMenus();
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    setStatusBar(sbStatusBar);

    // The grid lies at the top left of the area between the menu bar and
    // the status bar (and the preview), sized by Form_Resize from the
    // window's size. Nothing in that area sets the window's least size.
    GridEditor1->setObjectName(QStringLiteral("GridEditor1"));
    GridEditor1->setAccessibleName(tr("Pattern grid"));
    menuBar()->setAccessibleName(tr("Menu"));
    m_gridArea = new QWidget(this);
    m_gridArea->setObjectName(QStringLiteral("gridArea"));
    GridEditor1->setParent(m_gridArea);
    m_gridArea->installEventFilter(this);
    setCentralWidget(m_gridArea);
    connect(GridEditor1, &GridEditor::KeyDown, this, &frmCreatePattern::GridEditor1_KeyDown);
    connect(GridEditor1, &GridEditor::CellChange, this, &frmCreatePattern::GridEditor1_CellChange);
    connect(&m_grid, &GridTableModel::patternChanged, this, &frmCreatePattern::onPatternChanged);
    createPreview();
    createPalette();
    updateEditActions();

    m_recovery = new RecoveryKeeper(m_grid, RecoveryKeeper::defaultFolder(), RecoveryKeeper::kInterval, this);
    m_recovery->setSource([this] { return RecoveryKeeper::Source{FileName, PMODE, m_document->guard().remembered()}; });
    // A copy is kept while the document has changes not saved, and only then:
    // undoing back to the saved pattern removes it too.
    connect(m_document, &PatternDocument::modifiedChanged, m_recovery, &RecoveryKeeper::setModified);
    connect(m_recovery, &RecoveryKeeper::failed, this,
            [this](const QString &notice) { m_context.notices().tell(notice, Notices::Icon::Warning); });
    m_memory = new WindowMemory(*this, *GridEditor1->findChild<QTableView *>());
    mnuRecent = new RecentFilesMenu(mnuFile, mnuExit);
    connect(mnuRecent, &RecentFilesMenu::chosen, this, &frmCreatePattern::openRecent);

    // The inner area as designed, the status bar in it, the menu bar (which
    // is no part of it where the design comes from) above it; the preview,
    // when shown, takes its place from the grid's.
    resize(Twips::toPixels(kDesignWidth, this), Twips::toPixels(kDesignHeight, this) + menuBar()->sizeHint().height());
}

void frmCreatePattern::Form_Resize()
{
    const QRect outer = frameGeometry();
    // What the preview takes between the grid's area and the status bar,
    // and what the field palette takes beside the area.
    const QRect area = m_gridArea->geometry();
    const int preview = qMax(0, sbStatusBar->geometry().top() - area.bottom() - 1);
    const int palette = qMax(0, width() - area.width());
    GridEditor1->move(0, 0);
    GridEditor1->resize(GridEditor1->width(), qAbs(outer.height() - preview - Twips::toPixels(1300, this)));
    GridEditor1->resize(qAbs(outer.width() - palette - Twips::toPixels(220, this)), GridEditor1->height());
}

void frmCreatePattern::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    Form_Resize();
}

bool frmCreatePattern::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_gridArea && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

frmCreatePattern::~frmCreatePattern()
{
    // Taken apart with the grid, the history is cleared: that is neither a
    // save nor a drop, so the copy stays, as after a crash.
    m_document->disconnect(m_recovery);
}

void frmCreatePattern::createMenus()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("File"));
    mnuNew = mnuFile->addAction(QStringLiteral("New..."), this, &frmCreatePattern::mnuNew_Click);
    mnuImportTable = mnuFile->addAction(tr("&Import Layout Table..."), this, &frmCreatePattern::mnuImportTable_Click);
    mnuImportTable->setObjectName(QStringLiteral("mnuImportTable"));
    mnuImportTable->setMenuRole(QAction::NoRole);
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
    mnuInspect = mnuFile->addAction(tr("Inspec&t Export File..."), this, &frmCreatePattern::mnuInspect_Click);
    const std::pair<QAction *, const char *> sheets[] = {
        {mnuExportLayout, "mnuExportLayout"}, {mnuPrintLayout, "mnuPrintLayout"}, {mnuInspect, "mnuInspect"}};
    for (const auto &[action, name] : sheets) {
        action->setObjectName(QLatin1String(name));
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
    QUndoStack *history = m_document->history();
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
    mnuInsertLineAbove = mnuEdit->addAction(tr("Insert Line &Above"), this, [this] { insertLine(false); });
    mnuInsertLineBelow = mnuEdit->addAction(tr("Insert Line &Below"), this, [this] { insertLine(true); });
    mnuRemoveLine = mnuEdit->addAction(tr("Re&move Line"), this, &frmCreatePattern::removeLine);
    mnuEdit->addSeparator();
    mnuInsertFiller = mnuEdit->addAction(tr("Insert &Filler..."), this, &frmCreatePattern::insertFiller);
    mnuFillLine = mnuEdit->addAction(tr("Fill Line to Record Len&gth"), this, &frmCreatePattern::fillLineToRecordLength);

    mnuHelp = menuBar()->addMenu(QStringLiteral("Help"));
    mnuAbout = mnuHelp->addAction(QStringLiteral("About"), this, &frmCreatePattern::mnuAbout_Click);

    const std::pair<QAction *, const char *> actions[] = {
        {mnuNew, "mnuNew"},       {mnuOPen, "mnuOPen"},     {mnuSave, "mnuSave"},
        {mnuSaveAs, "mnuSaveAs"}, {mnuClose, "mnuClose"},   {mnuExit, "mnuExit"},
        {mnuInsert, "mnuInsert"}, {mnuRemove, "mnuRemove"}, {mnuAbout, "mnuAbout"},
        {mnuUndo, "mnuUndo"},     {mnuRedo, "mnuRedo"},     {mnuCut, "mnuCut"},
        {mnuCopy, "mnuCopy"},     {mnuPaste, "mnuPaste"},   {mnuMoveUp, "mnuMoveUp"},
        {mnuMoveDown, "mnuMoveDown"}, {mnuDuplicate, "mnuDuplicate"},
        {mnuInsertLineAbove, "mnuInsertLineAbove"}, {mnuInsertLineBelow, "mnuInsertLineBelow"},
        {mnuRemoveLine, "mnuRemoveLine"}, {mnuInsertFiller, "mnuInsertFiller"}, {mnuFillLine, "mnuFillLine"}};
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
    // Return inserts a line as in a spreadsheet's row commands; the grid
    // takes neither key with Ctrl.
    mnuInsertLineAbove->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Return));
    mnuInsertLineBelow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    mnuRemoveLine->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete));
    mnuInsertFiller->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    mnuFillLine->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
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
        m_preview->setRecordLength(m_recordLength);
        connect(m_preview, &PreviewPanel::cellChosen, this, [this](int row, int column) {
            // Row 0 is the pattern as a whole, its mode: no cell to go to.
            if (row < 1)
                return;
            m_grid.setCurrentCell(row, column == 0 ? m_grid.Col() : column);
            GridEditor1->findChild<QTableView *>()->setFocus();
        });
        connect(m_preview, &PreviewPanel::recordLengthChanged, this, &frmCreatePattern::setRecordLength);
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

void frmCreatePattern::createPalette()
{
    // As the preview, the palette joins the window after its first paint.
    m_paletteDock = new QDockWidget(tr("Fields"), this);
    m_paletteDock->setObjectName(QStringLiteral("paletteDock"));
    m_paletteDock->hide();
    onFirstPaint(this, [this] {
        m_palette = new FieldPalette;
        m_paletteDock->setWidget(m_palette);
        addDockWidget(Qt::LeftDockWidgetArea, m_paletteDock);
        m_paletteDock->setVisible(QSettings().value(QStringLiteral("palette/visible"), true).toBool());
        connect(m_palette, &FieldPalette::fieldChosen, this, [this](const QString &identifier) {
            const std::optional<QString> descriptor = m_palette->list().descriptorFor(identifier);
            if (!descriptor)
                return;
            if (!onFieldCell()) {
                statusBar()->showMessage(tr("Put the grid's cursor on a field cell of a line first"), 5000);
                return;
            }
            putCell(tr("Put Field"), m_grid.Row(), m_grid.Col(), *descriptor, true);
        });
        updatePalette();
    });
    // A field dropped onto a field cell of a line replaces what it held.
    GridEditor1->setDropType(QLatin1String(FieldListModel::kMimeType));
    connect(GridEditor1, &GridEditor::CellDrop, this, [this](int row, int col, const QMimeData *data) {
        const std::optional<QString> descriptor =
            m_palette ? m_palette->list().descriptorFor(FieldListModel::identifierOf(data)) : std::nullopt;
        if (descriptor && col >= GridLayout::kFirstFieldColumn && col <= GridLayout::kLastFieldColumn
            && !m_grid.IsRowRemoved(row))
            putCell(tr("Put Field"), row, col, *descriptor, false);
    });

    auto *view = findChild<QMenu *>(QStringLiteral("mnuView"));
    QAction *toggle = m_paletteDock->toggleViewAction();
    toggle->setObjectName(QStringLiteral("mnuFields"));
    toggle->setText(tr("&Fields"));
    view->addAction(toggle);
    // Cells as people read them; the stored descriptors stay as they are.
    mnuReadable = view->addAction(tr("&Readable Cells"));
    mnuReadable->setObjectName(QStringLiteral("mnuReadable"));
    mnuReadable->setMenuRole(QAction::NoRole);
    mnuReadable->setCheckable(true);
    // A readable cell too long for its column loses its middle, so that a
    // constant's count and a field's layout stay in view.
    const auto showReadable = [this](bool on) {
        m_grid.setReadable(on);
        GridEditor1->findChild<QTableView *>()->setTextElideMode(on ? Qt::ElideMiddle : Qt::ElideRight);
    };
    mnuReadable->setChecked(QSettings().value(QStringLiteral("grid/readable"), false).toBool());
    showReadable(mnuReadable->isChecked());
    connect(mnuReadable, &QAction::toggled, this, [showReadable](bool on) {
        showReadable(on);
        QSettings().setValue(QStringLiteral("grid/readable"), on);
    });
}

void frmCreatePattern::updatePalette()
{
    if (!m_palette || (m_paletteRead && m_paletteMode == PMODE))
        return;
    // No pattern, no mode: nothing to list.
    const std::optional<QList<DesignField>> fields = PMODE.isEmpty()
        ? std::optional(QList<DesignField>())
        : DesignDatabase(m_context.systemSettings().DesignConnection()).fields(PMODE);
    m_palette->setFields(fields.value_or(QList<DesignField>()));
    m_paletteMode = PMODE;
    m_paletteRead = fields.has_value();
}

int frmCreatePattern::previewHeight() const
{
    // The Line tab with a line and a half of output and its summary.
    return fontMetrics().lineSpacing() * 9;
}

void frmCreatePattern::setRecordLength(int length)
{
    m_recordLength = length;
    keepRecordLength();
    updateChecks();
    updateFillAction();
}

namespace {

// The settings key of a pattern file's record length; "" for a pattern
// that has no file yet.
QString recordLengthKey(const QString &fileName)
{
    if (fileName.isEmpty() || fileName == kUntitled)
        return {};
    return QStringLiteral("recordLength/")
        + QString::fromLatin1(QUrl::toPercentEncoding(QFileInfo(fileName).absoluteFilePath()));
}

} // namespace

void frmCreatePattern::recallRecordLength()
{
    const QString key = recordLengthKey(FileName);
    m_recordLength = key.isEmpty() ? 0 : QSettings().value(key, 0).toInt();
    if (m_preview)
        m_preview->setRecordLength(m_recordLength);
    updateFillAction();
}

void frmCreatePattern::keepRecordLength()
{
    const QString key = recordLengthKey(FileName);
    if (key.isEmpty())
        return;
    QSettings settings;
    if (m_recordLength > 0)
        settings.setValue(key, m_recordLength);
    else
        settings.remove(key);
}

const PatternPreview::Samples &frmCreatePattern::samples()
{
    if (!m_samplesRead || m_samplesMode != PMODE) {
        m_samples = PatternPreview::Samples::read(m_context.systemSettings().DesignConnection(), PMODE)
                        .value_or(PatternPreview::Samples());
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
    m_preview->showRow(row, row ? PatternRows::word(m_grid, row) : QString(),
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
    m_preview->showChecks(PatternPreview::loadChecks(m_loaded) + PatternPreview::check(m_grid, samples(), m_recordLength));
    m_preview->showPattern(&m_grid, samples());
    updatePreviewLine();   // the marks of the line's checks
}

void frmCreatePattern::doMode()
{
    updatePalette();
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
    m_document->guard().remember(opened);
    patternStored();
    m_loaded = std::move(report);
    m_loadedFrom = FileName;
    recallRecordLength();
    // A mode the design database does not know is most likely a slip of the
    // keyboard: the title would only show no name.
    if (PatternPreview::modeIsUnknown(m_context.systemSettings().DesignConnection(), PMODE))
        m_context.notices().tell(QStringLiteral("ไม่พบโหมดการทำงาน %1 ในฐานข้อมูล\nThe file \"%2\" is open, but %3.")
                                     .arg(PMODE, QDir::toNativeSeparators(FileName), PatternPreview::unknownModeMessage(PMODE)),
                                 Notices::Icon::Warning);
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

void frmCreatePattern::patternStored()
{
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
    m_document->guard().remember(kept->onDisk);
    gridshow();
    kept->loadRows(m_grid);
    doMode();
    mnuSave->setEnabled(FileName != kUntitled);
    recallRecordLength();
    Recalculate();
    m_loaded = {};
    m_loadedFrom.clear();
    // Not saved: a copy is kept from now on, as for an edit.
    m_document->madeUnsaved();
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
    if (!hasModeToSave() || !mayDropCellsNotLoaded() || !m_document->guard().mayWrite(FileName, m_context.questions()))
        return false;
    PatternWriter writer;
    if (!writer.save(FileName, PMODE, m_grid)) {
        m_context.notices().tell(
            QStringLiteral("ไม่สามารถบันทึกไฟล์ %1 ได้\nCannot save the file \"%1\": %2")
                .arg(QDir::toNativeSeparators(FileName), writer.errorString()),
            Notices::Icon::Critical);
        return false;
    }
    m_document->saved(writer.fingerprint());
    patternStored();
    keepRecordLength();   // Save As carries it to the new name
    doMode();
    mnuSave->setEnabled(true);
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
    return m_document->isModified();
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
    recallRecordLength();
    doMode();
    gridshow();
    mnuSave->setEnabled(false);
    m_document->guard().remember({});
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
    if (m_palette)
        QSettings().setValue(QStringLiteral("palette/visible"), !m_paletteDock->isHidden());
    // The pattern was saved or dropped: nothing is left unsaved, and a clean
    // exit keeps no copy.
    m_document->dropped();
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

void frmCreatePattern::mnuInspect_Click()
{
    const QString path = m_context.fileChooser().chooseToRead(
        tr("Inspect Export File"), {tr("Export Files (*.txt *.TXT *.dat *.DAT *.csv *.CSV)")}, QString());
    if (path.isEmpty())
        return;
    QString error;
    std::optional<QByteArray> bytes = readWholeFile(path, &error);
    // A file in UTF-8 is read as UTF-8: the exporting program may write either.
    std::optional<ExportMatch::ExportText> text;
    if (bytes)
        text = ExportMatch::decode(*bytes, CodePage::looksLikeUtf8(*bytes) ? "utf-8" : CodePage::kPattern, &error);
    if (!text) {
        m_context.notices().tell(QStringLiteral("ไม่สามารถอ่านไฟล์ %1 ได้\nCannot read the file \"%1\": %2")
                                     .arg(QDir::toNativeSeparators(path), error),
                                 Notices::Icon::Critical);
        return;
    }
    bytes.reset();
    QList<RecordShape::Row> shapes = RecordShape::shapesOf(m_grid, samples());
    ExportMatch::Result result = ExportMatch::inspect(shapes, *text);
    auto *window = new ExportWindow(QDir::toNativeSeparators(path), std::move(shapes), std::move(*text),
                                     std::move(result), this);
    connect(window, &ExportWindow::recordChosen, this, &frmCreatePattern::showRecord);
    window->show();
}

void frmCreatePattern::showRecord(int row, const PatternPreview::RenderedRow &record)
{
    if (row < 1 || row > m_grid.RowCount() || m_grid.IsRowRemoved(row))
        return;
    m_grid.setCurrentCell(row, m_grid.Col() >= GridLayout::kFirstFieldColumn ? m_grid.Col() : GridLayout::kFirstFieldColumn);
    if (!m_preview)
        return;
    m_previewDock->show();
    m_preview->setCurrentIndex(0);
    m_preview->showRow(row, PatternRows::word(m_grid, row), record, samples(), m_grid.Col());
}

void frmCreatePattern::mnuImportTable_Click()
{
    // A table makes a new pattern, so the pattern open goes as New lets it go.
    if (!offerToSave(false))
        return;
    const QString path = m_context.fileChooser().chooseToRead(tr("Import Layout Table"),
                                                              {tr("Layout Tables (*.csv *.CSV)")}, QString());
    if (path.isEmpty())
        return;
    QString error;
    const std::optional<QByteArray> bytes = readWholeFile(path, &error);
    const LayoutTable::Table table = bytes ? LayoutTable::read(*bytes) : LayoutTable::Table();
    if (!bytes || !table.error.isEmpty()) {
        m_context.notices().tell(QStringLiteral("ไม่สามารถอ่านตาราง %1 ได้\nCannot read the layout table \"%1\": %2")
                                     .arg(QDir::toNativeSeparators(path), bytes ? table.error : error),
                                 Notices::Icon::Critical);
        return;
    }
    // The pattern gets a mode as a new one does; its fields are matched by name.
    const DesignDatabase database(m_context.systemSettings().DesignConnection());
    if (const auto modes = database.modes())
        PMODE = m_context.modePicker().pickMode(*modes);
    if (PMODE.isEmpty())
        PMODE = QStringLiteral("BANK");
    const LayoutTable::Import made = LayoutTable::import(table, database.fields(PMODE).value_or(QList<DesignField>()));
    FileName = kUntitled;
    recallRecordLength();
    doMode();
    gridshow();
    PatternFile::loadRows(QStringList{QStringLiteral("[T];%1;").arg(PMODE)} + made.lines, m_grid);
    mnuSave->setEnabled(false);
    m_document->guard().remember({});
    m_loaded = {};
    m_loadedFrom.clear();
    // Made, not read from a file: the pattern has changes to save.
    m_document->madeUnsaved();
    Recalculate();
    QStringList report{QStringLiteral("นำเข้าตาราง %1 แล้ว\nThe layout table \"%1\" made %2.")
                           .arg(QDir::toNativeSeparators(path), TextTools::counted(made.lines.size(), "row", "rows"))};
    for (const auto &[line, problem] : table.problems)
        report << QStringLiteral("line %1: %2").arg(line).arg(problem);
    report << made.report;
    constexpr qsizetype kShown = 30;
    if (report.size() > kShown + 1)
        report = report.first(kShown + 1) << tr("... and %1 more").arg(report.size() - kShown - 1);
    m_context.notices().tell(report.join(u'\n'), Notices::Icon::Information);
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
    mnuRemoveLine->setEnabled(line);
    mnuInsertLineAbove->setEnabled(m_grid.columnCount() > 0);
    mnuInsertLineBelow->setEnabled(m_grid.columnCount() > 0);
    mnuInsertFiller->setEnabled(onFieldCell());
    updateFillAction();
}

bool frmCreatePattern::onFieldCell() const
{
    return m_grid.hasCurrentLine() && m_grid.Col() >= GridLayout::kFirstFieldColumn
        && m_grid.Col() <= GridLayout::kLastFieldColumn;
}

void frmCreatePattern::putCell(const QString &name, int row, int col, const QString &text, bool advance)
{
    GridEditor1->perform(name, [&] {
        m_grid.SetCellText(row, col, text);
        m_grid.setCurrentCell(row, advance && col < GridLayout::kLastFieldColumn ? col + 1 : col);
    });
}

void frmCreatePattern::insertLine(bool below)
{
    const int typeSection = m_grid.sectionOfColumn(GridLayout::kTypeColumn);
    if (m_grid.columnCount() == 0 || typeSection < 0)
        return;
    // Without a current line the new one goes to the end.
    const int row = m_grid.hasCurrentLine() ? m_grid.Row() + (below ? 1 : 0) : m_grid.RowCount() + 1;
    QList<QString> cells(m_grid.columnCount());
    cells[typeSection] = QStringLiteral("0");   // LINE
    // A new line is filled from its first field on; from the Type column
    // its type is chosen first.
    const int col = m_grid.Col() == GridLayout::kTypeColumn ? GridLayout::kTypeColumn : GridLayout::kFirstFieldColumn;
    GridEditor1->perform(below ? tr("Insert Line Below") : tr("Insert Line Above"), [&] {
        m_grid.insertDataRows(row, 1, cells);
        m_grid.setCurrentCell(row, col);
    });
}

void frmCreatePattern::removeLine()
{
    if (m_grid.hasCurrentLine())
        GridEditor1->perform(tr("Remove Line"), [this] { GridEditor1->removeCurrentRow(); });
}

void frmCreatePattern::insertFiller()
{
    if (!onFieldCell())
        return;
    const std::optional<Filler> filler = m_context.questions().askFiller(m_filler);
    if (!filler || filler->length < 1 || filler->length > LineFill::kMaxLength
        || firstRefusedCharacter(QString(filler->character)) >= 0)
        return;
    m_filler = *filler;
    putCell(tr("Insert Filler"), m_grid.Row(), m_grid.Col(), LineFill::fillerDescriptor(filler->character, filler->length),
            true);
}

void frmCreatePattern::fillLineToRecordLength()
{
    const int row = m_grid.hasCurrentLine() ? m_grid.Row() : 0;
    const LineFill::Fill fill = LineFill::toRecordLength(m_grid, row, recordLength());
    if (fill.status == LineFill::Fill::Status::Fills)
        putCell(tr("Fill Line to Record Length"), row, fill.column,
                LineFill::fillerDescriptor(m_filler.character, fill.length), false);
}

void frmCreatePattern::updateFillAction()
{
    const int row = m_grid.hasCurrentLine() ? m_grid.Row() : 0;
    const LineFill::Fill fill = LineFill::toRecordLength(m_grid, row, recordLength());
    QString tip;
    switch (fill.status) {
    case LineFill::Fill::Status::Fills:
        tip = tr("Puts %1 filler characters into Field%2: line %3 writes %4 of the record length %5")
                  .arg(fill.length)
                  .arg(fill.column - GridLayout::kFirstFieldColumn + 1)
                  .arg(row)
                  .arg(fill.lineLength)
                  .arg(recordLength());
        break;
    case LineFill::Fill::Status::NoRecordLength:
        tip = tr("No record length is stated for the pattern");
        break;
    case LineFill::Fill::Status::NoLine:
        tip = tr("The cursor is on no line");
        break;
    case LineFill::Fill::Status::NoEmptyCell:
        tip = tr("Line %1 has no empty field cell left").arg(row);
        break;
    case LineFill::Fill::Status::AtLength:
        tip = tr("Line %1 writes %2 characters: the record length already").arg(row).arg(fill.lineLength);
        break;
    case LineFill::Fill::Status::Longer:
        tip = tr("Line %1 writes %2 characters, longer than the record length %3")
                  .arg(row)
                  .arg(fill.lineLength)
                  .arg(recordLength());
        break;
    }
    mnuFillLine->setEnabled(fill.status == LineFill::Fill::Status::Fills);
    mnuFillLine->setStatusTip(tip);
    mnuFillLine->setToolTip(tip);
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
            m_grid.insertDataRows(first, missing);
            for (int row = first; row < first + missing; ++row)
                rows.append(row);
        }
        for (qsizetype i = 0; i < paste.rows.size(); ++i)
            m_grid.setRowCells(rows.at(i), col, paste.rows.at(i));
        const int last = m_grid.columnOfSection(m_grid.sectionOfColumn(col) + int(std::max<qsizetype>(widest, 1)) - 1);
        GridEditor1->select(rows.front(), rows.back(), col, last);
    });
    if (const QString notice = paste.notice(); !notice.isEmpty())
        m_context.notices().tell(notice, Notices::Icon::Information);
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
                         [&] { m_grid.insertDataRows(row + 1, 1, m_grid.rowCells(row)); });
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

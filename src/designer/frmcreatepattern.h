#pragma once

#include "designer/patternlayout.h"
#include "designer/filefingerprint.h"
#include "designer/patternpreview.h"

#include <QMainWindow>
#include <QString>

class AppContext;
class DesignerStatusBar;
class GridEditor;
class GridTableModel;
struct GridChange;
class PreviewPanel;
class QAction;
class QDockWidget;
class QMenu;
class QTimer;
class RecentFilesMenu;
class RecoveryKeeper;
class WindowMemory;

// The designer's main window: the pattern grid, the File, Edit and Help
// menus and the status bar with the current line's lengths. The pattern
// lives only in the grid; the window keeps the current file and mode.
// Controls and menu actions carry their names as object names.
class frmCreatePattern final : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmCreatePattern(AppContext &context, QWidget *parent = nullptr);

    // Path of the current pattern file: "Untitled.PAT" for a new pattern,
    // "" when there is none.
    QString FileName;
    // Code of the current working mode.
    QString PMODE;

    // Menus and title from PMODE and FileName.
    void doMode();
    // Lays the grid out anew, empty.
    void gridshow();
    // The current line's lengths into the status bar.
    void Recalculate();
    // Reads the file FileName into PMODE and the grid. A file that is no
    // pattern is rejected with a message and FileName becomes "". A file
    // that cannot be read is reported and changes nothing; the result is
    // then false.
    bool DoOpen();
    // Offers the patterns of designers that ended without saving them
    // (recoverykeeper.h); called once the window is shown. Whether one was
    // taken back.
    bool offerRecovery();
    // Opens a file as Open does once it is chosen; one that cannot be read
    // leaves the former file name.
    void openPath(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createMenus();
    void mnuNew_Click();
    void mnuOPen_Click();
    // Both return whether the pattern was written.
    bool mnuSave_Click();
    bool mnuSaveAs_Click();
    void mnuExit_Click();
    void mnuInsert_Click();
    void mnuRemove_Click();
    void mnuAbout_Click();
    // The clipboard and the lines; each change is one step of the history.
    void copyCells();
    void cutCells();
    void pasteCells();
    void moveLine(int direction);
    void duplicateLine();
    // Enables the commands that need a line or a layout.
    void updateEditActions();
    // The layout sheet of the pattern, into a file or onto paper.
    void mnuExportLayout_Click();
    void mnuPrintLayout_Click();
    // A real export file read through the pattern, in a window of its own.
    void mnuInspect_Click();
    // A new pattern made from a bank's layout table.
    void mnuImportTable_Click();
    // Selects `row` and shows a real record of it under the preview's ruler.
    void showRecord(int row, const PatternPreview::RenderedRow &record);
    PatternLayout::SheetHeading layoutHeading();
    void GridEditor1_KeyDown(int keyCode, int shift);
    void GridEditor1_CellChange();
    void onPatternChanged(const GridChange &change);
    // "Save your Data ?" before the pattern is dropped: true when it may go.
    bool offerToSave();
    // A pattern without a working mode cannot be saved: says so, false.
    bool hasModeToSave();
    // The output preview: a dock under the grid, shown unless the user
    // hid it last time.
    void createPreview();
    // The height the preview takes under the grid when it first shows.
    int previewHeight() const;
    // Sizes the grid from the window's outer size: its height that less
    // 1300 twips and less the preview's height while the preview shows
    // under the grid area, its width that less 220 twips, each as an
    // absolute value; the grid stays at the top left of its area.
    void Form_Resize();
    // The record length the checks use, as last stated for FileName: kept
    // in the settings per file, since a pattern file has no room for it.
    void setRecordLength(int length);
    void recallRecordLength();
    void keepRecordLength();
    // The mode's fields and samples, read once per mode.
    const PatternPreview::Samples &samples();
    void updatePreviewLine();
    void updateChecks();
    // A file of File > Recent Files, opened as Open opens a file.
    void openRecent(const QString &path);
    // After the pattern was read from or written to FileName as `file`.
    void patternStored(const FileFingerprint &file);

    AppContext &m_context;
    GridEditor *GridEditor1;
    GridTableModel &m_grid;
    DesignerStatusBar *sbStatusBar;
    QMenu *mnuFile;
    QAction *mnuNew;
    QAction *mnuOPen;
    QAction *mnuSave;
    QAction *mnuSaveAs;
    QAction *mnuExportLayout;
    QAction *mnuPrintLayout;
    QAction *mnuInspect;
    QAction *mnuImportTable;
    QAction *mnuCloseSeparator;
    QAction *mnuClose;
    QAction *mnuExit;
    QMenu *mnuEdit;
    QAction *mnuUndo;
    QAction *mnuRedo;
    QAction *mnuCut;
    QAction *mnuCopy;
    QAction *mnuPaste;
    QAction *mnuMoveUp;
    QAction *mnuMoveDown;
    QAction *mnuDuplicate;
    QAction *mnuInsert;
    QAction *mnuRemove;
    QMenu *mnuHelp;
    QAction *mnuAbout;
    QDockWidget *m_previewDock = nullptr;
    PreviewPanel *m_preview = nullptr;
    QTimer *m_checkTimer = nullptr;
    QWidget *m_gridArea;
    int m_recordLength = 0;
    PatternPreview::Samples m_samples;
    QString m_samplesMode;
    bool m_samplesRead = false;
    bool m_closeAsked = false;
    RecoveryKeeper *m_recovery;
    WindowMemory *m_memory;
    RecentFilesMenu *mnuRecent;
    OverwriteGuard m_guard;
};

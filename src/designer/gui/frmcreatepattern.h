#pragma once

#include "designer/patternlayout.h"
#include "designer/filefingerprint.h"
#include "designer/patternpreview.h"
#include "components/prompts.h"

#include <QMainWindow>
#include <QString>

class AppContext;
class DesignerStatusBar;
class FieldPalette;
class GridEditor;
class GridTableModel;
struct GridChange;
class PatternDocument;
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
    ~frmCreatePattern() override;

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
    // that cannot be read, or not held in the memory there is, is reported
    // and changes nothing; the result is then false. A file in UTF-8 is read
    // so if the user wants.
    bool DoOpen();
    // Offers the patterns of designers that ended without saving them
    // (recoverykeeper.h); called once the window is shown. Whether one was
    // taken back.
    bool offerRecovery();
    // Opens a file as Open does once it is chosen, asking first to save
    // changes not saved; one that cannot be read leaves the former file name.
    // Lines of more than 100 cells are named once it is open.
    void openPath(const QString &path);
    // Whether the pattern has changes not saved: its history is not at the
    // point where it was opened, made or saved.
    bool hasUnsavedChanges() const;

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
    // Asked whenever there are unsaved changes; without them only for a
    // pattern with a file name, and never when `onlyChanges`.
    bool offerToSave(bool onlyChanges);
    // Open without the question.
    void openFile(const QString &path);
    bool readPattern();
    // Lines of the file opened that had more than 100 cells, in a notice;
    // before Save writes over that file, whether it may.
    void tellCellsNotLoaded();
    bool mayDropCellsNotLoaded();
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
    // The field palette: a dock beside the grid, shown unless the user hid
    // it last time, listing the fields of the working mode; and View >
    // Readable Cells.
    void createPalette();
    // Lists the fields of the mode, read again when the mode changed.
    void updatePalette();
    // Puts `text` into the cell (`row`, `col`) as one step named `name`;
    // the cursor goes to the cell, or with `advance` to the one after it.
    void putCell(const QString &name, int row, int col, const QString &text, bool advance);
    // Whether the cursor is on a field cell of a line.
    bool onFieldCell() const;
    // A new LINE row above or below the current line (at the end without
    // one), the cursor on its first field, or on its type from the Type
    // column.
    void insertLine(bool below);
    void removeLine();
    void insertFiller();
    void fillLineToRecordLength();
    // The record length Fill Line to Record Length fills to: the one the
    // user stated on the Checks tab, 0 for none.
    int recordLength() const { return m_recordLength; }
    // Enables Fill Line to Record Length where it fills; its status tip
    // says what it would do, or why it cannot.
    void updateFillAction();
    // A file of File > Recent Files, opened as Open opens a file.
    void openRecent(const QString &path);
    // After the pattern was read from or written to FileName.
    void patternStored();

    AppContext &m_context;
    // The history, the saved state and the file guard; made before the grid, which records into its history.
    PatternDocument *m_document;
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
    QAction *mnuInsertLineAbove;
    QAction *mnuInsertLineBelow;
    QAction *mnuRemoveLine;
    QAction *mnuInsertFiller;
    QAction *mnuFillLine;
    QAction *mnuReadable = nullptr;
    QAction *mnuInsert;
    QAction *mnuRemove;
    QMenu *mnuHelp;
    QAction *mnuAbout;
    QDockWidget *m_previewDock = nullptr;
    PreviewPanel *m_preview = nullptr;
    QTimer *m_checkTimer = nullptr;
    QWidget *m_gridArea;
    QDockWidget *m_paletteDock = nullptr;
    FieldPalette *m_palette = nullptr;
    QString m_paletteMode;
    bool m_paletteRead = false;
    Filler m_filler;   // the last one chosen
    int m_recordLength = 0;
    PatternPreview::Samples m_samples;
    QString m_samplesMode;
    bool m_samplesRead = false;
    bool m_closeAsked = false;
    RecoveryKeeper *m_recovery;
    WindowMemory *m_memory;
    RecentFilesMenu *mnuRecent;
    // What the pattern's file held that its rows could not, and that file.
    PatternFile::LoadReport m_loaded;
    QString m_loadedFrom;
};

#pragma once

#include "components/patterngrid.h"

#include <QWidget>

class GridTableModel;
class QTableView;
class QToolButton;
class QModelIndex;

// The grid editing control: a table of list and text cells over
// GridTableModel, with add-row and remove-row buttons.
//
// List cells edit through a combo box. Text cells are not typed into: F2 and
// a double-click raise KeyDown with F2's key code, Delete empties the cell.
// Every key reaches KeyDown first, as a Windows virtual-key code (F2 is 113).
// CellChange is raised whenever the current cell changes.
class GridEditor final : public QWidget, public PatternGrid
{
    Q_OBJECT

public:
    static constexpr int kKeyF2 = 113;

    explicit GridEditor(QWidget *parent = nullptr);

    // PatternGrid, on the control's model
    void ResetGrid() override;
    void setEditMode(bool on) override;
    void DefineColumn(qint16 index, const QString &key, const QString &editorType, qint16 fixed1,
                      const QString &caption, qint16 fixed2, const QString &text1, double number1,
                      const QString &text2, double number2, qint16 fixed3, qint16 fixed4,
                      qint16 fixed5, qint16 fixed6, qint16 fixed7, qint16 width, qint16 fixed8,
                      qint16 fixed9, const QString &listItems = QString()) override;
    void CompleteLayout(const QString &, const QString &, const QString &, const QString &,
                        const QString &) override;
    int Row() const override;
    int Col() const override;
    QString CellText(int row, int col) const override;
    void SetCellText(int row, int col, const QString &text) override;
    int CellListIndex(int row, int col) const override;
    void SetCellListIndex(int row, int col, double index) override;
    void AddRow() override;
    int RowCount() const override;
    bool IsRowRemoved(int row) const override;
    void BeginUpdate() override;
    void EndUpdate() override;

    // Moves the current cell, as the user would.
    void setCurrentCell(int row, int col);
    // Stored settings: whether the add-row and remove-row buttons show.
    void setShowAddButton(bool show);
    void setShowRemoveButton(bool show);
    // Removes the current row as the remove button does.
    void removeCurrentRow();

    QTableView *view() const { return m_view; }
    GridTableModel *model() const { return m_model; }

    // The Windows virtual-key code of a Qt key; 0 when it has none.
    static int virtualKeyOf(int qtKey);

Q_SIGNALS:
    void KeyDown(int keyCode, int shift);
    void CellChange();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyColumnLayout();
    void syncViewToModel();
    void onViewCurrentChanged(const QModelIndex &current);

    GridTableModel *m_model;
    QTableView *m_view;
    QToolButton *m_addButton;
    QToolButton *m_removeButton;
    bool m_syncing = false;
};

#include "grideditor.h"

#include "components/gridtablemodel.h"
#include "components/gui/twips.h"

#include <QComboBox>
#include <QDropEvent>
#include <QMimeData>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Edits a list cell through a combo box offering the column's items in order.
class ListCellDelegate final : public QStyledItemDelegate
{
public:
    ListCellDelegate(GridEditor *editor, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_editor(editor)
        , m_model(editor->model())
    {
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        const int col = m_model->columnOfSection(index.column());
        if (!m_model->isListColumn(col))
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto *combo = new QComboBox(parent);
        combo->addItems(m_model->listItems(col));
        return combo;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            combo->setCurrentIndex(index.data(Qt::EditRole).toInt());
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override
    {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            if (combo->currentIndex() >= 0) {
                m_editor->perform(GridEditor::tr("Type Change"), [&] {
                    model->setData(index, combo->currentIndex(), Qt::EditRole);
                });
            }
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    GridEditor *m_editor;
    GridTableModel *m_model;
};

// One step of the history: the recorded changes and the cursor before and
// after them. The changes were made before the step is pushed, so its first
// redo does nothing.
class GridStep final : public QUndoCommand
{
public:
    GridStep(GridTableModel *model, const QString &name, GridEdits edits, QPoint before, QPoint after)
        : QUndoCommand(name)
        , m_model(model)
        , m_edits(std::move(edits))
        , m_before(before)
        , m_after(after)
    {
    }

    void undo() override
    {
        m_model->undo(m_edits);
        m_model->setCurrentCell(m_before.y(), m_before.x());
    }

    void redo() override
    {
        if (std::exchange(m_made, false))
            return;
        m_model->redo(m_edits);
        m_model->setCurrentCell(m_after.y(), m_after.x());
    }

private:
    GridTableModel *m_model;
    GridEdits m_edits;
    QPoint m_before;   // x the column, y the row
    QPoint m_after;
    bool m_made = true;
};

int shiftStateOf(Qt::KeyboardModifiers modifiers)
{
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= 1;
    if (modifiers & Qt::ControlModifier)
        shift |= 2;
    if (modifiers & Qt::AltModifier)
        shift |= 4;
    return shift;
}

} // namespace

GridEditor::GridEditor(QUndoStack *history, QWidget *parent)
    : QWidget(parent)
    , m_model(new GridTableModel(this))
    , m_view(new QTableView(this))
    , m_addButton(new QToolButton(this))
    , m_removeButton(new QToolButton(this))
    , m_history(history)
{
    m_view->setObjectName(QStringLiteral("gridView"));
    m_view->setAccessibleName(tr("Pattern lines"));
    m_addButton->setObjectName(QStringLiteral("addRowButton"));
    m_removeButton->setObjectName(QStringLiteral("removeRowButton"));
    m_view->setModel(m_model);
    m_view->setItemDelegate(new ListCellDelegate(this, m_view));
    m_view->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                            | QAbstractItemView::EditKeyPressed);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->horizontalHeader()->setHighlightSections(true);
    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);

    m_addButton->setText(tr("Add Row"));
    m_addButton->setToolTip(tr("Append an empty line"));
    m_addButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_removeButton->setText(tr("Remove Row"));
    m_removeButton->setToolTip(tr("Remove the current line from the pattern"));
    m_removeButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(m_addButton, &QToolButton::clicked, this,
            [this] { perform(tr("Add Row"), [this] { m_model->AddRow(); }); });
    connect(m_removeButton, &QToolButton::clicked, this,
            [this] { perform(tr("Remove Row"), [this] { removeCurrentRow(); }); });

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(m_addButton);
    buttons->addWidget(m_removeButton);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_view);
    layout->addLayout(buttons);

    connect(m_model, &QAbstractItemModel::modelReset, this, &GridEditor::applyColumnLayout);
    connect(m_model, &GridTableModel::currentCellChanged, this, [this] {
        syncViewToModel();
        Q_EMIT CellChange();
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { onViewCurrentChanged(current); });
    m_model->record(&m_recorded);
    connect(m_model, &GridTableModel::patternChanged, this, &GridEditor::onPatternChanged);
}

void GridEditor::perform(const QString &name, const std::function<void()> &change)
{
    if (m_performing) {
        change();
        return;
    }
    const int row = m_model->Row();
    const int col = m_model->Col();
    m_performing = true;
    change();
    m_performing = false;
    pushRecorded(name, row, col);
}

void GridEditor::pushRecorded(const QString &name, int rowBefore, int colBefore)
{
    if (m_recorded.isEmpty())
        return;
    m_history->push(new GridStep(m_model, name, std::exchange(m_recorded, {}), QPoint(colBefore, rowBefore),
                                 QPoint(m_model->Col(), m_model->Row())));
}

void GridEditor::onPatternChanged(const GridChange &change)
{
    switch (change.kind) {
    case GridChange::Kind::Reset:
        // A new start: no step to take back, nothing unsaved (clear() alone
        // keeps a stack without steps that was not clean so).
        m_recorded.clear();
        m_history->clear();
        m_history->setClean();
        return;
    case GridChange::Kind::RowRemoved:
    case GridChange::Kind::RowRestored:
        m_view->setRowHidden(change.row - 1, change.kind == GridChange::Kind::RowRemoved);
        break;
    default:
        break;
    }
    // A change made outside perform() becomes a step of its own, so the
    // history always matches the content.
    if (!m_performing)
        pushRecorded(tr("Edit"), m_model->Row(), m_model->Col());
}

GridEditor::Selection GridEditor::selection() const
{
    Selection picked;
    const QModelIndexList indexes = m_view->selectionModel()->selectedIndexes();
    int top = m_model->Row();
    int bottom = top;
    int left = m_model->sectionOfColumn(m_model->Col());
    int right = left;
    if (!indexes.isEmpty()) {
        top = bottom = indexes.front().row() + 1;
        left = right = indexes.front().column();
        for (const QModelIndex &index : indexes) {
            top = std::min(top, index.row() + 1);
            bottom = std::max(bottom, index.row() + 1);
            left = std::min(left, index.column());
            right = std::max(right, index.column());
        }
    }
    if (left < 0)
        return picked;
    for (int row = std::max(top, 1); row <= std::min(bottom, m_model->RowCount()); ++row) {
        if (!m_model->IsRowRemoved(row))
            picked.rows.append(row);
    }
    picked.firstColumn = m_model->columnOfSection(left);
    picked.lastColumn = m_model->columnOfSection(right);
    return picked;
}

void GridEditor::select(int firstRow, int lastRow, int firstColumn, int lastColumn)
{
    m_model->setCurrentCell(firstRow, firstColumn);
    const QModelIndex topLeft = m_model->index(firstRow - 1, m_model->sectionOfColumn(firstColumn));
    const QModelIndex bottomRight = m_model->index(lastRow - 1, m_model->sectionOfColumn(lastColumn));
    if (topLeft.isValid() && bottomRight.isValid())
        m_view->selectionModel()->select(QItemSelection(topLeft, bottomRight),
                                         QItemSelectionModel::ClearAndSelect);
}

void GridEditor::clearSelection(const QString &name)
{
    const Selection picked = selection();
    const int first = m_model->sectionOfColumn(picked.firstColumn);
    const int last = m_model->sectionOfColumn(picked.lastColumn);
    if (first < 0 || last < first)
        return;
    // One write a row, as a paste makes: a list cell keeps its value.
    perform(name, [&] {
        for (const int row : picked.rows) {
            QList<QString> cells = m_model->rowCells(row).mid(first, last - first + 1);
            for (int s = first; s <= last; ++s) {
                if (!m_model->isListColumn(m_model->columnOfSection(s)))
                    cells[s - first].clear();
            }
            m_model->setRowCells(row, picked.firstColumn, cells);
        }
    });
}

void GridEditor::removeCurrentRow()
{
    if (!m_model->hasCurrentLine())
        return;
    const int row = m_model->Row();
    m_model->removeRow(row);
    // The cursor moves to the nearest line still in the pattern; with none
    // left it stays where it was, on no line (hasCurrentLine() is false).
    for (int r = row + 1; r <= m_model->RowCount(); ++r) {
        if (!m_model->IsRowRemoved(r)) {
            m_model->setCurrentCell(r, m_model->Col());
            return;
        }
    }
    for (int r = row - 1; r >= 1; --r) {
        if (!m_model->IsRowRemoved(r)) {
            m_model->setCurrentCell(r, m_model->Col());
            return;
        }
    }
}

void GridEditor::applyColumnLayout()
{
    for (int section = 0; section < m_model->columnCount(); ++section) {
        const int width = m_model->columnWidth(m_model->columnOfSection(section));
        m_view->setColumnWidth(section, Twips::toPixels(width, this));
    }
    for (int row = 1; row <= m_model->RowCount(); ++row) {
        if (m_model->IsRowRemoved(row))
            m_view->setRowHidden(row - 1, true);
    }
}

void GridEditor::syncViewToModel()
{
    const QModelIndex target = m_model->index(m_model->Row() - 1, m_model->sectionOfColumn(m_model->Col()));
    if (!target.isValid() || m_view->currentIndex() == target)
        return;
    m_syncing = true;
    m_view->selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    m_view->scrollTo(target);
    m_syncing = false;
}

void GridEditor::onViewCurrentChanged(const QModelIndex &current)
{
    if (m_syncing || !current.isValid())
        return;
    m_model->setCurrentCell(current.row() + 1, m_model->columnOfSection(current.column()));
}

void GridEditor::setDropType(const QString &mimeType)
{
    m_dropType = mimeType;
    m_view->viewport()->setAcceptDrops(!mimeType.isEmpty());
}

bool GridEditor::acceptsDrop(const QDropEvent *event, int *row, int *col) const
{
    const QModelIndex at = m_view->indexAt(event->position().toPoint());
    *row = at.row() + 1;
    *col = m_model->columnOfSection(at.column());
    return at.isValid() && m_model->editMode() && !m_model->isListColumn(*col)
        && event->mimeData()->hasFormat(m_dropType);
}

bool GridEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport() && !m_dropType.isEmpty()
        && (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove || event->type() == QEvent::Drop)) {
        auto *drop = static_cast<QDropEvent *>(event);
        int row = 0;
        int col = 0;
        // A drag is followed over the whole grid; it may drop on text cells only.
        const bool fits = acceptsDrop(drop, &row, &col);
        if (fits || (event->type() == QEvent::DragEnter && drop->mimeData()->hasFormat(m_dropType))) {
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
        } else {
            drop->ignore();
        }
        if (fits && event->type() == QEvent::Drop)
            Q_EMIT CellDrop(row, col, drop->mimeData());
        return true;
    }
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        // Keys that an open cell editor passes up are not the grid's.
        if (m_view->indexWidget(m_view->currentIndex()))
            return QWidget::eventFilter(watched, event);
        const int code = virtualKeyOf(key->key());
        if (code != 0)
            Q_EMIT KeyDown(code, shiftStateOf(key->modifiers()));
        // Tab is the grid's own: Ctrl with it leaves the grid, as in Qt's
        // other controls that take Tab.
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && (key->modifiers() & Qt::ControlModifier)) {
            focusNextPrevChild(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
        const int col = m_model->Col();
        const bool textCell = !m_model->isListColumn(col) && m_model->sectionOfColumn(col) >= 0;
        if (textCell && code == kKeyF2)
            return true;
        if (key->key() == Qt::Key_Delete && m_model->editMode()) {
            clearSelection(tr("Delete"));
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    if (watched == m_view->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QModelIndex at = m_view->indexAt(mouse->position().toPoint());
        if (at.isValid() && !m_model->isListColumn(m_model->columnOfSection(at.column()))) {
            m_view->setCurrentIndex(at);
            Q_EMIT KeyDown(kKeyF2, shiftStateOf(mouse->modifiers()));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

int GridEditor::virtualKeyOf(int qtKey)
{
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;   // Qt and Windows share ASCII codes for letters and digits
    switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    default: return 0;
    }
}

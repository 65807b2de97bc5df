#include "fieldpalette.h"

#include "designer/fieldlist.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

FieldPalette::FieldPalette(QWidget *parent)
    : QWidget(parent)
    , m_filterLabel(new QLabel(tr("F&ilter:")))
    , m_filter(new QLineEdit)
    , m_view(new QTableView)
    , m_list(new FieldListModel(this))
    , m_filtered(new FieldFilterModel(m_list, this))
{
    setObjectName(QStringLiteral("fieldPalette"));
    m_filterLabel->setObjectName(QStringLiteral("fieldFilterLabel"));
    m_filter->setObjectName(QStringLiteral("fieldFilter"));
    m_view->setObjectName(QStringLiteral("fieldList"));
    m_filterLabel->setBuddy(m_filter);
    m_filter->setAccessibleName(tr("Filter fields"));
    m_filter->setPlaceholderText(tr("identifier or name"));
    m_filter->setClearButtonEnabled(true);
    m_view->setAccessibleName(tr("Fields"));
    m_view->setAccessibleDescription(tr("Double-click or Enter puts the field into the grid's current cell; "
                                        "a field can also be dragged onto a cell"));

    m_view->setModel(m_filtered);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setDragEnabled(true);
    m_view->setDragDropMode(QAbstractItemView::DragOnly);
    m_view->setDefaultDropAction(Qt::CopyAction);
    m_view->setWordWrap(false);
    m_view->setTabKeyNavigation(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->horizontalHeader()->setStretchLastSection(true);

    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(m_filterLabel);
    filterRow->addWidget(m_filter, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(filterRow);
    layout->addWidget(m_view, 1);

    connect(m_filter, &QLineEdit::textChanged, this, &FieldPalette::filterChanged);
    connect(m_filter, &QLineEdit::returnPressed, this, &FieldPalette::chooseCurrent);
    connect(m_view, &QAbstractItemView::activated, this, &FieldPalette::chooseCurrent);
    m_filter->installEventFilter(this);
}

void FieldPalette::setFields(const QList<DesignField> &fields)
{
    m_list->setFields(fields);
    m_view->resizeColumnsToContents();
    filterChanged(m_filter->text());
}

void FieldPalette::filterChanged(const QString &text)
{
    m_filtered->setFilterText(text);
    if (!m_view->currentIndex().isValid() && m_filtered->rowCount() > 0)
        m_view->setCurrentIndex(m_filtered->index(0, 0));
}

void FieldPalette::chooseCurrent()
{
    QModelIndex current = m_view->currentIndex();
    if (!current.isValid())
        current = m_filtered->index(0, 0);
    if (!current.isValid())
        return;
    Q_EMIT fieldChosen(m_filtered->index(current.row(), FieldListModel::Identifier).data().toString());
    // The next field is typed over the last one's filter.
    m_filter->selectAll();
}

bool FieldPalette::eventFilter(QObject *watched, QEvent *event)
{
    // Down and Up in the filter box walk the list, as in a completer.
    if (watched == m_filter && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Down || key == Qt::Key_Up) && m_filtered->rowCount() > 0) {
            const int row = m_view->currentIndex().isValid() ? m_view->currentIndex().row() : -1;
            const int next = std::clamp(row + (key == Qt::Key_Down ? 1 : -1), 0, m_filtered->rowCount() - 1);
            m_view->setCurrentIndex(m_filtered->index(next, 0));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

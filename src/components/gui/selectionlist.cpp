#include "selectionlist.h"

#include "components/gui/twips.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

SelectionListDialog::SelectionListDialog(const ListRequest &request, QWidget *parent)
    : QDialog(parent)
    , m_list(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("selectionList"));
    setWindowTitle(request.title);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setAccessibleName(request.title);
    setModal(true);
    const int columns = int(qMax<qsizetype>(request.captions.size(),
                                            request.rows.isEmpty() ? 0 : request.rows.first().size()));
    m_list->setColumnCount(columns);
    m_list->setHeaderLabels(request.captions);
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setUniformRowHeights(true);
    for (int i = 0; i < request.rows.size(); ++i) {
        auto *item = new QTreeWidgetItem(m_list, request.rows.at(i));
        item->setData(0, Qt::UserRole, i);
    }
    int visibleWidth = 0;
    for (int c = 0; c < columns; ++c) {
        const int twips = c < request.widths.size() ? request.widths.at(c) : 1500;
        m_list->setColumnHidden(c, twips == 0);
        if (twips > 0) {
            m_list->setColumnWidth(c, Twips::toPixels(twips, this));
            visibleWidth += Twips::toPixels(twips, this);
        }
    }
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(m_list->topLevelItemCount() > 0);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(qMax(visibleWidth + 60, 320), 320);
}

int SelectionListDialog::pickedRow() const
{
    if (result() != QDialog::Accepted || !m_list->currentItem())
        return -1;
    return m_list->currentItem()->data(0, Qt::UserRole).toInt();
}

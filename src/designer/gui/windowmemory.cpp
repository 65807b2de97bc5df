#include "windowmemory.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QSettings>
#include <QTableView>
#include <QVariant>

namespace {

const QString kGeometry = QStringLiteral("window/geometry");
const QString kWidths = QStringLiteral("window/columnWidths");

} // namespace

WindowMemory::WindowMemory(QWidget &window, QTableView &grid)
    : QObject(&window)
    , m_window(window)
    , m_grid(grid)
{
    // Before a layout the header still shows the user's widths; after it,
    // once the grid has set its own, they are put back.
    connect(grid.model(), &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        if (m_grid.model()->columnCount() > 0)
            m_widths = widths();
    });
    connect(grid.model(), &QAbstractItemModel::modelReset, this, [this] {
        if (!m_read) {
            m_read = true;
            for (const QVariant &width : QSettings().value(kWidths).toList())
                m_widths.append(width.toInt());
        }
        for (int section = 0; section < qMin(int(m_widths.size()), m_grid.model()->columnCount()); ++section) {
            if (m_widths.at(section) > 0)
                m_grid.setColumnWidth(section, m_widths.at(section));
        }
    });
}

bool WindowMemory::restoreGeometry(QWidget &window)
{
    const QByteArray geometry = QSettings().value(kGeometry).toByteArray();
    return !geometry.isEmpty() && window.restoreGeometry(geometry);
}

void WindowMemory::save() const
{
    QSettings settings;
    settings.setValue(kGeometry, m_window.saveGeometry());
    // A session that laid out no grid leaves the widths as they were kept.
    const QList<int> current = m_grid.model()->columnCount() > 0 ? widths() : m_widths;
    if (current.isEmpty())
        return;
    QVariantList list;
    for (const int width : current)
        list.append(width);
    settings.setValue(kWidths, list);
}

QList<int> WindowMemory::widths() const
{
    QList<int> list;
    for (int section = 0; section < m_grid.model()->columnCount(); ++section)
        list.append(m_grid.columnWidth(section));
    return list;
}

#pragma once

#include <QList>
#include <QObject>

class QTableView;
class QWidget;

// The window's size and place and the grid's column widths, kept in the
// user's settings when the window closes and brought back at the next start.
// Each layout of the grid sets its own widths, so the widths the user had
// are put back after every one; the settings are read at the first layout,
// not at start-up.
class WindowMemory final : public QObject
{
    Q_OBJECT

public:
    WindowMemory(QWidget &window, QTableView &grid);

    // The window's size and place as the last session left them; false,
    // with nothing changed, when none was kept (the first start).
    static bool restoreGeometry(QWidget &window);
    void save() const;

private:
    QList<int> widths() const;

    QWidget &m_window;
    QTableView &m_grid;
    QList<int> m_widths;
    bool m_read = false;
};

#pragma once

#include <QMenu>

// File > Recent Files: the recent pattern files, numbered, most recent
// first; disabled while there are none. It reads the list each time the
// File menu opens, so the settings are not read at start-up.
class RecentFilesMenu final : public QMenu
{
    Q_OBJECT

public:
    // Placed into `fileMenu` before `before`, with a separator after it.
    RecentFilesMenu(QMenu *fileMenu, QAction *before);

    // The entries as the settings hold them now.
    void refresh();

Q_SIGNALS:
    void chosen(const QString &path);
};

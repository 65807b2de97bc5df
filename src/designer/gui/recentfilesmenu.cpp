#include "recentfilesmenu.h"

#include "designer/recentfiles.h"

#include <QDir>

RecentFilesMenu::RecentFilesMenu(QMenu *fileMenu, QAction *before)
    : QMenu(QStringLiteral("&Recent Files"), fileMenu)
{
    setObjectName(QStringLiteral("mnuRecent"));
    menuAction()->setObjectName(QStringLiteral("mnuRecent"));
    menuAction()->setMenuRole(QAction::NoRole);
    setEnabled(false);
    fileMenu->insertMenu(before, this);
    fileMenu->insertSeparator(before);
    connect(fileMenu, &QMenu::aboutToShow, this, &RecentFilesMenu::refresh);
}

void RecentFilesMenu::refresh()
{
    clear();
    const QStringList files = RecentFiles::files();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files.at(i);
        QString shown = QDir::toNativeSeparators(path);
        shown.replace(u'&', QLatin1String("&&"));
        QAction *action = addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        action->setObjectName(QStringLiteral("mnuRecent%1").arg(i + 1));
        connect(action, &QAction::triggered, this, [this, path] { Q_EMIT chosen(path); });
    }
    setEnabled(!files.isEmpty());
}

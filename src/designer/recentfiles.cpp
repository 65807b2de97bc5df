#include "recentfiles.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString kKey = QStringLiteral("recent/files");

void store(const QStringList &files)
{
    QSettings().setValue(kKey, files);
}

} // namespace

namespace RecentFiles {

QStringList files()
{
    QStringList list = QSettings().value(kKey).toStringList();
    list.removeAll(QString());
    return list.mid(0, kMax);
}

void add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = files();
    if (list.value(0) == absolute)
        return;   // a save of the file last used writes no settings
    list.removeAll(absolute);
    list.prepend(absolute);
    store(list.mid(0, kMax));
}

void remove(const QString &path)
{
    QStringList list = files();
    if (list.removeAll(QFileInfo(path).absoluteFilePath()) > 0)
        store(list);
}

} // namespace RecentFiles

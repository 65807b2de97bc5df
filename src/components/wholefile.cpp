#include "wholefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

std::optional<QByteArray> readWholeFile(const QString &path, QString *error)
{
    const QFileInfo info(path);
    QString why;
    QFile file(path);
    QByteArray bytes;
    if (info.isDir())
        why = QCoreApplication::translate("PatternReader", "It is a folder, not a file.");
    else if (info.exists() && !info.isFile())
        why = QCoreApplication::translate("PatternReader", "It is not a regular file.");
    else if (!file.open(QIODevice::ReadOnly))
        why = file.errorString();
    else if (bytes = file.readAll(); !file.atEnd())
        why = file.errorString();
    if (why.isEmpty())
        return bytes;
    if (error)
        *error = why;
    return std::nullopt;
}

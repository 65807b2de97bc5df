#include "inireader.h"

#include <QFile>

QString IniReader::ReadKey(const QString &path, const QString &key) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // An installation's INI file is a few lines; a huge file is read no
    // further than the last whole line within the bound, so no value is
    // taken cut short.
    QByteArray content = file.read(kMaxBytes + 1);
    if (content.size() > kMaxBytes)
        content.truncate(content.first(kMaxBytes).lastIndexOf('\n') + 1);
    return findKey(content, key);
}

QString IniReader::findKey(const QByteArray &content, const QString &key)
{
    const QString wanted = key.trimmed();
    if (wanted.isEmpty())
        return {};
    // The installation's INI files are read as UTF-8, which ASCII paths are
    // too; a byte order mark is dropped by the conversion, a CR before the
    // LF by the trimming.
    const QString text = QString::fromUtf8(content);
    for (QStringView line : QStringView(text).split(u'\n')) {
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u';') || trimmed.startsWith(u'#')
            || trimmed.startsWith(u'['))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        if (line.left(eq).trimmed().compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        return line.mid(eq + 1).trimmed().toString();
    }
    return {};
}

#pragma once

#include <QByteArray>
#include <QString>

// Reads keys of the installation's INI files. The key is found in any
// section; the value comes back exactly as written (backslashes, spaces
// inside the value), which QSettings would not guarantee.
class IniReader final
{
public:
    // Only the file's first MiB is read.
    static constexpr qint64 kMaxBytes = 1 << 20;

    // The value of the first line "key=value" in the file whose key matches
    // (case-insensitive, surrounding spaces ignored); "" when the file or the
    // key is absent, or comes only after kMaxBytes.
    QString ReadKey(const QString &path, const QString &key) const;

    // The same on INI text already in memory.
    static QString findKey(const QByteArray &content, const QString &key);
};

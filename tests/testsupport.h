#pragma once

// Shared test fixtures: whole-file reads and writes, a temporary
// installation holding a copy of the sample design database, and finding a
// window's controls by their object names.

#include "scriptedcontext.h"

#include <QFile>
#include <QObject>
#include <QTemporaryDir>

// Whole-file reads and writes; an unreadable file reads as no bytes.
inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The control of that name; fails the test's assumptions loudly when absent.
template <typename T>
T *child(const QObject &parent, const char *name)
{
    T *found = parent.findChild<T *>(QLatin1String(name));
    Q_ASSERT_X(found, "child", name);
    return found;
}

// A temporary folder with a copy of the sample design database.
class SampleInstallation
{
public:
    SampleInstallation() { QFile::copy(QStringLiteral(ZN7_SAMPLE_DESKTOP), designDatabase()); }
    bool isValid() const { return m_dir.isValid() && QFile::exists(designDatabase()); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QString designDatabase() const { return m_dir.filePath(QStringLiteral("ZN7Desktop.dat")); }

private:
    QTemporaryDir m_dir;
};

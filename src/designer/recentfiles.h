#pragma once

#include <QString>
#include <QStringList>

// The pattern files opened or saved last, most recent first, each once, at
// most kMax, kept in the user's settings as absolute paths.
namespace RecentFiles {

inline constexpr int kMax = 8;

QStringList files();
// Puts the file first.
void add(const QString &path);
void remove(const QString &path);

} // namespace RecentFiles

#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Reads a whole file that is not a pattern (an export file, a layout
// table). Only a regular file is read: a folder is none, and a pipe or a
// device may never end. Nothing, with `error` saying why, when it cannot be
// read to its end.
std::optional<QByteArray> readWholeFile(const QString &path, QString *error);

#include "texttools.h"

#include <QLocale>

std::optional<qint16> TextTools::ToInteger(const QString &text, bool)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    // The user's locale first (group separators such as "1,000"), then plain
    // C digits, so a length written on one machine still reads on another.
    const short localValue = QLocale().toShort(trimmed, &ok);
    if (ok)
        return qint16(localValue);
    const short plainValue = QLocale::c().toShort(trimmed, &ok);
    if (ok)
        return qint16(plainValue);
    return std::nullopt;
}

QString TextTools::FormatNumber(qint64 value)
{
    return QLocale().toString(value);
}

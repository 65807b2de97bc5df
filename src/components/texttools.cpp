#include "texttools.h"

#include "codepage.h"

#include <QLocale>

namespace {

// The common form, an optional minus and up to five ASCII digits, read
// without a locale: the length display reads 100 of these on every move of
// the cursor. Every text this accepts reads the same through the locales.
std::optional<qint16> plainValue(QStringView text)
{
    const bool negative = text.startsWith(u'-');
    const QStringView digits = negative ? text.sliced(1) : text;
    if (digits.isEmpty() || digits.size() > 5)
        return std::nullopt;
    int value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    value = negative ? -value : value;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return qint16(value);
}

} // namespace

std::optional<qint16> TextTools::ToInteger(const QString &text, bool)
{
    if (const std::optional<qint16> plain = plainValue(QStringView(text).trimmed()))
        return plain;
    // Right-to-left locales write a direction mark before the minus sign
    // (Arabic, Hebrew, Persian), which QLocale does not read back: without
    // this, a negative number that FormatNumber wrote would give no value.
    QString trimmed = text.trimmed();
    trimmed.remove(QChar(0x061C)).remove(QChar(0x200E)).remove(QChar(0x200F));
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
    // Below a thousand there is nothing to group: plain digits, as below.
    if (value > -1000 && value < 1000)
        return QString::number(value);
    QLocale plain = QLocale::c();
    plain.setNumberOptions(QLocale::DefaultNumberOptions);   // C omits grouping by default
    QString text = plain.toString(value);
    // Whether the code page holds the separator is asked once per separator:
    // lengths are formatted by the hundred.
    thread_local QString knownSeparator;
    thread_local bool knownStorable = false;
    const QString separator = QLocale().groupSeparator();
    if (separator != knownSeparator) {
        knownSeparator = separator;
        knownStorable = separator.size() == 1 && separator != u"-" && !separator.at(0).isDigit()
            && CodePage::canStore(separator);
    }
    const bool storable = knownStorable;
    text.replace(plain.groupSeparator(), storable ? separator : QString());
    return text;
}

QStringView TextTools::trimSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

QString TextTools::counted(qsizetype count, const char *one, const char *many)
{
    return QString::number(count) + u' ' + QLatin1String(count == 1 ? one : many);
}

#pragma once

#include <QString>
#include <optional>

// Number conversion shared by every length in the designer.
class TextTools final
{
public:
    // The 16-bit signed value of a whole decimal number. The locale's group
    // separator is accepted ("1,000" reads 1000 under English settings), as are
    // surrounding spaces. Text that is not a whole number, or a value outside
    // -32768..32767, gives no value: callers decide what a failure means.
    // The flag is kept for the callers' sake and changes nothing.
    static std::optional<qint16> ToInteger(const QString &text, bool strict = true);

    // A whole number in ASCII digits and minus, grouped with the locale's
    // group separator when the pattern file's code page can store it (and
    // without grouping otherwise), so a length shown anywhere can be saved.
    static QString FormatNumber(qint64 value);

    // `text` without the spaces (U+0020 only) at its ends: tabs, no-break
    // spaces and other white space are kept, as the exporting program does.
    static QStringView trimSpaces(QStringView text);

    // "1 character", "2 characters": a count and the word for it in
    // English, singular for one.
    static QString counted(qsizetype count, const char *one, const char *many);

    QString ProgramName() const { return m_programName; }
    void setProgramName(const QString &name) { m_programName = name; }

private:
    QString m_programName;
};

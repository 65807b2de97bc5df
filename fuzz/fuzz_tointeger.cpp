// ToInteger on any text under several locales. The first byte picks the
// locale, the rest is the text. A value read back from the locale's own
// rendering of a number is that number, and a plain decimal number reads as
// itself when it fits in 16 bits and as nothing when it does not.

#include "fuzzcheck.h"

#include "components/texttools.h"

#include <QLocale>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace {

const std::array<QLocale, 9> &locales()
{
    static const std::array<QLocale, 9> all{
        QLocale::c(),
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::Thai, QLocale::Thailand),
        QLocale(QLocale::German, QLocale::Germany),
        QLocale(QLocale::French, QLocale::France),
        QLocale(QLocale::Hindi, QLocale::India),
        QLocale(QLocale::Arabic, QLocale::Egypt),
        QLocale(QLocale::Hebrew, QLocale::Israel),
        QLocale(QLocale::Persian, QLocale::Iran),
    };
    return all;
}

// The value of " -123 " style text: spaces, an optional minus, ASCII digits.
// No value for other text; nullopt in `inRange` when it overflows 16 bits.
bool plainDecimal(const QString &text, std::optional<qint16> &inRange)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || text.size() - t.size() != text.count(u' ') - t.count(u' '))
        return false;
    qsizetype i = t.startsWith(u'-') ? 1 : 0;
    if (i == t.size())
        return false;
    long long value = 0;
    for (; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (c < u'0' || c > u'9')
            return false;
        value = qMin(value * 10 + (c.unicode() - u'0'), 1LL << 20);
    }
    if (t.startsWith(u'-'))
        value = -value;
    inRange = value >= -32768 && value <= 32767 ? std::optional<qint16>(qint16(value)) : std::nullopt;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QLocale &locale = locales()[data[0] % locales().size()];
    QLocale::setDefault(locale);
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));

    const std::optional<qint16> value = TextTools::ToInteger(text, true);
    std::optional<qint16> expected;
    if (plainDecimal(text, expected))
        FUZZ_CHECK(value == expected, locale.name() + QStringLiteral(" \"") + text + u'"');
    if (value) {
        const QString shown = TextTools::FormatNumber(*value);
        FUZZ_CHECK(TextTools::ToInteger(shown, true) == value, locale.name() + u' ' + shown);
        FUZZ_CHECK(TextTools::ToInteger(QString::number(*value), true) == value,
                   QString::number(*value));
    }
    return 0;
}

#include "codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace CodePage {

bool isAvailable(const char *name)
{
    return QStringEncoder(name).isValid() && QStringDecoder(name).isValid();
}

bool canStore(QStringView text)
{
    // The code page keeps ASCII as it is; only other text needs the converter.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return true;
    QStringEncoder encoder(kPattern, QStringConverter::Flag::Stateless);
    // The conversion, and so the error state, happens when the result is taken.
    const QByteArray bytes = encoder.encode(text);
    return encoder.isValid() && !encoder.hasError();
}

qsizetype firstUnstorable(QStringView text)
{
    if (canStore(text))
        return -1;
    QStringEncoder encoder(kPattern, QStringConverter::Flag::Stateless);
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype size = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
        encoder.resetState();
        // The conversion, and so the error state, happens when the result is taken.
        [[maybe_unused]] const QByteArray bytes = encoder.encode(text.mid(i, size));
        if (encoder.hasError())
            return i;
        i += size;
    }
    return -1;
}

} // namespace CodePage

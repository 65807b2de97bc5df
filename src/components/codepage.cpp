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

} // namespace CodePage

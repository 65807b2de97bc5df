#include "codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace CodePage {

bool isAvailable(const char *name)
{
    return QStringEncoder(name).isValid() && QStringDecoder(name).isValid();
}

bool canStore(QStringView text)
{
    QStringEncoder encoder(kPattern, QStringConverter::Flag::Stateless);
    // The conversion, and so the error state, happens when the result is taken.
    const QByteArray bytes = encoder.encode(text);
    return encoder.isValid() && !encoder.hasError();
}

} // namespace CodePage

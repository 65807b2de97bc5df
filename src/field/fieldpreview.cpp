#include "fieldpreview.h"

#include "fielddescriptor.h"

namespace FieldPreview {

QString adjust(const QString &sample, const QString &fill, int width, int alignment)
{
    if (width < 1)
        return {};
    const QString padding = (fill.isEmpty() ? QStringLiteral(" ") : fill).repeated(width);
    switch (alignment) {
    case FieldSettings::Left:
        return (sample + padding).left(width);
    case FieldSettings::Center: {
        if (width < sample.size())
            return sample.left(width);
        const qsizetype spare = width - sample.size();
        return padding.left(spare / 2) + sample + padding.left(spare - spare / 2);
    }
    case FieldSettings::Right:
        return (padding + sample).right(width);
    default:
        return {};
    }
}

} // namespace FieldPreview

#pragma once

#include <QString>

// The preview of a data field: its sample laid out at the field's fixed
// length, alignment and fill, as the exported line would hold it.
namespace FieldPreview {

// Lays `sample` out in `width` characters. The fill is repeated to pad (a
// space when empty). Left keeps the sample's beginning and pads on the
// right; Right keeps its end and pads on the left; Center pads both sides,
// the right one taking the odd character, and keeps the beginning of a
// sample that is too long. A width below 1, or an alignment other than
// FieldSettings' Left, Center or Right, gives the empty text.
QString adjust(const QString &sample, const QString &fill, int width, int alignment);

} // namespace FieldPreview

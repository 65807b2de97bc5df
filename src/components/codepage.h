#pragma once

#include <QByteArrayView>
#include <QStringView>

// The code page pattern files are written in: single-byte Thai, windows-874.
namespace CodePage {

inline constexpr char kPattern[] = "windows-874";

// Whether Qt can convert text to and from the code page `name` (a Qt built
// without ICU cannot convert windows-874, and then no pattern can be read
// or written).
bool isAvailable(const char *name = kPattern);

// Whether every character of `text` can be stored in windows-874.
bool canStore(QStringView text);

// Whether bytes read from a file are UTF-8 rather than the code page: they
// start with a UTF-8 byte-order mark, or they hold bytes beyond ASCII that
// are all valid UTF-8 (a text in windows-874 Thai hardly ever is).
bool looksLikeUtf8(QByteArrayView bytes);

} // namespace CodePage

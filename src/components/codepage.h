#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
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

inline constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

// Whether bytes read from a file are UTF-8 rather than the code page: they
// start with a UTF-8 byte-order mark, or they hold bytes beyond ASCII that
// are all valid UTF-8 (Thai text in windows-874 hardly ever is: its letters
// are not followed by the bytes UTF-8 continues a character with). The
// file's bytes may come in parts, read one after the other.
bool looksLikeUtf8(const QList<QByteArray> &parts);
bool looksLikeUtf8(const QByteArray &bytes);
// The position of the first character of `text` that windows-874 cannot
// store (a surrogate pair judged as the one character it is); -1 when none.
qsizetype firstUnstorable(QStringView text);

} // namespace CodePage

#pragma once

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

// The position of the first character of `text` that windows-874 cannot
// store (a surrogate pair judged as the one character it is); -1 when none.
qsizetype firstUnstorable(QStringView text);

} // namespace CodePage

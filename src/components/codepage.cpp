#include "codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QList>

#include <algorithm>
#include <optional>

namespace CodePage {

namespace {

// Opening the ICU converter costs more than converting a cell, and the field
// list and a paste ask about thousands of short texts: one encoder a thread,
// its state reset for each question. Resetting an ICU-backed encoder leaves
// its count of characters it could not convert (Qt 6.4), so one that met
// such a character is opened anew, in place: the converter reports errors
// to the state it was opened with, which a moved encoder leaves behind.
QStringEncoder &patternEncoder()
{
    thread_local std::optional<QStringEncoder> encoder;
    if (!encoder || encoder->hasError())
        encoder.emplace(kPattern, QStringConverter::Flag::Stateless);
    else
        encoder->resetState();
    return *encoder;
}

} // namespace

bool isAvailable(const char *name)
{
    return QStringEncoder(name).isValid() && QStringDecoder(name).isValid();
}

bool canStore(QStringView text)
{
    // The code page keeps ASCII as it is; only other text needs the converter.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return true;
    QStringEncoder &encoder = patternEncoder();
    // The conversion, and so the error state, happens when the result is taken.
    const QByteArray bytes = encoder.encode(text);
    return encoder.isValid() && !encoder.hasError();
}

// Whether a file's bytes look like UTF-8: a byte order mark, or bytes above
// ASCII that all form valid UTF-8 and spell at least one Thai character.
// Windows-874 Thai is seldom valid UTF-8, but a short text can be: "สด" is
// the bytes of "ʴ", "รก" those of "á". Read as UTF-8, such text hardly ever
// spells Thai, whose every character takes the bytes of "เธ" or "เน" and
// one more.
bool looksLikeUtf8(const QList<QByteArray> &parts)
{
    if (!parts.isEmpty() && parts.constFirst().startsWith(kUtf8ByteOrderMark))
        return true;
    const auto high = [](char c) { return uchar(c) >= 0x80; };
    const auto isThai = [](QChar c) { return c.script() == QChar::Script_Thai; };
    // From the first byte above ASCII on, a slice at a time so that the first
    // that fails ends the search; the decoder keeps a sequence that runs on.
    constexpr qsizetype kSlice = 64 * 1024;
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text(kSlice, Qt::Uninitialized);
    bool seen = false;
    bool thai = false;
    for (const QByteArray &part : parts) {
        qsizetype from = 0;
        if (!seen) {
            from = std::find_if(part.cbegin(), part.cend(), high) - part.cbegin();
            seen = from < part.size();
        }
        for (; from < part.size() && !decoder.hasError(); from += kSlice) {
            const QChar *end = decoder.appendToBuffer(
                text.data(), QByteArrayView(part).sliced(from, std::min(kSlice, part.size() - from)));
            thai = thai || std::any_of(text.cbegin(), QString::const_iterator(end), isThai);
        }
        if (decoder.hasError())
            return false;
    }
    // A sequence cut short by the end of the file shows once another byte follows.
    decoder.appendToBuffer(text.data(), "\n");
    return seen && thai && !decoder.hasError();
}

bool looksLikeUtf8(const QByteArray &bytes)
{
    return looksLikeUtf8(QList<QByteArray>{bytes});
}

qsizetype firstUnstorable(QStringView text)
{
    if (canStore(text))
        return -1;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype size = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
        QStringEncoder &encoder = patternEncoder();
        // The conversion, and so the error state, happens when the result is taken.
        [[maybe_unused]] const QByteArray bytes = encoder.encode(text.mid(i, size));
        if (encoder.hasError())
            return i;
        i += size;
    }
    return -1;
}

} // namespace CodePage

#include "componentvalidator.h"

#include "fielddescriptor.h"

QValidator::State ComponentValidator::validate(QString &input, int &) const
{
    const QString hint = refusalHint(input);
    if (hint.isEmpty())
        return Acceptable;
    emit refused(hint);
    return Invalid;
}

QString ComponentValidator::refusalHint(const QString &text)
{
    const qsizetype at = firstRefusedCharacter(text);
    if (at < 0)
        return {};
    const QChar first = text.at(at);
    if (first == u':' || first == u';')
        return QStringLiteral("\"%1\" cannot be used here: it separates the parts of a pattern.")
            .arg(first);
    if (first.category() == QChar::Other_Control)
        return QStringLiteral("Line breaks and other control characters cannot be used here.");
    const QString reason = QStringLiteral(" cannot be used here: pattern files are saved in the Thai "
                                          "code page (windows-874), which does not have it.");
    const bool pair = first.isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate();
    // A one-character box cuts a pasted pair in half before the check: half
    // a character cannot be shown, so the hint does not name it.
    if (first.isSurrogate() && !pair)
        return QStringLiteral("This character") + reason;
    return u'"' + text.mid(at, pair ? 2 : 1) + u'"' + reason;
}

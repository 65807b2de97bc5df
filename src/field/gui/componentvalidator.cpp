#include "componentvalidator.h"

#include "field/fielddescriptor.h"

namespace {

// The refused characters of `text`, each as the one or two code units it is.
QStringList refusedCharacters(QStringView text)
{
    QStringList found;
    for (qsizetype from = 0; from < text.size();) {
        const qsizetype at = firstRefusedCharacter(text.sliced(from));
        if (at < 0)
            break;
        const qsizetype i = from + at;
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        found.append(text.sliced(i, pair ? 2 : 1).toString());
        from = i + (pair ? 2 : 1);
    }
    return found;
}

QString hintFor(const QString &character)
{
    const QChar first = character.front();
    if (first == u':' || first == u';')
        return QStringLiteral("\"%1\" cannot be used here: it separates the parts of a pattern.")
            .arg(first);
    if (first.category() == QChar::Other_Control)
        return QStringLiteral("Line breaks and other control characters cannot be used here.");
    const QString reason = QStringLiteral(" cannot be used here: pattern files are saved in the Thai "
                                          "code page (windows-874), which does not have it.");
    // A one-character box cuts a pasted pair in half before the check: half
    // a character cannot be shown, so the hint does not name it.
    if (first.isSurrogate() && character.size() < 2)
        return QStringLiteral("This character") + reason;
    return u'"' + character + u'"' + reason;
}

} // namespace

QValidator::State ComponentValidator::validate(QString &input, int &) const
{
    const QString hint = refusalHint(input, m_loaded);
    if (hint.isEmpty())
        return Acceptable;
    emit refused(hint);
    return Invalid;
}

QString ComponentValidator::refusalHint(const QString &text, const QString &loaded)
{
    const QStringList refused = refusedCharacters(text);
    if (refused.isEmpty())
        return {};
    const QStringList allowed = refusedCharacters(loaded);
    for (const QString &character : refused) {
        const bool separator = character == u":" || character == u";";
        if (separator || refused.count(character) > allowed.count(character))
            return hintFor(character);
    }
    return {};
}

#pragma once

#include <QValidator>

// Refuses an edit that would bring into a descriptor component a character
// it can never hold (firstRefusedCharacter), and says why through refused(),
// once per refused edit, so the box can show the reason where it is typed.
// A ':' or ';' is always refused: it would split the saved line. Other
// refused characters that the loaded text held (a tab in a constant read
// from a file) are kept as long as the user leaves them alone, but no more
// of them can be typed or pasted.
class ComponentValidator final : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;

    // The text the program put into the box, before it does so.
    void setLoaded(const QString &text) { m_loaded = text; }

    State validate(QString &input, int &pos) const override;

    // The reason given when `text` holds a refused character that `loaded`
    // does not hold as often; "" otherwise.
    static QString refusalHint(const QString &text, const QString &loaded = QString());

signals:
    void refused(const QString &hint) const;

private:
    QString m_loaded;
};

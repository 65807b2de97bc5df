#pragma once

#include <QValidator>

// Refuses an edit that would bring into a descriptor component a character
// it can never hold (firstRefusedCharacter), and says why through refused(),
// once per refused edit, so the box can show the reason where it is typed.
// Text set by the program is not checked.
class ComponentValidator final : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override;

    // The reason given when `text` holds a refused character; "" otherwise.
    static QString refusalHint(const QString &text);

signals:
    void refused(const QString &hint) const;
};

#pragma once

#include <QValidator>

// The range and item-number edits hold digits only: a typed or pasted text with any other
// character is refused whole.
class TDigitsValidator : public QValidator
{
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};

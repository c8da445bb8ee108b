#include "digitsvalidator.h"

#include "cellfilters.h"

QValidator::State TDigitsValidator::validate(QString &input, int &) const
{
    for (QChar c : input)
        if (Edit1KeyPress(c).isNull())
            return Invalid;
    return Acceptable;
}

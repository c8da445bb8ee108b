#include "gsmparams.h"

#include <array>

namespace
{

// Grid order: the name stands above the port, while the register numbers the port 2 and the
// name 3.
const std::array<TGsmParam, kGsmParamCount> kParams = {{
    {1, 1, "IP сервера ОФД", TGsmCharSet::DigitsAndDot, 15, true, "IP адрес сервера"},
    {2, 3, "Имя сервера ОФД", TGsmCharSet::Any, 72, true, "Имя сервера"},
    {3, 2, "Порт сервера ОФД", TGsmCharSet::Digits, 5, true, "Порт сервера"},
    {4, 4, "PIN-код сим карты", TGsmCharSet::Digits, 4, true, "PIN-код сим карты"},
    {5, 5, "APN строка для подключения к Internet", TGsmCharSet::Any, 24, false,
     "APN строка для подключения к сети Интернет"},
    {6, 6, "Логин для подключения к Internet", TGsmCharSet::Any, 24, false,
     "Логин для подключения к сети Интернет"},
    {7, 7, "Пароль для подключения к Internet", TGsmCharSet::Any, 24, false,
     "Пароль для подключения к сети Интернет"},
}};

bool InCharSet(TGsmCharSet set, QChar c)
{
    const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
    switch (set) {
    case TGsmCharSet::Digits:
        return digit;
    case TGsmCharSet::DigitsAndDot:
        return digit || c == QLatin1Char('.');
    case TGsmCharSet::Any:
        break;
    }
    return true;
}

} // namespace

const TGsmParam *GsmParamAtGridRow(int gridRow)
{
    for (const TGsmParam &param : kParams) {
        if (param.GridRow == gridRow)
            return &param;
    }
    return nullptr;
}

const TGsmParam *GsmParamAtDeviceRow(int deviceRow)
{
    for (const TGsmParam &param : kParams) {
        if (param.DeviceRow == deviceRow)
            return &param;
    }
    return nullptr;
}

std::optional<QChar> GsmKeyFilter(int gridRow, QChar typed, const QString &current)
{
    if (typed == QLatin1Char('\b'))
        return typed;
    const TGsmParam *param = GsmParamAtGridRow(gridRow);
    if (!param)
        return typed;
    if (!InCharSet(param->Chars, typed))
        return std::nullopt;
    if (current.size() >= param->MaxLength)
        return std::nullopt;
    return typed;
}

QStringList SplitServerName(const QString &name)
{
    QStringList fields;
    for (int k = 0; k < kGsmServerNameFields; ++k)
        fields << name.mid(k * kGsmFieldLength, kGsmFieldLength);
    return fields;
}

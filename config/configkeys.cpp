#include "configkeys.h"

#include <array>

namespace
{

const std::array<QString, 6> &GsmKeys()
{
    // Shifted by one against the grid: the address is kept under the server name's key, and so
    // on down to the login under the password's key.
    static const std::array<QString, 6> keys = {
        QStringLiteral("Имя сервера ОФД"),
        QStringLiteral("Порт сервера ОФД"),
        QStringLiteral("PIN-код сим карты"),
        QStringLiteral("APN строка для подключения к Internet"),
        QStringLiteral("Логин для подключения к Internet"),
        QStringLiteral("Пароль для подключения к Internet"),
    };
    return keys;
}

const std::array<QString, 11> &AgentNames()
{
    static const std::array<QString, 11> names = {
        QStringLiteral("Телефон Поставщика"),
        QStringLiteral("Телефон Платежного Агента"),
        QStringLiteral("Телефон Оператора По Приему Платежей"),
        QStringLiteral("Телефон Оператора Перевода"),
        QStringLiteral("Адрес Оператора Перевода (Строка#1)"),
        QStringLiteral("Адрес Оператора Перевода (Строка#2)"),
        QStringLiteral("Адрес Оператора Перевода (Строка#3)"),
        QStringLiteral("Адрес Оператора Перевода (Строка#4)"),
        QStringLiteral("Наименование Оператора Перевода (Строка #1)"),
        QStringLiteral("Наименование Оператора Перевода (Строка #2)"),
        QStringLiteral("Операция Платежного Агента"),
    };
    return names;
}

template <std::size_t N> QString At(const std::array<QString, N> &list, int index)
{
    return index >= 0 && std::size_t(index) < N ? list[std::size_t(index)] : QString();
}

QString Numbered(const QString &prefix, int n)
{
    return prefix + QString::number(n);
}

} // namespace

QString GsmKeyName(int index)
{
    return At(GsmKeys(), index);
}

QString AgentValueKeyName(int index)
{
    const QString name = At(AgentNames(), index);
    return name.isEmpty() ? name : name + QStringLiteral(" (Наименование)");
}

QString AgentFontKeyName(int index)
{
    const QString name = At(AgentNames(), index);
    return name.isEmpty() ? name : name + QStringLiteral(" (Тип Шрифта)");
}

namespace ConfigKeys
{

QString OperTitleSection(int n)
{
    return Numbered(QStringLiteral("CFGKKT_ОПЕРАТОР_#"), n);
}

QString OperSection(int n)
{
    return Numbered(QStringLiteral("CFGKKT_ОПЕРАТОР"), n);
}

QString GoodsSection(int n)
{
    return Numbered(QStringLiteral("CFGKKT_ТОВАР_#"), n);
}

QString GroupSection(int n)
{
    return Numbered(QStringLiteral("CFGKKT_ПРИЗНАК_ПР_#"), n);
}

QString ClicheSection(int n)
{
    return Numbered(QStringLiteral("CFGKKT_КЛИШЕ_СТРОКА_#"), n);
}

} // namespace ConfigKeys

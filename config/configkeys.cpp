#include "configkeys.h"

#include "config.h"

#include <QStringList>

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

// The numbered names of one kind, made once: a save or load asks for each of them five times.
class TNumberedNames
{
public:
    TNumberedNames(const QString &prefix, int count) : prefix_(prefix)
    {
        names_.reserve(count);
        for (int n = 0; n < count; ++n)
            names_.append(prefix + QString::number(n));
    }
    QString operator()(int n) const
    {
        return n >= 0 && n < names_.size() ? names_[n] : prefix_ + QString::number(n);
    }

private:
    QString prefix_;
    QStringList names_;
};

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
    static const TNumberedNames names(QStringLiteral("CFGKKT_ОПЕРАТОР_#"), kConfigOperCount);
    return names(n);
}

QString OperSection(int n)
{
    static const TNumberedNames names(QStringLiteral("CFGKKT_ОПЕРАТОР"), kConfigOperCount);
    return names(n);
}

QString GoodsSection(int n)
{
    static const TNumberedNames names(QStringLiteral("CFGKKT_ТОВАР_#"), kConfigGoodsCount);
    return names(n);
}

QString GroupSection(int n)
{
    static const TNumberedNames names(QStringLiteral("CFGKKT_ПРИЗНАК_ПР_#"), kConfigGroupCount);
    return names(n);
}

QString ClicheSection(int n)
{
    static const TNumberedNames names(QStringLiteral("CFGKKT_КЛИШЕ_СТРОКА_#"), kConfigClicheCount);
    return names(n);
}

} // namespace ConfigKeys

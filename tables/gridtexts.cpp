#include "gridtexts.h"

namespace GridTexts
{

const QVector<TGridColumn> &OperColumns()
{
    static const QVector<TGridColumn> columns = {
        {"Опер. №", 55, {}},        {"Должность", 160, {}},
        {"Шрифт", 65, kNarrowFont}, {"Фамилия (строка 1)", 160, {}},
        {"Шрифт", 65, kNarrowFont}, {"Фамилия (строка 2)", 160, {}},
        {"Шрифт", 65, kNarrowFont}, {"Пароль", 75, {}},
        {"ИНН кассира", 80, {}},
    };
    return columns;
}

const QVector<TGridColumn> &GoodsColumns()
{
    static const QVector<TGridColumn> columns = {
        {"Код товара", 82, {}}, {"Наименование", 500, {}},    {"Тип шрифта", 100, kNarrowFont},
        {"Штрих-код", 155, {}}, {"Цена за единицу", 155, {}}, {"Отдел/Услуга", 200, {}},
    };
    return columns;
}

const QVector<TGridColumn> &GroupColumns()
{
    static const QVector<TGridColumn> columns = {
        {"№", 35, {}},
        {"Наименование отдела/услуги ", 250, {}},
        {"Шрифт", 85, kNarrowFont},
        {"Признак предмета расчета", 290, SignList().front()},
        {"Номер налога", 180, VatList().front()},
        {"Система налогооблажения", 175, TaxSystemList().front()},
        {{}, -1, {}},
    };
    return columns;
}

const QVector<TGridColumn> &ClicheColumns()
{
    static const QVector<TGridColumn> columns = {
        {"Строка №", 250, {}},
        {"Наименование", 400, {}},
        {"Шрифт", 150, kNarrowFont},
    };
    return columns;
}

const QVector<TGridColumn> &AgentColumns()
{
    static const QVector<TGridColumn> columns = {
        {"Параметр", 350, {}},
        {"Значение", 250, {}},
        {"Шрифт", 150, kNarrowFont},
    };
    return columns;
}

const QStringList &ClicheRowCaptions()
{
    static const QStringList captions = {
        "1.     Имя пользователя #1",
        "2.     Имя пользователя #2",
        "3.     Имя пользователя #3",
        "4.     Имя пользователя #4",
        "5.     Имя пользователя #5",
        "6.     Адрес расчетов #1",
        "7.     Адрес расчетов #2",
        "8.     Адрес расчетов #3",
        "9.     Адрес расчетов #4",
        "10.    Адрес расчетов #5",
        "11.   Место расчетов #1",
        "12.   Место расчетов #2",
        "13.   Место расчетов #3",
        "14.   Место расчетов #4",
        "15.   Реклама #1",
        "16.   Наименование ОФД #1",
        "17.   Наименование ОФД #2",
        "18.   Сайт налогового органа #1",
        "19.   Сайт налогового органа #2",
        "20.   Электронная почта отправителя #1",
        "21.   Электронная почта отправителя #2",
    };
    return captions;
}

const QStringList &AgentRowCaptions()
{
    static const QStringList captions = {
        "1.  Телефон поставщика",
        "2.  Телефон платежного агента",
        "3.  Телефон оператора по приему платежей",
        "4.  Телефон оператора перевода",
        "5.  ИНН оператора перевода",
        "6.  Адрес оператора перевода (строка #1)",
        "7.  Адрес оператора перевода (строка #2)",
        "8.  Адрес оператора перевода (строка #3)",
        "9.  Адрес оператора перевода (строка #4)",
        "10. Наименование оператора перевода (строка #1)",
        "11. Наименование оператора перевода (строка #2)",
        "12. Операция платежного агента",
    };
    return captions;
}

const QStringList &FontList()
{
    static const QStringList entries = {kNarrowFont, kWideFont};
    return entries;
}

const QStringList &SignList()
{
    static const QStringList entries = {
        "00 - Временный запрет работы секционной клавиши",
        "01 - ТОВАР, за исключением подакцизного товара",
        "02 - ПОДАКЦИЗНЫЙ ТОВАР",
        "03 - РАБОТА",
        "04 - УСЛУГА",
        "05 - УСЛУГА, с признаком \"банковский платежный агент\"",
        "06 - УСЛУГА, с признаком \"банковский платежный субагент\"",
        "07 - УСЛУГА, с признаком \"платежный агент\"",
        "08 - УСЛУГА, с признаком \"платежный субагент\"",
        "09 - УСЛУГА, с признаком \"поверенный\"",
        "10 - УСЛУГА, с признаком \"комиссионер\"",
        "11 - УСЛУГА, с признаком \"агент\"",
    };
    return entries;
}

const QStringList &VatList()
{
    static const QStringList entries = {
        "1 - Ставка НДС 18%",
        "2 - Ставка НДС 10%",
        "3 - Ставка НДС расчетная 18/118",
        "4 - Ставка НДС расчетная 10/110",
        "5 - Ставка НДС 0%",
        "6 - НДС не облагается",
    };
    return entries;
}

const QStringList &TaxSystemList()
{
    static const QStringList entries = {
        "1 - Общая",
        "2 - Упрощенная доход",
        "3 - Упрощенная доход минус расход",
        "4 - Единый налог на вмененный доход",
        "5 - Единый сельскохозяйственный налог",
        "6 - Патентная система налогообложения",
    };
    return entries;
}

} // namespace GridTexts

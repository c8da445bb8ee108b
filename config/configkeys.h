#pragma once

#include "gridtexts.h"

#include <QString>

// The section and key names of a ".conf" file. Files written by earlier versions of the program
// depend on them, so they stay as they are, including where they do not follow the grid
// captions.

// The font a font key gets when the file lacks it: the grids' default font.
inline const QString &kConfigDefaultFont = GridTexts::kNarrowFont;

// The key of GSM value index (0..5), paired by position; empty outside the list.
QString GsmKeyName(int index);
// The value and font keys of agent line index (0..10), paired by position; empty outside the
// list (agent line 11 has no keys and is neither written nor read).
QString AgentValueKeyName(int index);
QString AgentFontKeyName(int index);

namespace ConfigKeys
{

inline const QString kGsmSection = QStringLiteral("GSM");
inline const QString kAgentSection = QStringLiteral("CFGKKT_ПАРАМЕТРЫ_АГЕНТА");

// Sections numbered by the zero-based element index.
QString OperTitleSection(int n); // "CFGKKT_ОПЕРАТОР_#n": the position only
QString OperSection(int n);      // "CFGKKT_ОПЕРАТОРn": the rest of the operator
QString GoodsSection(int n);
QString GroupSection(int n);
QString ClicheSection(int n);

// Operator keys.
inline const QString kPosition = QStringLiteral("Должность");
inline const QString kPositionFont = QStringLiteral("Шрифт должности");
inline const QString kSurname1 = QStringLiteral("Фамилия(Строка 1)");
inline const QString kSurname1Font = QStringLiteral("Шрифт Фамилии(Строка 1)");
inline const QString kSurname2 = QStringLiteral("Фамилия(Строка 2)");
inline const QString kSurname2Font = QStringLiteral("Шрифт Фамилии(Строка 2)");
inline const QString kPassword = QStringLiteral("Пароль");
inline const QString kInn = QStringLiteral("ИНН Кассира");

// Goods keys.
inline const QString kGoodsName = QStringLiteral("Наименование");
inline const QString kGoodsFont = QStringLiteral("Тип Шрифта");
inline const QString kGoodsBarcode = QStringLiteral("Штрих-код");
inline const QString kGoodsPrice = QStringLiteral("Цена");
inline const QString kGoodsDepartment = QStringLiteral("Отдел/Услуга");

// Payment-item group keys.
inline const QString kGroupName = QStringLiteral("Наименование отдела/услуги");
inline const QString kGroupNameFont = QStringLiteral("Тип Шрифта Наименования");
inline const QString kGroupItemSign = QStringLiteral("Признак ПР(Значение)");
inline const QString kGroupTaxNumber = QStringLiteral("Признак ПР(Наименование)");

// Cliche keys.
inline const QString kClicheText = QStringLiteral("Наименование");
inline const QString kClicheFont = QStringLiteral("Тип шрифта");

} // namespace ConfigKeys

#pragma once

#include <QString>

// One goods item as the goods grid, the goods base file and the configuration hold it: the
// texts of its grid row.
struct TConfig_PredmRasch {
    QString Name;
    QString Font;
    QString Barcode;
    QString Price;
    QString Department;

    bool operator==(const TConfig_PredmRasch &) const = default;
};

// The goods grid's columns of those texts.
namespace GoodsColumn
{
inline constexpr int Name = 1;
inline constexpr int Font = 2;
inline constexpr int Barcode = 3;
inline constexpr int Price = 4;
inline constexpr int Department = 5;
} // namespace GoodsColumn

// The payment-item groups grid's columns; the sign, VAT and tax system go to the register as
// one field.
namespace GroupColumn
{
inline constexpr int Name = 1;
inline constexpr int Font = 2;
inline constexpr int Sign = 3;
inline constexpr int Vat = 4;
inline constexpr int TaxSystem = 5;
} // namespace GroupColumn

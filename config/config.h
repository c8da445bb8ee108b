#pragma once

#include "goodsrecord.h"
#include "tablelayout.h"

#include <QString>
#include <QtGlobal>

#include <array>

// The whole configuration that a ".conf" file holds: a staging area between the grids of the
// two work frames and the file. Every text is exactly the text of the grid cell that feeds it.

inline constexpr int kConfigGsmCount = 6; // GSM grid rows 1..6 (row 7, the password, not)
// One record for each row of the tables' grids.
inline constexpr int kConfigOperCount = kOperatorCount;
inline constexpr int kConfigGoodsCount = kGoodsItemCount;
inline constexpr int kConfigGroupCount = kGroupCount;
inline constexpr int kConfigClicheCount = kClicheLineCount;
inline constexpr int kConfigAgentCount = kAgentParamCount;

struct TConfig_GSM {
    // Column 1 of GSM grid rows 1..6, in row order.
    std::array<QString, kConfigGsmCount> Values;

    bool operator==(const TConfig_GSM &) const = default;
};

struct TConfig_Oper {
    QString Position;
    QString PositionFont;
    QString Surname1;
    QString Surname1Font;
    QString Surname2;
    QString Surname2Font;
    QString Password;
    QString Inn;

    bool operator==(const TConfig_Oper &) const = default;
};

// One payment-item group (its tax-system column is not kept).
struct TConfig_RpiznPredmRasch {
    QString Name;
    QString NameFont;
    QString ItemSign;
    QString TaxNumber;

    bool operator==(const TConfig_RpiznPredmRasch &) const = default;
};

// One cliche line.
struct TConfig_Klishe {
    QString Text;
    QString Font;

    bool operator==(const TConfig_Klishe &) const = default;
};

// One agent parameter.
struct TConfig_Agent {
    QString Value;
    QString Font;

    bool operator==(const TConfig_Agent &) const = default;
};

struct TConfig_Z48 {
    std::array<TConfig_Oper, kConfigOperCount> Oper;
    std::array<TConfig_PredmRasch, kConfigGoodsCount> PredmRasch;
    std::array<TConfig_RpiznPredmRasch, kConfigGroupCount> RpiznPredmRasch;
    std::array<TConfig_Klishe, kConfigClicheCount> Klishe;
    std::array<TConfig_Agent, kConfigAgentCount> Agent;

    bool operator==(const TConfig_Z48 &) const = default;
};

// The scanner chosen in the scanner dialog; never stored in a ".conf" file.
struct TScanner {
    quint8 ModelIndex = 0;
    QString ComPort;
    QString SpeedPort;
    bool Used = false;

    bool operator==(const TScanner &) const = default;
};

struct TConfig {
    TConfig_GSM Gsm;
    TConfig_Z48 Tables;
    TScanner Scanner;

    bool operator==(const TConfig &) const = default;
};

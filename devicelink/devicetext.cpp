#include "devicetext.h"

#include <array>

namespace
{

// Device code of each capital letter, indexed by its Windows-1251 code minus 192 (А..Я).
constexpr std::array<quint8, 32> kCapitalToDevice = {
    0x61, 0x62, 0x77, 0x67, 0x64, 0x65, 0x76, 0x7A, // А Б В Г Д Е Ж З
    0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F, 0x70, // И Й К Л М Н О П
    0x72, 0x73, 0x74, 0x75, 0x66, 0x68, 0x63, 0x7E, // Р С Т У Ф Х Ц Ч
    0x7B, 0x7D, 0x5E, 0x79, 0x78, 0x7C, 0x60, 0x71, // Ш Щ Ъ Ы Ь Э Ю Я
};

constexpr quint8 kFirstCapital = 192;
constexpr quint8 kBlank = 32;
constexpr quint8 kDeviceN = 127;

// Windows-1251 byte of each device code 94..126 (0 where the code is not a letter).
constexpr std::array<quint8, 128> MakeDeviceToCapital()
{
    std::array<quint8, 128> table{};
    for (size_t i = 0; i < kCapitalToDevice.size(); ++i)
        table[kCapitalToDevice[i]] = quint8(kFirstCapital + i);
    return table;
}

constexpr std::array<quint8, 128> kDeviceToCapital = MakeDeviceToCapital();

} // namespace

QByteArray ToDeviceText(const QByteArray &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const char ch : text) {
        const quint8 b = quint8(ch);
        if (b < 32)
            continue;
        if (b < 128)
            out.append(char(b));
        else if (b >= kFirstCapital && b < kFirstCapital + 32)
            out.append(char(kCapitalToDevice[b - kFirstCapital]));
        else
            out.append(char(kBlank));
    }
    return out;
}

QByteArray FromDeviceText(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const quint8 b = quint8(ch);
        if (b == 0 || b == 128)
            break;
        if (b < 26 && b != 10 && b != 13)
            continue;
        if (b == kDeviceN)
            out.append('N');
        else if (b < 128 && kDeviceToCapital[b] != 0)
            out.append(char(kDeviceToCapital[b]));
        else
            out.append(char(b));
    }
    return out;
}

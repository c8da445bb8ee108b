#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>
#include <optional>

// The command line of kkt-cli: one command, its file and the options.

enum class TCliCommand {
    Help,
    Version,
    Status,
    Write,
    Read,
    WriteGoods,
    ReadGoods,
    Verify,
    ClearGoods
};

// What a configuration run works on, in the order it is worked.
enum class TCliPart { Oper, Goods, Groups, Cliche, Agents, Gsm };
inline constexpr int kCliPartCount = 6;

// "oper", "goods", ... as --only names them.
QString CliPartName(TCliPart part);

struct TCliOptions {
    TCliCommand command = TCliCommand::Help;
    QString file;
    std::array<bool, kCliPartCount> parts{true, true, true, true, true, true};
    int goodsFirst = 1;
    int goodsLast = 6000;
    QStringList ports;
    std::optional<qint32> speed;
    std::optional<qint32> timeOut;
    std::optional<quint32> device;
    bool json = false;
    QString trace;
    bool yes = false;

    bool Has(TCliPart part) const { return parts[std::size_t(part)]; }
    // Whether the run is over the goods base alone: the goods commands, or a ".dbZ48" file.
    bool GoodsOnly() const;
};

struct TCliParse {
    TCliOptions options;
    QString error; // empty when the line is usable
};

// args without the program's name.
TCliParse ParseCliArguments(const QStringList &args);
// The line settings "ProgSett.ini" gave where no option did: the reason when the register's line
// cannot take them (a speed it has not, a time-out under 1 ms), else empty.
QString SettingsFileRefusal(qint32 speed, qint32 timeOut);

// The text of --help.
QString CliHelpText();

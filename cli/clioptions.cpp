#include "clioptions.h"

#include "tablelayout.h"

#include <QRegularExpression>

#include <algorithm>

namespace
{

struct TCommandName {
    const char *name;
    TCliCommand command;
    bool needsFile;
};

constexpr std::array<TCommandName, 8> kCommands = {{
    {"help", TCliCommand::Help, false},
    {"status", TCliCommand::Status, false},
    {"write", TCliCommand::Write, true},
    {"read", TCliCommand::Read, true},
    {"write-goods", TCliCommand::WriteGoods, true},
    {"read-goods", TCliCommand::ReadGoods, true},
    {"verify", TCliCommand::Verify, true},
    {"clear-goods", TCliCommand::ClearGoods, false},
}};

constexpr std::array<const char *, kCliPartCount> kPartNames = {"oper",   "goods",  "groups",
                                                                "cliche", "agents", "gsm"};

// The speeds a register's line takes; the time-out and the device number are whole numbers the
// settings keep in 32 bits with a sign, as the connection dialog takes them.
constexpr std::array<qint64, 9> kSpeeds = {600,   1200,  2400,  4800,  9600,
                                           19200, 38400, 57600, 115200};
constexpr qint64 kMaxSetting = 2147483647;

QString Err(const char *text)
{
    return QString::fromUtf8(text);
}

bool ParseNumber(const QString &text, qint64 low, qint64 high, qint64 &value)
{
    bool ok = false;
    value = text.toLongLong(&ok);
    return ok && value >= low && value <= high;
}

QString ParseOnly(const QString &value, TCliOptions &o)
{
    o.parts.fill(false);
    for (const QString &name : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        int index = -1;
        for (int i = 0; i < kCliPartCount; ++i)
            if (name.trimmed() == QLatin1String(kPartNames[std::size_t(i)]))
                index = i;
        if (index < 0)
            return Err("Неизвестная таблица в --only: ") + name +
                   Err(" (допустимы oper, goods, groups, cliche, agents, gsm)");
        o.parts[std::size_t(index)] = true;
    }
    if (!std::any_of(o.parts.begin(), o.parts.end(), [](bool b) { return b; }))
        return Err("В --only не указано ни одной таблицы");
    return {};
}

QString ParseGoodsRange(const QString &value, TCliOptions &o)
{
    static const QRegularExpression form(QStringLiteral("^(\\d+)(?:-(\\d+))?$"));
    const QRegularExpressionMatch m = form.match(value);
    qint64 first = 0;
    qint64 last = 0;
    if (!m.hasMatch() || !ParseNumber(m.captured(1), 1, kGoodsItemCount, first) ||
        !ParseNumber(m.captured(2).isEmpty() ? m.captured(1) : m.captured(2), 1, kGoodsItemCount,
                     last) ||
        first > last)
        return Err("Диапазон товаров \"") + value +
               Err("\" должен иметь вид A-B, где 1 <= A <= B <= 6000");
    o.goodsFirst = int(first);
    o.goodsLast = int(last);
    return {};
}

// One option with its value; empty on success.
QString ParseOption(const QString &name, const QString &value, TCliOptions &o)
{
    qint64 n = 0;
    if (name == QLatin1String("--port")) {
        o.ports += value.split(QLatin1Char(','), Qt::SkipEmptyParts);
    } else if (name == QLatin1String("--speed")) {
        if (!ParseNumber(value, 1, kMaxSetting, n) ||
            std::find(kSpeeds.begin(), kSpeeds.end(), n) == kSpeeds.end())
            return Err("Неверная скорость порта: ") + value +
                   Err(" (допустимы 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200)");
        o.speed = qint32(n);
    } else if (name == QLatin1String("--timeout")) {
        if (!ParseNumber(value, 1, kMaxSetting, n))
            return Err("Неверный тайм-аут (мс): ") + value + Err(" (допустимо от 1 до ") +
                   QString::number(kMaxSetting) + Err(")");
        o.timeOut = qint32(n);
    } else if (name == QLatin1String("--device")) {
        if (!ParseNumber(value, 0, kMaxSetting, n))
            return Err("Неверный номер ККТ: ") + value + Err(" (допустимо от 0 до ") +
                   QString::number(kMaxSetting) + Err(")");
        o.device = quint32(n);
    } else if (name == QLatin1String("--only")) {
        return ParseOnly(value, o);
    } else if (name == QLatin1String("--goods")) {
        return ParseGoodsRange(value, o);
    } else if (name == QLatin1String("--trace")) {
        o.trace = value;
    } else {
        return Err("Неизвестный параметр: ") + name;
    }
    return {};
}

bool TakesValue(const QString &name)
{
    static const QStringList withValue = {
        QStringLiteral("--port"),   QStringLiteral("--speed"), QStringLiteral("--timeout"),
        QStringLiteral("--device"), QStringLiteral("--only"),  QStringLiteral("--goods"),
        QStringLiteral("--trace"),
    };
    return withValue.contains(name);
}

} // namespace

QString SettingsFileRefusal(qint32 speed, qint32 timeOut)
{
    if (std::find(kSpeeds.begin(), kSpeeds.end(), speed) == kSpeeds.end())
        return Err("Неверная скорость порта в ProgSett.ini: ") + QString::number(speed) +
               Err(" (допустимы 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200; "
                   "укажите --speed)");
    if (timeOut < 1)
        return Err("Неверный тайм-аут (мс) в ProgSett.ini: ") + QString::number(timeOut) +
               Err(" (допустимо от 1 до ") + QString::number(kMaxSetting) +
               Err("; укажите --timeout)");
    return {};
}

QString CliPartName(TCliPart part)
{
    return QLatin1String(kPartNames[std::size_t(part)]);
}

bool TCliOptions::GoodsOnly() const
{
    return command == TCliCommand::WriteGoods || command == TCliCommand::ReadGoods ||
           file.endsWith(QStringLiteral(".dbZ48"), Qt::CaseInsensitive);
}

TCliParse ParseCliArguments(const QStringList &args)
{
    TCliParse parse;
    TCliOptions &o = parse.options;
    QStringList positional;
    bool commandSeen = false;
    for (int i = 0; i < args.size(); ++i) {
        QString arg = args.at(i);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            o.command = TCliCommand::Help;
            return parse;
        }
        if (arg == QLatin1String("--version")) {
            o.command = TCliCommand::Version;
            return parse;
        }
        if (!arg.startsWith(QLatin1String("--"))) {
            positional += arg;
            continue;
        }
        if (arg == QLatin1String("--json")) {
            o.json = true;
            continue;
        }
        if (arg == QLatin1String("--yes")) {
            o.yes = true;
            continue;
        }
        QString value;
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (eq > 0) {
            value = arg.mid(eq + 1);
            arg.truncate(eq);
        } else if (TakesValue(arg)) {
            // No port or file name starts so; "--port --json" lacks the port.
            if (i + 1 >= args.size() || args.at(i + 1).startsWith(QLatin1String("--"))) {
                parse.error = Err("Не указано значение параметра ") + arg;
                return parse;
            }
            value = args.at(++i);
        }
        parse.error = ParseOption(arg, value, o);
        if (!parse.error.isEmpty())
            return parse;
    }
    if (positional.isEmpty()) {
        parse.error = Err("Не указана команда (kkt-cli --help выводит список команд)");
        return parse;
    }
    const QString command = positional.takeFirst();
    for (const TCommandName &c : kCommands) {
        if (command != QLatin1String(c.name))
            continue;
        commandSeen = true;
        o.command = c.command;
        if (c.needsFile) {
            if (positional.isEmpty()) {
                parse.error = Err("Команде ") + command + Err(" нужно имя файла");
                return parse;
            }
            o.file = positional.takeFirst();
        }
    }
    if (!commandSeen)
        parse.error = Err("Неизвестная команда: ") + command;
    else if (!positional.isEmpty())
        parse.error = Err("Лишний аргумент: ") + positional.first();
    return parse;
}

namespace
{

// The text, its examples with Linux's port names and paths.
QString HelpText()
{
    return Err(
        "kkt-cli - программирование ККТ через последовательный порт\n"
        "\n"
        "Команды:\n"
        "  status                       запрос состояния ККТ\n"
        "      kkt-cli status --port ttyUSB0\n"
        "  write FILE.conf              запись конфигурации из файла в ККТ\n"
        "      kkt-cli write shop.conf --only oper,cliche\n"
        "  read OUT.conf                чтение конфигурации из ККТ в файл\n"
        "      kkt-cli read saved.conf --only goods --goods 1-100\n"
        "  write-goods FILE.dbZ48       запись базы товаров из файла в ККТ\n"
        "      kkt-cli write-goods base.dbZ48 --goods 1-500\n"
        "  read-goods OUT.dbZ48         чтение базы товаров из ККТ в файл\n"
        "      kkt-cli read-goods base.dbZ48\n"
        "  verify FILE.conf|FILE.dbZ48  сравнение ККТ с файлом (код 1 при отличиях)\n"
        "      kkt-cli verify shop.conf --port ttyUSB0,ttyUSB1\n"
        "  clear-goods --yes            очистка базы товаров ККТ\n"
        "      kkt-cli clear-goods --yes\n"
        "\n"
        "Параметры:\n"
        "  --only LIST    таблицы: oper,goods,groups,cliche,agents,gsm (по умолчанию все)\n"
        "      --only goods,groups\n"
        "  --goods A-B    диапазон товаров, 1..6000 (по умолчанию 1-6000)\n"
        "      --goods 1-250\n"
        "  --port P       порт ККТ; можно повторять или перечислять через запятую\n"
        "      --port ttyUSB0 --port ttyUSB1\n"
        "  --speed N      скорость порта, бит/с (по умолчанию из ProgSett.ini)\n"
        "      --speed 115200\n"
        "  --timeout MS   тайм-аут ответа, мс (по умолчанию из ProgSett.ini)\n"
        "      --timeout 3500\n"
        "  --device N     номер ККТ (по умолчанию из ProgSett.ini)\n"
        "      --device 0\n"
        "  --json         события в виде JSON, по объекту в строке, в stdout\n"
        "      kkt-cli write shop.conf --json\n"
        "  --trace FILE   дописывать в файл каждый обмен с ККТ\n"
        "      --trace /tmp/kkt-trace.log\n"
        "  --yes          подтверждение очистки базы товаров\n"
        "  --help         эта справка\n"
        "  --version      версия программы\n"
        "\n"
        "Код завершения: 0 успех, 1 ошибка ККТ или отличия, 2 ошибка параметров или файла.\n");
}

} // namespace

QString CliHelpText()
{
#ifdef Q_OS_WIN
    // Windows names its ports and paths otherwise.
    return HelpText()
        .replace(QStringLiteral("ttyUSB0"), QStringLiteral("COM3"))
        .replace(QStringLiteral("ttyUSB1"), QStringLiteral("COM4"))
        .replace(QStringLiteral("/tmp/kkt-trace.log"), QStringLiteral("%TEMP%\\kkt-trace.log"));
#else
    return HelpText();
#endif
}

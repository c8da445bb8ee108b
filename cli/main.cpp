// kkt-cli: programs registers from a configuration or goods base file, one or several at once.
#include "appfolder.h"
#include "cliconsole.h"
#include "clijob.h"
#include "clioptions.h"
#include "clioutput.h"
#include "clipreflight.h"
#include "cliprogress.h"
#include "clitrace.h"
#include "configfile.h"
#include "goodsbasefile.h"
#include "programsettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <memory>
#include <vector>

#include <unistd.h>

namespace
{

// A usage or file error; a register that fails or differs gives 1 through its report.
constexpr int kExitUsage = 2;

std::atomic<bool> stopRequested{false};

extern "C" void OnInterrupt(int)
{
    stopRequested.store(true);
}

QString Text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

void Print(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    WriteText(stream, bytes.constData(), std::size_t(bytes.size()));
}

int UsageError(const QString &text)
{
    Print(stderr, Text("kkt-cli: ") + text);
    return kExitUsage;
}

QString FileError(const char *what, const QString &path, const QString &reason)
{
    return Text(what) + Text(" \"") + path + Text("\": ") + reason;
}

// Saves what read brought; empty when saved.
QString SaveOutput(const TCliOptions &o, const TConfig &config)
{
    QString error;
    if (!o.GoodsOnly())
        return WriteConfigFile(o.file, config, &error)
                   ? QString()
                   : FileError("Не удалось сохранить файл конфигурации", o.file, error);
    const QVector<TConfig_PredmRasch> rows(config.Tables.PredmRasch.begin(),
                                           config.Tables.PredmRasch.end());
    return SaveGoodsBaseFile(o.file, rows, &error)
               ? QString()
               : FileError("Не удалось сохранить файл базы товаров", o.file, error);
}

QString ResultText(const TJobReport &r)
{
    if (r.exitCode == 0)
        return Text("успешно");
    if (r.stopped)
        return Text("прервано");
    return r.message.isEmpty() ? Text("есть отличия") : Text("ошибка");
}

void PrintSummary(const std::vector<TJobReport> &reports)
{
    int width = 4;
    for (const TJobReport &r : reports)
        width = std::max(width, int(r.port.size()));
    Print(stdout, Text("Порт").leftJustified(width + 2) + Text("Результат     Время, с"));
    for (const TJobReport &r : reports)
        Print(stdout, r.port.leftJustified(width + 2) + ResultText(r).leftJustified(14) +
                          QString::number(double(r.elapsedMs) / 1000.0, 'f', 1));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    KeepRunningWithoutReader();
    const TCliParse parse = ParseCliArguments(QCoreApplication::arguments().mid(1));
    if (!parse.error.isEmpty())
        return UsageError(parse.error);
    TJobInput input;
    input.options = parse.options;
    const TCliOptions &o = input.options;
    if (o.command == TCliCommand::Help) {
        Print(stdout, CliHelpText());
        return 0;
    }
    if (o.command == TCliCommand::Version) {
        Print(stdout, Text("kkt-cli ") + ProgramVersionText());
        return 0;
    }
    if (o.command == TCliCommand::ClearGoods && !o.yes)
        return UsageError(Text("Очистка удаляет из ККТ всю базу товаров. Для подтверждения "
                               "укажите --yes"));

    TStructSetting settings;
    if (QFile::exists(ProgSettingsPath()))
        ReadProgSettings(ProgSettingsPath(), settings);
    settings.Port.Speed = o.speed.value_or(settings.Port.Speed);
    settings.Port.TimeOut = o.timeOut.value_or(settings.Port.TimeOut);
    settings.NumKKT = o.device.value_or(settings.NumKKT);
    if (const QString why = SettingsFileRefusal(settings.Port.Speed, settings.Port.TimeOut);
        !why.isEmpty())
        return UsageError(why);
    QStringList ports = o.ports;
    if (ports.isEmpty() && !settings.Port.Name.isEmpty())
        ports += settings.Port.Name;
    ports = DistinctPorts(ports);
    if (ports.isEmpty())
        return UsageError(Text("Не указан порт ККТ (--port или ProgSett.ini)"));
    if (const QString why = PortsRefusal(ports); !why.isEmpty())
        return UsageError(why);
    const bool reading = o.command == TCliCommand::Read || o.command == TCliCommand::ReadGoods;
    if (reading && ports.size() > 1)
        return UsageError(Text("Чтение в файл выполняется с одного порта"));
    if (!o.file.isEmpty()) {
        const QString error = LoadInput(o, input.config);
        if (!error.isEmpty())
            return UsageError(error);
    }

    TTraceFile trace;
    if (!o.trace.isEmpty()) {
        QString error;
        if (!trace.Open(o.trace, &error))
            return UsageError(FileError("Не удалось открыть файл трассировки", o.trace, error));
    }

    std::signal(SIGINT, OnInterrupt);
    TProgressPrinter printer(ports, isatty(STDERR_FILENO) != 0, o.json);
    std::vector<TJobReport> reports(std::size_t(ports.size()));
    {
        // Qt threads: the serial port's notifiers need a thread Qt knows.
        std::vector<std::unique_ptr<QThread>> threads;
        for (int i = 0; i < ports.size(); ++i) {
            threads.emplace_back(QThread::create([&, i] {
                // Each register's port stays open for the whole run of its own thread.
                TLinkSettings own = LinkSettingsOf(settings);
                own.portName = ports.at(i);
                TRegisterLink link(own);
                link.SetKeepOpen(true);
                if (!o.trace.isEmpty())
                    link.SetExchangeHook(trace.Hook());
                reports[std::size_t(i)] = RunJob(input, link, printer, stopRequested);
                printer.Finished(reports[std::size_t(i)]);
            }));
            threads.back()->start();
        }
        for (const std::unique_ptr<QThread> &t : threads)
            t->wait();
    }
    printer.EndLive();

    int exitCode = 0;
    for (const TJobReport &r : reports) {
        if (!o.json)
            for (const QString &line : r.lines)
                Print(stdout, ports.size() > 1 ? r.port + Text(": ") + line : line);
        if (!r.message.isEmpty())
            Print(stderr, r.port + Text(": ") + r.message);
        exitCode = std::max(exitCode, r.exitCode);
    }
    if (reading && exitCode == 0) {
        const QString error = SaveOutput(o, reports.front().config);
        if (!error.isEmpty()) {
            // Said as the other file errors are, and in the summary and the events too.
            TJobReport &r = reports.front();
            r.message = error;
            r.exitCode = UsageError(error);
            printer.Failed(r);
            exitCode = r.exitCode;
        }
    }
    if (stopRequested.load())
        Print(stderr, Text("ВНИМАНИЕ! Операция прервана пользователем!"));
    if (!o.json)
        PrintSummary(reports);
    return exitCode;
}

#include "clijob.h"

#include "clicompare.h"
#include "configcells.h"
#include "devicecommands.h"
#include "gridtexts.h"
#include "gsmruns.h"
#include "tableruns.h"

#include <QElapsedTimer>

namespace
{

QString Text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// The message boxes' line breaks as blanks, for one line on the console.
QString OneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}

// The GSM grid rows 1..6 the record keeps; row 7 is empty, as in the grid after start.
class TConfigGsm : public TGsmValues
{
public:
    explicit TConfigGsm(TConfig_GSM &gsm) : gsm_(gsm) {}
    QString Value(int gridRow) const override
    {
        return gridRow >= 1 && gridRow <= kConfigGsmCount ? gsm_.Values[std::size_t(gridRow - 1)]
                                                          : QString();
    }
    void SetValue(int gridRow, const QString &value) override
    {
        if (gridRow >= 1 && gridRow <= kConfigGsmCount)
            gsm_.Values[std::size_t(gridRow - 1)] = value;
    }

private:
    TConfig_GSM &gsm_;
};

// Maps the steps of each run onto the steps of the whole job.
class TJobObserver : public TRunObserver
{
public:
    TJobObserver(const QString &port, qint64 total, TJobEvents &events,
                 const std::atomic<bool> &stop)
        : port_(port), total_(total), events_(events), stop_(stop)
    {
    }
    void BeginPart(TCliPart part, qint64 steps)
    {
        offset_ += steps_;
        steps_ = steps;
        part_ = part;
    }
    bool Step(qint64 done, qint64, int record) override
    {
        record_ = record;
        events_.Progress(port_, offset_ + done, total_, Where());
        return !stop_.load(std::memory_order_relaxed);
    }
    bool KeepGoing() const override { return !stop_.load(std::memory_order_relaxed); }
    QString Where() const { return CliPartTitle(part_) + Text(", ") + RecordTitle(part_, record_); }

private:
    QString port_;
    qint64 total_;
    TJobEvents &events_;
    const std::atomic<bool> &stop_;
    qint64 offset_ = 0;
    qint64 steps_ = 0;
    TCliPart part_ = TCliPart::Oper;
    int record_ = 0;
};

qint64 PartSteps(const TCliOptions &o, TCliPart part)
{
    if (part == TCliPart::Gsm)
        return kGsmParamCount;
    const TTableTab tab = CliPartTab(part);
    if (tab == TTableTab::Goods)
        return qint64(o.goodsLast) - o.goodsFirst + 1;
    return qint64(TabLayout(tab).maximum) * TabLayout(tab).fieldsPerRecord;
}

QList<TCliPart> PartsOf(const TCliOptions &o)
{
    QList<TCliPart> parts;
    for (int i = 0; i < kCliPartCount; ++i)
        if (o.Has(TCliPart(i)) && (!o.GoodsOnly() || TCliPart(i) == TCliPart::Goods))
            parts += TCliPart(i);
    return parts;
}

// One table or the GSM parameters, written from or read into config. Empty when done.
QString RunPart(TCliPart part, bool writing, const TCliOptions &o, TConfig &config,
                TRegisterLink &link, TJobObserver &observer, bool &stopped)
{
    if (part == TCliPart::Gsm) {
        TConfigGsm gsm(config.Gsm);
        const TGsmRunResult r =
            writing ? WriteGsm(gsm, link, &observer) : ReadGsm(gsm, link, &observer);
        stopped = r.outcome == TGsmRunResult::TOutcome::Stopped;
        return r.outcome == TGsmRunResult::TOutcome::Failed
                   ? CliPartTitle(part) + Text(": ") + OneLine(GsmRunMessage(writing, r))
                   : QString();
    }
    const TTableTab tab = CliPartTab(part);
    const int first = tab == TTableTab::Goods ? o.goodsFirst : 1;
    const int last = tab == TTableTab::Goods ? o.goodsLast : TabLayout(tab).maximum;
    TConfigCells cells(config.Tables);
    const TTableRunResult r = writing ? WriteTables(tab, first, last, cells, link, &observer)
                                      : ReadTables(tab, first, last, cells, link, &observer);
    stopped = r.outcome == TTableRunResult::TOutcome::Stopped;
    const QString message = TableRunMessage(tab, writing, r);
    return message.isEmpty() ? QString() : CliPartTitle(part) + Text(": ") + OneLine(message);
}

void RunStatus(TRegisterLink &link, TJobReport &report)
{
    TDeviceStatus s;
    const quint8 result = StatusCommand(link, s);
    if (result != 0) {
        report.exitCode = 1;
        report.message = OneLine(Text("ВНИМАНИЕ!\r\nНе удалось подключиться к ККТ!")) +
                         Text(" (код ") + QString::number(result) + Text(")");
        return;
    }
    const QList<std::pair<char, quint64>> values = {
        {'A', s.A}, {'B', s.B}, {'C', s.C}, {'D', s.D}, {'E', s.E},
        {'F', s.F}, {'G', s.G}, {'H', s.H}, {'I', s.I}, {'J', s.J},
        {'K', s.K}, {'L', s.L}, {'M', s.M}, {'N', s.N}, {'O', s.O},
    };
    for (const auto &[name, value] : values)
        report.lines += QLatin1Char(name) + Text(" = ") + QString::number(value);
    report.lines += Text("Связь с ККТ установленна!");
}

void RunClearGoods(TRegisterLink &link, TJobReport &report, const std::atomic<bool> &stop)
{
    // The register may take its 30 s: Ctrl+C gives up the wait at once, as "Стоп" does in the
    // windows. The stop is then all there is to say; the base may or may not be cleared.
    link.SetWaitPump([&stop] { return !stop.load(); });
    const quint8 result = ClearGoods(link);
    link.SetWaitPump({});
    if (result != 0 && stop.load()) {
        report.exitCode = 1;
        report.stopped = true;
        return;
    }
    if (result != 0) {
        report.exitCode = 1;
        report.message = OneLine(Text("Внимание!\r\nОшибка очистки базы - ") +
                                 QString::number(result) + QLatin1Char('!'));
        return;
    }
    report.lines += Text("База успешно очищена!");
}

} // namespace

TConfig DefaultGridConfig()
{
    TConfig config;
    TConfigCells cells(config.Tables);
    for (int t = 0; t < kTableTabCount; ++t) {
        const TTableTab tab = TTableTab(t);
        for (int row = 1; row <= TabLayout(tab).maximum; ++row)
            for (int col = 1; col <= TConfigCells::BoundColumns(tab); ++col)
                cells.SetCell(tab, col, row, GridColumnOf(tab, col).defaultText);
    }
    return config;
}

namespace
{

// The work itself; RunJob adds why a port did not open.
TJobReport RunJobOn(const TJobInput &input, TRegisterLink &link, TJobEvents &events,
                    const std::atomic<bool> &stop)
{
    QElapsedTimer timer;
    timer.start();
    TJobReport report;
    report.port = link.Settings().portName;
    const TCliOptions &o = input.options;
    const TCliCommand command = o.command;
    if (command == TCliCommand::Status || command == TCliCommand::ClearGoods) {
        events.Started(report.port, 1);
        if (command == TCliCommand::Status)
            RunStatus(link, report);
        else
            RunClearGoods(link, report, stop);
        events.Progress(report.port, 1, 1, QString());
        report.elapsedMs = timer.elapsed();
        return report;
    }
    const bool writing = command == TCliCommand::Write || command == TCliCommand::WriteGoods;
    const QList<TCliPart> parts = PartsOf(o);
    qint64 total = 0;
    for (TCliPart part : parts)
        total += PartSteps(o, part);
    events.Started(report.port, total);
    TJobObserver observer(report.port, total, events, stop);
    report.config = input.config;
    for (TCliPart part : parts) {
        if (stop.load()) {
            report.stopped = true;
            report.message = Text("остановлено перед таблицей ") + CliPartTitle(part);
            break;
        }
        observer.BeginPart(part, PartSteps(o, part));
        bool stopped = false;
        report.message = RunPart(part, writing, o, report.config, link, observer, stopped);
        if (stopped) {
            report.stopped = true;
            report.message = Text("остановлено после: ") + observer.Where();
        }
        if (!report.message.isEmpty())
            break;
    }
    if (!report.message.isEmpty())
        report.exitCode = 1;
    else if (command == TCliCommand::Verify) {
        report.lines = CompareConfigs(input.config, report.config, parts, o);
        report.exitCode = report.lines.isEmpty() ? 0 : 1;
    }
    report.elapsedMs = timer.elapsed();
    return report;
}

} // namespace

TJobReport RunJob(const TJobInput &input, TRegisterLink &link, TJobEvents &events,
                  const std::atomic<bool> &stop)
{
    TJobReport report = RunJobOn(input, link, events, stop);
    link.Close();
    // The reason of the failed opening follows the result.
    const QString failure = link.LastOpenFailure();
    if (report.exitCode != 0 && !report.message.isEmpty() && !failure.isEmpty())
        report.message += Text(" (") + failure + Text(")");
    return report;
}

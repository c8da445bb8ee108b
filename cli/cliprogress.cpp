#include "cliprogress.h"

#include "cliconsole.h"

#include <QJsonDocument>
#include <QJsonObject>

TProgressPrinter::TProgressPrinter(const QStringList &ports, bool live, bool json)
    : ports_(ports), live_(live), json_(json)
{
}

QByteArray TProgressPrinter::JsonLine(const QVariantMap &event)
{
    return QJsonDocument(QJsonObject::fromVariantMap(event)).toJson(QJsonDocument::Compact) + '\n';
}

void TProgressPrinter::EmitLocked(const QVariantMap &event)
{
    const QByteArray line = JsonLine(event);
    WriteText(stdout, line.constData(), std::size_t(line.size()));
    std::fflush(stdout);
}

QVariantMap TProgressPrinter::FailureEvent(const TJobReport &report)
{
    // A verify that found differences has no failure text of its own: its lines are the
    // differences.
    const QString message =
        report.message.isEmpty()
            ? QStringLiteral("ККТ отличается от файла, отличий: %1").arg(report.lines.size())
            : report.message;
    return {{"event", "failure"}, {"port", report.port}, {"message", message}};
}

void TProgressPrinter::Failed(const TJobReport &report)
{
    const std::lock_guard lock(mutex_);
    if (json_)
        EmitLocked(FailureEvent(report));
}

void TProgressPrinter::Started(const QString &port, qint64 total)
{
    const std::lock_guard lock(mutex_);
    TLine &line = lines_[port];
    line.total = total;
    line.timer.start();
    if (json_)
        EmitLocked({{"event", "start"}, {"port", port}, {"total", total}});
    if (live_)
        DrawLocked();
}

void TProgressPrinter::Progress(const QString &port, qint64 done, qint64 total,
                                const QString &where)
{
    const std::lock_guard lock(mutex_);
    TLine &line = lines_[port];
    line.done = done;
    line.total = total;
    line.where = where;
    const int percent = total > 0 ? int(done * 100 / total) : 100;
    if (json_ && percent != line.percent)
        EmitLocked({{"event", "progress"},
                    {"port", port},
                    {"done", done},
                    {"total", total},
                    {"percent", percent},
                    {"where", where}});
    line.percent = percent;
    // A terminal line is redrawn at most ten times a second, and at the end.
    const qint64 now = line.timer.elapsed();
    if (live_ && (now - line.lastDrawMs >= 100 || done == total)) {
        line.lastDrawMs = now;
        DrawLocked();
    }
}

void TProgressPrinter::Finished(const TJobReport &report)
{
    const std::lock_guard lock(mutex_);
    const char *result = report.exitCode == 0 ? "ok" : report.stopped ? "stopped" : "failed";
    if (json_) {
        if (report.exitCode != 0 && !report.stopped)
            EmitLocked(FailureEvent(report));
        EmitLocked({{"event", "end"},
                    {"port", report.port},
                    {"result", result},
                    {"exit", report.exitCode},
                    {"ms", report.elapsedMs},
                    {"lines", report.lines}});
    }
    if (live_)
        DrawLocked();
}

QString TProgressPrinter::LineText(const QString &port, const TLine &line) const
{
    const qint64 ms = line.timer.isValid() ? line.timer.elapsed() : 0;
    const double rate = ms > 0 ? double(line.done) * 1000.0 / double(ms) : 0.0;
    const qint64 left = rate > 0 ? qint64(double(line.total - line.done) / rate) : 0;
    return QStringLiteral("%1: %2% (%3 из %4), %5 в с, осталось %6 с  %7")
        .arg(port)
        .arg(line.percent < 0 ? 0 : line.percent, 3)
        .arg(line.done)
        .arg(line.total)
        .arg(rate, 0, 'f', 1)
        .arg(left)
        .arg(line.where);
}

void TProgressPrinter::DrawLocked()
{
    QByteArray out;
    // Back to the first port's line, then every line anew.
    if (drawn_ && ports_.size() > 1)
        out += "\033[" + QByteArray::number(ports_.size() - 1) + "A";
    for (int i = 0; i < ports_.size(); ++i) {
        out += "\r\033[K" + LineText(ports_.at(i), lines_.value(ports_.at(i))).toUtf8();
        if (i + 1 < ports_.size())
            out += '\n';
    }
    drawn_ = true;
    WriteText(stderr, out.constData(), std::size_t(out.size()));
    std::fflush(stderr);
}

void TProgressPrinter::EndLive()
{
    const std::lock_guard lock(mutex_);
    if (live_ && drawn_)
        std::fputc('\n', stderr);
    drawn_ = false;
}

#include "clitrace.h"

#include "filefailure.h"

#include <QDateTime>

namespace
{
// The letter of a request frame.
constexpr int kLetterAt = 6;
// The letter of the last request of this thread: an answer belongs to it.
thread_local char lastLetter = '?';
} // namespace

bool TTraceFile::Open(const QString &path, QString *errorText)
{
    // A pipe without a reader would hold the opening until one comes, a device would take the
    // lines: only a file is appended to (a link to nothing creates its target).
    QString reason;
    if (InspectFile(path, &reason) == TFileKind::Other) {
        if (errorText)
            *errorText = reason;
        return false;
    }
    file_.setFileName(path);
    return TryFileCall(file_, errorText,
                       [this] { return file_.open(QIODevice::WriteOnly | QIODevice::Append); });
}

QByteArray TTraceFile::EventText(const TExchangeEvent &event, char letter)
{
    QByteArray line = event.port.toUtf8();
    line += event.answer ? " <- " : " -> ";
    line += '\'';
    line += letter;
    line += '\'';
    if (event.answer)
        line += " статус " + QByteArray::number(event.status) + " попытка " +
                QByteArray::number(event.attempt);
    line += ' ';
    line += QByteArray(reinterpret_cast<const char *>(event.bytes), event.count).toHex(' ');
    return line;
}

void TTraceFile::Write(const TExchangeEvent &event)
{
    if (!event.answer && event.count > kLetterAt)
        lastLetter = char(event.bytes[kLetterAt]);
    const QByteArray line =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toUtf8() +
        ' ' + EventText(event, lastLetter) + '\n';
    const std::lock_guard lock(mutex_);
    file_.write(line);
    file_.flush();
}

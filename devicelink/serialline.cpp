#include "serialline.h"
#include "precisepause.h"

#include "filefailure.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <chrono>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

// A write of a frame never blocks for longer than this, whatever the line does.
constexpr int kWriteWaitMs = 5000;

TSerialLine::TWaitHook windowWaitHook;

// Whether this user may not open the device at all (no read and write permission); a port
// refused otherwise is held by another program.
bool AccessDenied(const QString &portName)
{
#ifdef Q_OS_UNIX
    return ::access(QFile::encodeName(TSerialLine::DevicePath(portName)).constData(),
                    R_OK | W_OK) != 0 &&
           errno == EACCES;
#else
    Q_UNUSED(portName);
    return false;
#endif
}

QString NotFoundText(const QString &name)
{
    return QStringLiteral("Порт %1 не найден").arg(name);
}

QString NotSerialPortText(const QString &name)
{
    return QStringLiteral("%1 не является последовательным портом").arg(name);
}

// The system's error number of an opening that has just failed; on Windows the serial
// library's kinds say enough.
int SystemOpenError()
{
#ifdef Q_OS_UNIX
    return errno;
#else
    return 0;
#endif
}

} // namespace

QString TSerialLine::DevicePath(const QString &portName)
{
#ifdef Q_OS_WIN
    return portName;
#else
    // As the serial port itself resolves a bare name.
    const bool path = portName.startsWith(u'/') || portName.startsWith(QLatin1String("./")) ||
                      portName.startsWith(QLatin1String("../"));
    return path ? portName : QStringLiteral("/dev/") + portName;
#endif
}

void TSerialLine::SetWaitHook(TWaitHook hook)
{
    windowWaitHook = std::move(hook);
}

const TSerialLine::TWaitHook &TSerialLine::WindowWaitHook()
{
    return windowWaitHook;
}

QString TSerialLine::NotSerialPort(const QString &portName)
{
#ifdef Q_OS_UNIX
    if (portName.isEmpty())
        return {};
    const QString name = TSerialLine::DevicePath(portName);
    struct stat st {
    };
    // What cannot be looked at is left to the opening, which says why.
    if (::stat(QFile::encodeName(name).constData(), &st) != 0 || S_ISCHR(st.st_mode))
        return {};
    const char *what = S_ISDIR(st.st_mode)   ? "это каталог"
                       : S_ISREG(st.st_mode) ? "это обычный файл"
                       : S_ISBLK(st.st_mode) ? "это дисковое устройство"
                                             : "это канал или сокет";
    return NotSerialPortText(name) + QStringLiteral(": ") + QString::fromUtf8(what);
#else
    Q_UNUSED(portName);
    return {};
#endif
}

void TSerialLine::SetOpenFailure(const QString &portName, qint32 speed, int systemError)
{
    const QString name = portName.isEmpty() ? QString() : TSerialLine::DevicePath(portName);
    if (name.isEmpty()) {
        openFailure = QStringLiteral("Не выбран порт ККТ");
        return;
    }
    switch (port.error()) {
    case QSerialPort::NoError:
    case QSerialPort::UnsupportedOperationError:
        // A device without line settings (/dev/null) refuses them as it opens.
        openFailure =
            systemError == ENOTTY
                ? NotSerialPortText(name)
                : QStringLiteral("Порт %1 не работает на скорости %2").arg(name).arg(speed);
        return;
    case QSerialPort::DeviceNotFoundError:
        openFailure = NotFoundText(name);
        return;
    case QSerialPort::PermissionError:
    case QSerialPort::OpenError:
        openFailure =
            AccessDenied(portName)
                ? QStringLiteral("Нет доступа к порту %1 (добавьте пользователя в группу dialout)")
                      .arg(name)
                : QStringLiteral("Порт %1 занят другой программой").arg(name);
        return;
    default:
        // A device file without its device (/dev/tty outside a terminal, a cable pulled out).
        if (systemError == ENXIO) {
            openFailure = NotFoundText(name);
            return;
        }
        // The serial library's own texts are the system's English ones.
        openFailure =
            QStringLiteral("Не удалось открыть порт %1: %2")
                .arg(name, systemError != 0 ? SystemErrorText(systemError) : port.errorString());
        return;
    }
}

bool TSerialLine::Open(const QString &portName, qint32 speed)
{
    Close();
    openFailure.clear();
    if (portName.isEmpty() || speed <= 0) {
        SetOpenFailure(portName, speed);
        return false;
    }
    // Set before opening, so the port is configured once while it opens; flow control stays
    // QSerialPort's own default (none), as it was for the register's cable.
    port.setPortName(portName);
    if (!port.setBaudRate(speed) || !port.setDataBits(QSerialPort::Data8) ||
        !port.setParity(QSerialPort::NoParity) || !port.setStopBits(QSerialPort::OneStop)) {
        SetOpenFailure(portName, speed);
        return false;
    }
    // Neither a lock file nor an opening for what is plainly no port (a plain file would
    // otherwise open and then refuse the speed).
    openFailure = NotSerialPort(portName);
    if (!openFailure.isEmpty())
        return false;
    ClearFileError();
    if (!port.open(QIODevice::ReadWrite)) {
        // Taken at once: the serial library maps the system's number to fewer kinds.
        SetOpenFailure(portName, speed, SystemOpenError());
        Close();
        return false;
    }
    // Some drivers accept the open but not the speed: then the line is of no use.
    if (port.baudRate() != speed || port.error() != QSerialPort::NoError) {
        SetOpenFailure(portName, speed);
        Close();
        return false;
    }
    return true;
}

void TSerialLine::SetReadTimeouts(int totalMs, int gap)
{
    totalTimeoutMs = std::max(totalMs, 0);
    gapMs = std::max(gap, 0);
}

void TSerialLine::Purge()
{
    if (port.isOpen())
        port.clear(QSerialPort::AllDirections);
    PrecisePause(std::chrono::milliseconds(1));
}

void TSerialLine::Write(const char *data, qint64 count)
{
    if (!port.isOpen() || count <= 0)
        return;
    port.write(data, count);
    QDeadlineTimer deadline(kWriteWaitMs);
    while (port.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!port.waitForBytesWritten(int(std::max<qint64>(deadline.remainingTime(), 0))))
            break;
    }
}

qint64 TSerialLine::Read(char *data, qint64 count)
{
    if (!port.isOpen() || count <= 0)
        return 0;
    // The request and its answer take the line some milliseconds: the pump gets that time once
    // before the answer is awaited, so a window's painting does not add to the exchange. The
    // time-outs count from the end of its turn.
    if (waitPump && !waitPump())
        return 0;
    QDeadlineTimer total(totalTimeoutMs);
    QElapsedTimer sinceByte;
    sinceByte.start();
    qint64 got = 0;
    for (;;) {
        const qint64 n = port.read(data + got, count - got);
        if (n > 0) {
            got += n;
            sinceByte.restart();
        }
        if (n < 0 || got >= count)
            break;
        const qint64 remaining = std::max<qint64>(total.remainingTime(), 0);
        // Before the first byte only the total time-out counts; after it also the gap.
        const qint64 gapLeft = std::max<qint64>(gapMs - sinceByte.elapsed(), 0);
        const qint64 wait = got > 0 ? std::min(remaining, gapLeft) : remaining;
        // A wait of 0 still takes in what the driver already holds, and ends the loop once
        // nothing more is there.
        if (!waitPump) {
            if (!port.waitForReadyRead(int(wait)))
                break;
            continue;
        }
        const qint64 slice = std::min<qint64>(wait, kWaitSliceMs);
        if (port.waitForReadyRead(int(slice)))
            continue;
        if (slice >= wait || !waitPump())
            break;
    }
    return got;
}

void TSerialLine::Close()
{
    if (port.isOpen())
        port.close();
    port.clearError();
}

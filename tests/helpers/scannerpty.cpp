#include "scannerpty.h"

#include <QtGlobal>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

TScannerPty::TScannerPty()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0)
        return;
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        close(master_);
        master_ = -1;
        return;
    }
    char name[128] = {};
    if (ptsname_r(master_, name, sizeof name) != 0) {
        close(master_);
        master_ = -1;
        return;
    }
    slavePath_ = QString::fromLocal8Bit(name);
    slave_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0)
        return;
    // Raw line: no echo, no translation of the carriage return the scans end with.
    termios tio{};
    if (tcgetattr(slave_, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(slave_, TCSANOW, &tio);
    }
}

TScannerPty::~TScannerPty()
{
    if (slave_ >= 0)
        close(slave_);
    if (master_ >= 0)
        close(master_);
}

bool TScannerPty::Write(const QByteArray &bytes) const
{
    if (master_ < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}
#else
#include "portpairs.h"

#include <QSerialPort>

TScannerPty::TScannerPty()
{
    const TPortPair pair = TakePortPair(nullptr);
    if (pair.index < 0)
        return;
    auto port = std::make_unique<QSerialPort>(pair.own);
    if (!port->open(QIODevice::ReadWrite)) {
        ReleasePortPair(pair.index);
        return;
    }
    port->clear();
    port_ = std::move(port);
    pair_ = pair.index;
    slavePath_ = pair.other;
}

TScannerPty::~TScannerPty()
{
    port_.reset();
    ReleasePortPair(pair_);
}

bool TScannerPty::Write(const QByteArray &bytes) const
{
    if (!port_ || port_->write(bytes) != bytes.size())
        return false;
    while (port_->bytesToWrite() > 0) {
        if (!port_->waitForBytesWritten(2000))
            return false;
    }
    return true;
}
#endif

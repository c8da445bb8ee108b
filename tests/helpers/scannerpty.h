#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <memory>

class QSerialPort;

// A pseudo-terminal that plays the barcode scanner: the program opens the slave side as its
// scanner port, the test writes scans at the master side. The slave stays open here as well, so
// the program's closing and reopening of the port never hangs the line up. On Windows the scanner
// is one end of a null-modem pair of COM ports (portpairs.h) and SlavePath() the other end.
class TScannerPty
{
public:
    TScannerPty();
    ~TScannerPty();
    TScannerPty(const TScannerPty &) = delete;
    TScannerPty &operator=(const TScannerPty &) = delete;

#ifdef Q_OS_WIN
    bool IsValid() const
    {
        return port_ != nullptr;
    }
#else
    bool IsValid() const
    {
        return master_ >= 0 && slave_ >= 0;
    }
#endif
    // The device path of the slave side, such as "/dev/pts/4" ("COM12" on Windows).
    QString SlavePath() const
    {
        return slavePath_;
    }
    // Writes all bytes at the master side; false on failure.
    bool Write(const QByteArray &bytes) const;

private:
#ifdef Q_OS_WIN
    std::unique_ptr<QSerialPort> port_;
    int pair_ = -1;
#else
    int master_ = -1;
    int slave_ = -1;
#endif
    QString slavePath_;
};

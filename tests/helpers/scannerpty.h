#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal that plays the barcode scanner: the program opens the slave side as its
// scanner port, the test writes scans at the master side. The slave stays open here as well, so
// the program's closing and reopening of the port never hangs the line up. Unix only; on other
// systems IsValid() is false.
class TScannerPty
{
public:
    TScannerPty();
    ~TScannerPty();
    TScannerPty(const TScannerPty &) = delete;
    TScannerPty &operator=(const TScannerPty &) = delete;

    bool IsValid() const { return master_ >= 0 && slave_ >= 0; }
    // The device path of the slave side, such as "/dev/pts/4".
    QString SlavePath() const { return slavePath_; }
    // Writes all bytes at the master side; false on failure.
    bool Write(const QByteArray &bytes) const;

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
};

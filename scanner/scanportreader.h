#pragma once

#include "barcodecollector.h"

#include <QObject>
#include <QSerialPort>

class TScanThread;

// The part of the reader that lives in the reader thread: the scanner port and the scan being
// collected. Every member is touched from that thread only.
class TScanPortReader : public QObject
{
    Q_OBJECT
public:
    // The bytes one pass reads at most; more waiting are read in the following passes.
    static constexpr int ReadBufferSize = 128;

    explicit TScanPortReader(TScanThread *owner);

    bool Open(const QString &portName, const QString &speedText);
    void Close();
    void SetRunning(bool running);

public slots:
    // Posted by the user-interface thread: a request waits.
    void HandleRequests();

private slots:
    void Pass();
    void PortError(QSerialPort::SerialPortError error);

private:
    void PostPass();

    TScanThread *owner_;
    QSerialPort port_;
    TBarcodeCollector collector_;
    bool running_ = false;
    bool passPosted_ = false;
};

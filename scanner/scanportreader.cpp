#include "scanportreader.h"

#include "scanthread.h"

TScanPortReader::TScanPortReader(TScanThread *owner) : owner_(owner)
{
    connect(&port_, &QSerialPort::readyRead, this, &TScanPortReader::Pass);
    connect(&port_, &QSerialPort::errorOccurred, this, &TScanPortReader::PortError);
}

bool TScanPortReader::Open(const QString &portName, const QString &speedText)
{
    Close();
    bool isNumber = false;
    const int speed = speedText.toInt(&isNumber);
    port_.setPortName(portName);
    if (portName.isEmpty() || !port_.open(QIODevice::ReadWrite))
        return false;
    const bool ready = isNumber && speed > 0 && port_.setBaudRate(speed) &&
                       port_.setDataBits(QSerialPort::Data8) &&
                       port_.setParity(QSerialPort::NoParity) &&
                       port_.setStopBits(QSerialPort::OneStop);
    if (!ready) {
        Close();
        return false;
    }
    // What reached the port before this start is not a scan of this start.
    port_.clear(QSerialPort::Input);
    collector_.Reset();
    return true;
}

void TScanPortReader::Close()
{
    if (port_.isOpen())
        port_.close();
}

void TScanPortReader::SetRunning(bool running)
{
    running_ = running;
    if (running_ && port_.isOpen() && port_.bytesAvailable() > 0)
        PostPass();
}

void TScanPortReader::HandleRequests()
{
    if (!owner_->TakeRequest(*this))
        owner_->quit();
}

void TScanPortReader::PostPass()
{
    if (passPosted_)
        return;
    passPosted_ = true;
    QMetaObject::invokeMethod(this, "Pass", Qt::QueuedConnection);
}

// One pass: at most one read buffer of bytes. More waiting bytes get a pass of their own, queued
// behind any request, so a pause never lands in the middle of a pass and nothing is lost.
void TScanPortReader::Pass()
{
    passPosted_ = false;
    if (!running_ || !port_.isOpen())
        return;
    char buffer[ReadBufferSize];
    const qint64 count = port_.read(buffer, ReadBufferSize);
    if (count > 0)
        collector_.Feed(buffer, count, [this](const QString &text) { owner_->DoBarcode(text); });
    if (port_.bytesAvailable() > 0)
        PostPass();
}

void TScanPortReader::PortError(QSerialPort::SerialPortError error)
{
    // A scanner unplugged: stop reading; the port is tried again at the next start.
    if (error == QSerialPort::ResourceError)
        Close();
}

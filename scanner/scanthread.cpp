#include "scanthread.h"

#include "scanportreader.h"

TScanThread::TScanThread(QObject *parent) : QThread(parent)
{
    start(QThread::NormalPriority);
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return started_; });
}

TScanThread::~TScanThread()
{
    Shutdown();
}

void TScanThread::Shutdown()
{
    if (shutDown_)
        return;
    shutDown_ = true;
    Ask(Request::Stop);
    {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return finished_; });
    }
    wait();
    running_ = false;
}

void TScanThread::run()
{
    {
        TScanPortReader reader(this);
        {
            std::lock_guard lock(mutex_);
            reader_ = &reader;
            started_ = true;
            done_.notify_all();
        }

        exec();

        reader.Close();
        std::lock_guard lock(mutex_);
        reader_ = nullptr;
    }
    // Notified under the lock: once the lock is free the owner may destroy the condition.
    std::lock_guard lock(mutex_);
    finished_ = true;
    done_.notify_all();
}

void TScanThread::Ask(Request request)
{
    std::unique_lock lock(mutex_);
    if (reader_ == nullptr)
        return;
    request_ = request;
    QObject *reader = reader_;
    lock.unlock();
    // Only a wake-up crosses through the reader's event queue; the request itself waits here.
    QMetaObject::invokeMethod(reader, "HandleRequests", Qt::QueuedConnection);
    lock.lock();
    done_.wait(lock, [this] { return request_ == Request::None; });
}

bool TScanThread::TakeRequest(TScanPortReader &reader)
{
    bool keepGoing = true;
    {
        std::lock_guard lock(mutex_);
        switch (request_) {
        case Request::None:
            return true;
        case Request::Open:
            openResult_ = reader.Open(openName_, openSpeed_);
            break;
        case Request::Pause:
            reader.SetRunning(false);
            break;
        case Request::Resume:
            reader.SetRunning(true);
            break;
        case Request::Stop:
            reader.SetRunning(false);
            keepGoing = false;
            break;
        }
        request_ = Request::None;
        done_.notify_all();
    }
    return keepGoing;
}

bool TScanThread::OpenScanPort(const QString &portName, const QString &speedText)
{
    if (running_)
        Pause();
    {
        std::lock_guard lock(mutex_);
        openName_ = portName;
        openSpeed_ = speedText;
        openResult_ = false;
    }
    Ask(Request::Open);
    std::lock_guard lock(mutex_);
    return openResult_;
}

void TScanThread::Pause()
{
    Ask(Request::Pause);
    running_ = false;
}

void TScanThread::Resume()
{
    Ask(Request::Resume);
    running_ = !shutDown_;
}

void TScanThread::DoBarcode(const QString &text)
{
    bool post = false;
    {
        std::lock_guard lock(mutex_);
        barcodes_ << text;
        post = !deliveryPosted_;
        deliveryPosted_ = true;
    }
    if (post)
        QMetaObject::invokeMethod(this, "DeliverBarcodes", Qt::QueuedConnection);
}

void TScanThread::DeliverBarcodes()
{
    QStringList texts;
    {
        std::lock_guard lock(mutex_);
        texts.swap(barcodes_);
        deliveryPosted_ = false;
    }
    for (const QString &text : std::as_const(texts)) {
        if (onBarcode_)
            onBarcode_(text);
        emit BarcodeScanned(text);
    }
}

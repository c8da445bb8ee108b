#pragma once

#include <QByteArray>
#include <QStringList>
#include <QThread>

#include <condition_variable>
#include <functional>
#include <mutex>

class TScanPortReader;

// The barcode reader: a thread of its own that waits on the scanner's serial port, collects each
// scan up to its carriage return and hands the finished code over to the user-interface thread.
//
// The port and everything that reads it live in the reader thread. The user-interface thread
// talks to it only through requests (open, pause, resume, stop) that it waits for; the reader
// takes a request between two passes over the port, never in the middle of one. Requests and
// finished barcodes cross between the threads under one mutex.
class TScanThread : public QThread
{
    Q_OBJECT
public:
    // Starts the thread paused, with no port open.
    explicit TScanThread(QObject *parent = nullptr);
    // Stops the thread and waits for it; the port is closed in its own thread.
    ~TScanThread() override;

    // User-interface thread, while the reader is paused: closes any open port, then opens the
    // named one with the speed text as a decimal number, 8 data bits, no parity, 1 stop bit, and
    // drops whatever waited in its input. False on any failure (no such port, a speed that is not
    // a number); the port is then left closed.
    bool OpenScanPort(const QString &portName, const QString &speedText);
    // User-interface thread. Pause returns once the reader has finished its current pass; a
    // paused reader delivers no barcode until it runs again.
    void Pause();
    void Resume();
    bool IsRunning() const { return running_; }

    // Receives each finished barcode text on the user-interface thread.
    using TBarcodeHandler = std::function<void(const QString &text)>;
    void SetOnBarcode(TBarcodeHandler handler) { onBarcode_ = std::move(handler); }

    // Ends the thread and waits for it. A subclass that overrides DoBarcode calls this from its
    // own destructor, so the reader never calls into a half-destroyed object.
    void Shutdown();

signals:
    // The user-interface thread's side of each finished barcode (after OnBarcode).
    void BarcodeScanned(const QString &text);

protected:
    void run() override;
    // Reader thread: one finished scan (8 or 13 characters, or empty). Passes it on to the
    // user-interface thread, where OnBarcode and BarcodeScanned receive it.
    virtual void DoBarcode(const QString &text);

private slots:
    void DeliverBarcodes();

private:
    friend class TScanPortReader;
    enum class Request { None, Open, Pause, Resume, Stop };

    // Sends a request to the reader thread and waits until it has been carried out.
    void Ask(Request request);
    // Reader thread: carries out a pending request, if any. False once told to stop.
    bool TakeRequest(TScanPortReader &reader);

    std::mutex mutex_;
    std::condition_variable done_;
    // Guarded by mutex_.
    TScanPortReader *reader_ = nullptr;
    bool started_ = false;
    bool finished_ = false;
    Request request_ = Request::None;
    QString openName_;
    QString openSpeed_;
    bool openResult_ = false;
    QStringList barcodes_;
    bool deliveryPosted_ = false;

    // User-interface thread only.
    bool running_ = false;
    bool shutDown_ = false;
    TBarcodeHandler onBarcode_;
};

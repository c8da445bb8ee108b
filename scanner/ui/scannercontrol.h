#pragma once

#include "formscannersetting.h"
#include "scancfg.h"

#include <QObject>

#include <memory>

class QWidget;
class TScanThread;
class TScannerIndicator;

// The main window's scanner: the texts read from "Scan.cfg" at start-up, the reader thread, and
// the start and stop the goods tab and the scanner menu command ask for.
class TScannerControl : public QObject
{
    Q_OBJECT
public:
    // The start-up of the scanner: makes sure "Scan.cfg" exists (empty when it did not), reads the
    // model, port and speed texts, hides the indicator when no model is set, and creates the
    // reader paused. indicator may be null and set later.
    explicit TScannerControl(TScannerIndicator *indicator, QObject *parent = nullptr,
                             const QString &cfgPath = ScanCfg::FilePath());
    ~TScannerControl() override;

    void SetIndicator(TScannerIndicator *indicator) { indicator_ = indicator; }

    // A scanner model was set at start-up; this stays as it is until the program restarts.
    bool Configured() const { return configured_; }
    // The scanner model, port and speed texts in use.
    const TScanCfg &Cfg() const { return cfg_; }
    // The port and speed the next start opens.
    void SetPortAndSpeed(const QString &port, const QString &speed);

    // The goods tab is shown: open the port anew and let the reader run; the circle shows the
    // outcome (green: open, red: not).
    void StartScanner();
    // Another tab is shown: pause the reader.
    void StopScanner();
    // The scanner menu command: stop the reader, run the settings dialog anew, and when it ends
    // with "Применить" and the scanner model, take its port and speed and start again.
    TScannerDialogResult ScannerClick(QWidget *dialogParent);

    TScanThread &Reader() { return *reader_; }

signals:
    // A finished scan on the user-interface thread: 8 or 13 characters, or empty for a scan of
    // another length (which empties the barcode cell it lands in).
    void BarcodeReceived(const QString &text);

private:
    // Lets the window repaint the indicator before the port work goes on.
    static void Repaint();

    QString cfgPath_;
    TScanCfg cfg_;
    bool configured_ = false;
    TScannerIndicator *indicator_;
    std::unique_ptr<TScanThread> reader_;
};

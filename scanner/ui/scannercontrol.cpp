#include "scannercontrol.h"

#include "scannerindicator.h"
#include "scanthread.h"

#include <QCoreApplication>

TScannerControl::TScannerControl(TScannerIndicator *indicator, QObject *parent,
                                 const QString &cfgPath)
    : QObject(parent), cfgPath_(cfgPath), indicator_(indicator)
{
    cfg_ = ReadScanCfg(cfgPath_);
    configured_ = !cfg_.ModelName.isEmpty();
    if (!configured_ && indicator_ != nullptr) {
        indicator_->SetLampVisible(false);
        indicator_->SetCaptionVisible(false);
        Repaint();
    }
    reader_ = std::make_unique<TScanThread>();
    reader_->SetOnBarcode([this](const QString &text) { emit BarcodeReceived(text); });
}

TScannerControl::~TScannerControl() = default;

void TScannerControl::SetPortAndSpeed(const QString &port, const QString &speed)
{
    cfg_.ComPort = port;
    cfg_.SpeedPort = speed;
}

void TScannerControl::Repaint()
{
    // Only painting and timers: a click must not start other work inside a start of the scanner.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TScannerControl::StartScanner()
{
    if (!configured_) {
        if (indicator_ != nullptr) {
            indicator_->SetLampVisible(false);
            indicator_->SetCaptionVisible(false);
        }
        Repaint();
        return;
    }
    if (reader_->IsRunning())
        reader_->Pause();
    const bool opened = reader_->OpenScanPort(cfg_.ComPort, cfg_.SpeedPort);
    if (indicator_ != nullptr)
        indicator_->SetLampVisible(true);
    if (!opened) {
        if (indicator_ != nullptr) {
            indicator_->SetLampColor(ScannerLamp::Red);
            // A caption left from an earlier start would claim a working scanner.
            indicator_->SetCaptionVisible(false);
        }
        return;
    }
    if (indicator_ != nullptr) {
        indicator_->SetLampColor(ScannerLamp::Green);
        indicator_->SetCaptionVisible(true);
    }
    Repaint();
    if (!reader_->IsRunning())
        reader_->Resume();
}

void TScannerControl::StopScanner()
{
    if (configured_ && reader_->IsRunning())
        reader_->Pause();
}

TScannerDialogResult TScannerControl::ScannerClick(QWidget *dialogParent)
{
    StopScanner();
    TScannerDialogResult result = RunScannerSettingDialog(dialogParent, cfgPath_);
    if (result.Accepted && result.Cfg.ModelName == ScanCfg::ModelX5710) {
        SetPortAndSpeed(result.Cfg.ComPort, result.Cfg.SpeedPort);
        StartScanner();
    }
    return result;
}

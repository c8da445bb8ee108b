#pragma once

#include <QFrame>

class TWorkHost;

// "Параметры GSM": the GSM module's settings grid and the server connection test.
class TFrameGsmSetting : public QFrame
{
    Q_OBJECT
public:
    TFrameGsmSetting(TWorkHost *host, QWidget *parent = nullptr);

    // The frame's own initialisation, run by the main window right after creating it.
    void InitFrame();

private:
    TWorkHost *host_;
};

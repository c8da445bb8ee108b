#pragma once

#include <QFrame>

class TWorkHost;

// "Параметры Z48": the register's tables in five tabbed grids.
class TFrameSetZ48 : public QFrame
{
    Q_OBJECT
public:
    TFrameSetZ48(TWorkHost *host, QWidget *parent = nullptr);

    // The frame's own initialisation, run by the main window right after creating it.
    void InitGrids();
    // The scanner lamp and its caption on the goods tab (hidden when no scanner is configured).
    void SetScannerIndicatorVisible(bool visible);

private:
    TWorkHost *host_;
};

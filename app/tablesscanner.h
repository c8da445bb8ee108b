#pragma once

#include "scannerindicator.h"

#include <QString>

class TFrameSetZ48;

// The scanner's lamp and caption on the goods tab of the tables frame.
class TTablesScannerIndicator : public TScannerIndicator
{
public:
    explicit TTablesScannerIndicator(TFrameSetZ48 *frame) : frame_(frame) {}

    void SetLampVisible(bool visible) override;
    void SetLampColor(const QColor &color) override;
    void SetCaptionVisible(bool visible) override;

private:
    TFrameSetZ48 *frame_;
};

// A finished scan lands in the goods grid's current cell when that cell is in the "Штрих-код"
// column (3), as its whole content; elsewhere, or while the grid is read-only, it is dropped.
void ScanBarcodeReceived(TFrameSetZ48 &frame, const QString &barcode);

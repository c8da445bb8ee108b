#include "tablesscanner.h"

#include "framesetz48.h"
#include "goodsrecord.h"
#include "lampshape.h"
#include "stringgrid.h"

#include <QLabel>

void TTablesScannerIndicator::SetLampVisible(bool visible)
{
    frame_->Shape1->setVisible(visible);
}

void TTablesScannerIndicator::SetLampColor(const QColor &color)
{
    frame_->SetScannerLampColor(color);
}

void TTablesScannerIndicator::SetCaptionVisible(bool visible)
{
    frame_->Label14->setVisible(visible);
}

void ScanBarcodeReceived(TFrameSetZ48 &frame, const QString &barcode)
{
    // A run with the register uses the grid's cells while it is read-only.
    if (frame.BaseCol == GoodsColumn::Barcode && !frame.SGBase->ReadOnly())
        frame.SGBase->SetCells(frame.BaseCol, frame.BaseRow, barcode);
}

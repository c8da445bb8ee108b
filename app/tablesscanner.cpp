#include "tablesscanner.h"

#include "framesetz48.h"
#include "goodsrecord.h"
#include "stringgrid.h"

void TTablesScannerIndicator::SetLampVisible(bool visible)
{
    frame_->SetScannerLampVisible(visible);
}

void TTablesScannerIndicator::SetLampColor(const QColor &color)
{
    frame_->SetScannerLampColor(color);
}

void TTablesScannerIndicator::SetCaptionVisible(bool visible)
{
    frame_->SetScannerCaptionVisible(visible);
}

void ScanBarcodeReceived(TFrameSetZ48 &frame, const QString &barcode)
{
    // A run with the register uses the grid's cells while it is read-only.
    const TGridCell cell = frame.CurrentCell(TTableTab::Goods);
    TStringGrid *grid = frame.Grid(TTableTab::Goods);
    if (cell.col == GoodsColumn::Barcode && !grid->ReadOnly())
        grid->SetCells(cell.col, cell.row, barcode);
}

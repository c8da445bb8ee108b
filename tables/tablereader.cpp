#include "tablereader.h"

#include "devicecommands.h"
#include "dialogs.h"
#include "framesetz48.h"
#include "progsettings.h"
#include "stringgrid.h"
#include "tablecodes.h"

namespace
{

// What a goods answer carrying no valid item number is reported as: the exchange itself
// succeeded, so the code shown is 0.
constexpr quint8 kNoSuchItem = 0;

} // namespace

void TTableReader::RunRecords(TTableTab tab, int first, int last)
{
    const TTabLayout &layout = TabLayout(tab);
    const qint64 total = qint64(last - first + 1) * layout.fieldsPerRecord;
    qint64 done = 0;
    attribute_ = 0;
    text_.clear();
    for (int record = first; record <= last; ++record) {
        for (int fieldIndex = 0; fieldIndex < layout.fieldsPerRecord; ++fieldIndex) {
            bool failed = false;
            quint8 result = 0;
            if (tab == TTableTab::Goods) {
                result = ReadGoodsItem(record);
                failed = result != 0 || !lastGoodsFilled_;
            } else {
                result = ReadField(tab, record, fieldIndex);
                failed = result != 0;
            }
            if (!Alive())
                return;
            if (failed) {
                ShowError(frame_, ExchangeErrorText(result, layout.readFragment, record));
                return;
            }
            if (!Step(++done, total))
                return;
        }
    }
}

quint8 TTableReader::ReadGoodsItem(int item)
{
    lastGoodsFilled_ = false;
    const TStructSetting &settings = Settings();
    quint16 number = quint16(item);
    quint8 font = 0;
    QString name;
    QString barcode;
    QString price;
    quint8 department = 0;
    const quint8 result =
        GoodsItemCommand(settings.Port.Name, settings.Port.Speed, settings.Port.TimeOut, 0,
                         settings.NumKKT, 1, number, font, name, barcode, price, department);
    if (result != 0)
        return result;
    // The row is the item number the answer carries; an answer for no row of the grid fills
    // nothing and is reported for the item asked for.
    if (number < 1 || number > kGoodsItemCount)
        return kNoSuchItem;
    TStringGrid *grid = frame_->SGBase;
    grid->SetCells(1, number, name);
    grid->SetCells(2, number, FontText(font));
    grid->SetCells(3, number, barcode);
    grid->SetCells(4, number, DecodePrice(price));
    grid->SetCells(5, number, QString::number(department));
    lastGoodsFilled_ = true;
    return 0;
}

quint8 TTableReader::ReadField(TTableTab tab, int record, int fieldIndex)
{
    const TFieldCells cells = FieldCells(tab, fieldIndex);
    const TFieldAddress address = FieldAddress(tab, record, fieldIndex);
    const TStructSetting &settings = Settings();
    const quint8 result = TableFieldCommand(
        settings.Port.Name, settings.Port.Speed, settings.Port.TimeOut, 0, settings.NumKKT, 1,
        address.table, address.row, address.field, attribute_, text_, true);
    if (result != 0)
        return result;
    TStringGrid *grid = frame_->GridOfTab(int(tab));
    if (cells.groupCodes) {
        const TGroupCells groupCells = DecodeGroupCodes(text_);
        grid->SetCells(3, record, groupCells.paymentItem);
        grid->SetCells(4, record, groupCells.vat);
        grid->SetCells(5, record, groupCells.taxSystem);
        return 0;
    }
    grid->SetCells(cells.textColumn, record, text_);
    if (cells.fontColumn >= 0)
        grid->SetCells(cells.fontColumn, record, FontText(attribute_));
    return 0;
}

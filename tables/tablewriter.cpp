#include "tablewriter.h"

#include "devicecommands.h"
#include "dialogs.h"
#include "framesetz48.h"
#include "progsettings.h"
#include "stringgrid.h"
#include "tablecodes.h"

namespace
{

// Field 1 of a group, from its cells as they are now.
std::optional<QString> GroupCodesOf(const TStringGrid &grid, int group)
{
    return EncodeGroupCodes(grid.Cells(3, group), grid.Cells(4, group), grid.Cells(5, group));
}

} // namespace

void TTableWriter::RunRecords(TTableTab tab, int first, int last)
{
    const TTabLayout &layout = TabLayout(tab);
    const qint64 total = qint64(last - first + 1) * layout.fieldsPerRecord;
    qint64 done = 0;
    for (int record = first; record <= last; ++record) {
        for (int fieldIndex = 0; fieldIndex < layout.fieldsPerRecord; ++fieldIndex) {
            quint8 result = 0;
            if (tab == TTableTab::Goods) {
                result = WriteGoodsItem(record);
            } else {
                const TStringGrid &grid = *frame_->GridOfTab(int(tab));
                const TFieldCells cells = FieldCells(tab, fieldIndex);
                // A group whose payment-item sign is none of the list's entries has no field 1,
                // so nothing of that group is sent (checked again before field 1 itself, as
                // the cells may have been edited meanwhile).
                const std::optional<QString> codes =
                    tab == TTableTab::Groups ? GroupCodesOf(grid, record) : QString();
                if (!codes) {
                    ShowInformation(frame_,
                                    QStringLiteral("ВНИМАНИЕ!\r\nНе выбран признак предмета "
                                                   "расчета в строке ") +
                                        QString::number(record) + QLatin1Char('!'));
                    return;
                }
                const QString text =
                    cells.groupCodes ? *codes : grid.Cells(cells.textColumn, record);
                result = WriteField(tab, record, fieldIndex, text);
            }
            if (result != 0) {
                ShowError(frame_, ExchangeErrorText(result, layout.writeFragment, record));
                return;
            }
            if (!Step(++done, total))
                return;
        }
    }
}

quint8 TTableWriter::WriteGoodsItem(int item)
{
    TStringGrid *grid = frame_->SGBase;
    const TStructSetting &settings = Settings();
    quint16 number = quint16(item);
    quint8 font = FontFlag(grid->Cells(2, item));
    QString name = grid->Cells(1, item);
    QString barcode = BarcodeText(grid->Cells(3, item));
    QString price = EncodePrice(grid->Cells(4, item));
    quint8 department = DepartmentByte(grid->Cells(5, item));
    return GoodsItemCommand(settings.Port.Name, settings.Port.Speed, settings.Port.TimeOut, 0,
                            settings.NumKKT, 0, number, font, name, barcode, price, department);
}

quint8 TTableWriter::WriteField(TTableTab tab, int record, int fieldIndex, const QString &text)
{
    const TFieldCells cells = FieldCells(tab, fieldIndex);
    const TFieldAddress address = FieldAddress(tab, record, fieldIndex);
    quint8 attribute = cells.fontColumn < 0
                           ? quint8(kFlagNarrow)
                           : FontFlag(frame_->GridOfTab(int(tab))->Cells(cells.fontColumn, record));
    QString fieldText = text;
    const TStructSetting &settings = Settings();
    return TableFieldCommand(settings.Port.Name, settings.Port.Speed, settings.Port.TimeOut, 0,
                             settings.NumKKT, 0, address.table, address.row, address.field,
                             attribute, fieldText, true);
}

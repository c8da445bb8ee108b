#include "tableruns.h"

#include "devicecommands.h"
#include "goodsrecord.h"
#include "registerlink.h"
#include "tablecodes.h"

namespace
{

constexpr quint8 kModeWrite = 0;
constexpr quint8 kModeRead = 1;

// What a goods answer carrying no valid item number is reported as: the exchange itself
// succeeded, so the code shown is 0.
constexpr quint8 kNoSuchItem = 0;

quint8 WriteGoodsItem(int item, const TTableCells &cells, TRegisterLink &link)
{
    const TTableTab goods = TTableTab::Goods;
    quint16 number = quint16(item);
    quint8 font = FontFlag(cells.Cell(goods, GoodsColumn::Font, item));
    QString name = cells.Cell(goods, GoodsColumn::Name, item);
    QString barcode = BarcodeText(cells.Cell(goods, GoodsColumn::Barcode, item));
    QString price = EncodePrice(cells.Cell(goods, GoodsColumn::Price, item));
    quint8 department = DepartmentByte(cells.Cell(goods, GoodsColumn::Department, item));
    return GoodsItemCommand(link, kModeWrite, number, font, name, barcode, price, department);
}

// Reads one item; filled is false when the answer names an item no row holds.
quint8 ReadGoodsItem(int item, TTableCells &cells, TRegisterLink &link, bool &filled)
{
    filled = false;
    quint16 number = quint16(item);
    quint8 font = 0;
    QString name;
    QString barcode;
    QString price;
    quint8 department = 0;
    const quint8 result =
        GoodsItemCommand(link, kModeRead, number, font, name, barcode, price, department);
    if (result != 0)
        return result;
    // The row is the item number the answer carries; an answer for no row fills nothing and
    // is reported for the item asked for.
    if (number < 1 || number > kGoodsItemCount)
        return kNoSuchItem;
    const TTableTab goods = TTableTab::Goods;
    cells.SetCell(goods, GoodsColumn::Name, number, name);
    cells.SetCell(goods, GoodsColumn::Font, number, FontText(font));
    cells.SetCell(goods, GoodsColumn::Barcode, number, barcode);
    cells.SetCell(goods, GoodsColumn::Price, number, DecodePrice(price));
    cells.SetCell(goods, GoodsColumn::Department, number, QString::number(department));
    filled = true;
    return 0;
}

quint8 FieldCommand(TTableTab tab, int record, int fieldIndex, quint8 mode, quint8 &attribute,
                    QString &text, TRegisterLink &link)
{
    const TFieldAddress address = FieldAddress(tab, record, fieldIndex);
    return TableFieldCommand(link, mode, address.table, address.row, address.field, attribute, text,
                             true);
}

// Field 1 of a group, from its cells as they are now.
std::optional<QString> GroupCodesOf(const TTableCells &cells, int group)
{
    const TTableTab groups = TTableTab::Groups;
    return EncodeGroupCodes(cells.Cell(groups, GroupColumn::Sign, group),
                            cells.Cell(groups, GroupColumn::Vat, group),
                            cells.Cell(groups, GroupColumn::TaxSystem, group));
}

quint8 WriteField(TTableTab tab, int record, int fieldIndex, const TTableCells &cells,
                  TRegisterLink &link, bool &noPaymentItem)
{
    // A group whose payment-item sign is none of the list's entries has no field 1, so nothing
    // of that group is sent (checked again before field 1 itself, as the cells may have been
    // edited meanwhile).
    const std::optional<QString> codes =
        tab == TTableTab::Groups ? GroupCodesOf(cells, record) : QString();
    noPaymentItem = !codes;
    if (noPaymentItem)
        return 0;
    const TFieldCells fieldCells = FieldCells(tab, fieldIndex);
    QString text = fieldCells.groupCodes ? *codes : cells.Cell(tab, fieldCells.textColumn, record);
    quint8 attribute = fieldCells.fontColumn < 0
                           ? quint8(kFlagNarrow)
                           : FontFlag(cells.Cell(tab, fieldCells.fontColumn, record));
    return FieldCommand(tab, record, fieldIndex, kModeWrite, attribute, text, link);
}

quint8 ReadField(TTableTab tab, int record, int fieldIndex, TTableCells &cells, TRegisterLink &link,
                 quint8 &attribute, QString &text)
{
    const quint8 result = FieldCommand(tab, record, fieldIndex, kModeRead, attribute, text, link);
    if (result != 0)
        return result;
    const TFieldCells fieldCells = FieldCells(tab, fieldIndex);
    if (fieldCells.groupCodes) {
        const TGroupCells group = DecodeGroupCodes(text);
        cells.SetCell(tab, GroupColumn::Sign, record, group.paymentItem);
        cells.SetCell(tab, GroupColumn::Vat, record, group.vat);
        cells.SetCell(tab, GroupColumn::TaxSystem, record, group.taxSystem);
        return 0;
    }
    cells.SetCell(tab, fieldCells.textColumn, record, text);
    if (fieldCells.fontColumn >= 0)
        cells.SetCell(tab, fieldCells.fontColumn, record, FontText(attribute));
    return 0;
}

QList<int> RecordsOf(int first, int last)
{
    QList<int> records;
    records.reserve(qMax(0, last - first + 1));
    for (int record = first; record <= last; ++record)
        records.append(record);
    return records;
}

// The loop both runs share: one exchange per field of each record, the observer after each.
template <typename TExchange>
TTableRunResult RunFields(TTableTab tab, const QList<int> &records, TRunObserver *observer,
                          TExchange exchange)
{
    using TOutcome = TTableRunResult::TOutcome;
    const TTabLayout &layout = TabLayout(tab);
    const qint64 total = qint64(records.size()) * layout.fieldsPerRecord;
    qint64 done = 0;
    for (int record : records) {
        for (int fieldIndex = 0; fieldIndex < layout.fieldsPerRecord; ++fieldIndex) {
            TTableRunResult result;
            exchange(record, fieldIndex, result);
            if (!result.Done()) {
                result.record = record;
                return result;
            }
            if (observer && !observer->Step(++done, total, record))
                return {TOutcome::Stopped, 0, record};
        }
    }
    return {};
}

} // namespace

QString TableRunMessage(TTableTab tab, bool writing, const TTableRunResult &result)
{
    switch (result.outcome) {
    case TTableRunResult::TOutcome::Failed: {
        const TTabLayout &layout = TabLayout(tab);
        return ExchangeErrorText(result.code, writing ? layout.writeFragment : layout.readFragment,
                                 result.record);
    }
    case TTableRunResult::TOutcome::NoPaymentItem:
        return QStringLiteral("ВНИМАНИЕ!\r\nНе выбран признак предмета расчета в строке ") +
               QString::number(result.record) + QLatin1Char('!');
    default:
        return QString();
    }
}

TTableRunResult WriteTables(TTableTab tab, int first, int last, const TTableCells &source,
                            TRegisterLink &link, TRunObserver *observer)
{
    return WriteTableRecords(tab, RecordsOf(first, last), source, link, observer);
}

TTableRunResult WriteTableRecords(TTableTab tab, const QList<int> &records,
                                  const TTableCells &source, TRegisterLink &link,
                                  TRunObserver *observer)
{
    using TOutcome = TTableRunResult::TOutcome;
    return RunFields(tab, records, observer,
                     [&](int record, int fieldIndex, TTableRunResult &result) {
                         bool noPaymentItem = false;
                         const quint8 code =
                             tab == TTableTab::Goods
                                 ? WriteGoodsItem(record, source, link)
                                 : WriteField(tab, record, fieldIndex, source, link, noPaymentItem);
                         if (noPaymentItem)
                             result.outcome = TOutcome::NoPaymentItem;
                         else if (code != 0)
                             result = {TOutcome::Failed, code, record};
                     });
}

TTableRunResult ReadTables(TTableTab tab, int first, int last, TTableCells &sink,
                           TRegisterLink &link, TRunObserver *observer)
{
    using TOutcome = TTableRunResult::TOutcome;
    // The attribute and text of the last answer carry over into the next request, as the
    // register's read command takes them.
    quint8 attribute = 0;
    QString text;
    return RunFields(tab, RecordsOf(first, last), observer,
                     [&](int record, int fieldIndex, TTableRunResult &result) {
                         bool filled = true;
                         const quint8 code =
                             tab == TTableTab::Goods
                                 ? ReadGoodsItem(record, sink, link, filled)
                                 : ReadField(tab, record, fieldIndex, sink, link, attribute, text);
                         if (code != 0 || !filled)
                             result = {TOutcome::Failed, code, record};
                     });
}

quint8 ClearGoods(TRegisterLink &link, qint32 timeoutMs)
{
    quint8 deviceStatus = 0;
    return ClearGoodsCommand(link, timeoutMs, deviceStatus);
}

TTableRunResult WriteTables(TTableTab tab, int first, int last, const TTableCells &source,
                            const TStructSetting &settings, TRunObserver *observer)
{
    TWindowLink link(LinkSettingsOf(settings));
    return WriteTables(tab, first, last, source, link, observer);
}

TTableRunResult WriteTableRecords(TTableTab tab, const QList<int> &records,
                                  const TTableCells &source, const TStructSetting &settings,
                                  TRunObserver *observer)
{
    TWindowLink link(LinkSettingsOf(settings));
    return WriteTableRecords(tab, records, source, link, observer);
}

TTableRunResult ReadTables(TTableTab tab, int first, int last, TTableCells &sink,
                           const TStructSetting &settings, TRunObserver *observer)
{
    TWindowLink link(LinkSettingsOf(settings));
    return ReadTables(tab, first, last, sink, link, observer);
}

quint8 ClearGoods(const TStructSetting &settings, qint32 timeoutMs)
{
    TWindowLink link(LinkSettingsOf(settings));
    return ClearGoods(link, timeoutMs);
}

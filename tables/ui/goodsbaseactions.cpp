#include "goodsbaseactions.h"

#include "dialogs.h"
#include "framesetz48.h"
#include "goodsbasefile.h"
#include "goodscsvactions.h"
#include "gridsheet.h"
#include "inidocument.h"
#include "stringgrid.h"
#include "tablelayout.h"
#include "waitcursor.h"

#include <QApplication>
#include <QDir>

namespace
{

void ShowFileError(TFrameSetZ48 &frame, const QString &what, const QString &path,
                   const QString &errorText)
{
    ShowError(&frame, what + QStringLiteral(" \"") + QDir::toNativeSeparators(path) +
                          QStringLiteral("\".\r\n") + errorText);
}

} // namespace

void SaveGoodsBase(TFrameSetZ48 &frame)
{
    const QString path =
        TDialogs::Instance().SaveFileName(&frame, GoodsBaseFilter(), GoodsBaseExtension());
    if (path.isEmpty())
        return;
    QString errorText;
    bool saved = false;
    {
        TWaitCursor wait;
        saved = SaveGoodsBaseFile(path, GoodsGridRows(frame), &errorText);
    }
    if (!saved)
        ShowFileError(frame, QStringLiteral("Не удалось сохранить файл"), path, errorText);
}

void LoadGoodsBase(TFrameSetZ48 &frame)
{
    const QString path =
        TDialogs::Instance().OpenFileName(&frame, GoodsBaseFilter(), GoodsBaseExtension());
    if (path.isEmpty())
        return;
    const QString failure = QStringLiteral("Не удалось прочитать файл");
    QString errorText;
    TIniDocument document;
    bool missing = false;
    bool read = false;
    {
        TWaitCursor wait;
        read = ReadGoodsBaseDocument(path, &document, &missing, &errorText);
    }
    if (!read) {
        ShowFileError(frame, failure, path, errorText);
        return;
    }
    // The wrong file chosen by mistake would put the defaults into every row: the user decides
    // first. A missing file holds no goods either and is created only on Yes.
    if (!HoldsGoods(document, kGoodsItemCount) && !ConfirmLoadWithoutData(&frame))
        return;
    bool loaded = false;
    {
        TWaitCursor wait;
        loaded = !missing || CreateGoodsBaseFile(path, &errorText);
        if (loaded) {
            const QVector<TConfig_PredmRasch> rows = TakeGoodsRows(document, kGoodsItemCount);
            TStringGrid &grid = *frame.Grid(TTableTab::Goods);
            grid.BeginUpdate(); // one change announcement for the 30000 cells
            for (int row = 1; row <= rows.size(); ++row) {
                const TConfig_PredmRasch &goods = rows.at(row - 1);
                grid.SetCells(GoodsColumn::Name, row, goods.Name);
                grid.SetCells(GoodsColumn::Font, row, goods.Font);
                grid.SetCells(GoodsColumn::Barcode, row, goods.Barcode);
                grid.SetCells(GoodsColumn::Price, row, goods.Price);
                grid.SetCells(GoodsColumn::Department, row, goods.Department);
            }
            grid.EndUpdate();
            grid.NewHistory(kHistoryAfterLoad);
        }
    }
    if (!loaded)
        ShowFileError(frame, failure, path, errorText);
}

bool ConfirmLoadWithoutData(QWidget *parent)
{
    return TDialogs::Instance().AskYesNo(
               parent,
               QStringLiteral("ВНИМАНИЕ!\r\nФайл не содержит данных программы. Загрузить его и "
                              "очистить таблицы?"),
               TDialogs::Answer::No) == TDialogs::Answer::Yes;
}

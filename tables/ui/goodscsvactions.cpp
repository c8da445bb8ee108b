#include "goodscsvactions.h"

#include "dialogs.h"
#include "framesetz48.h"
#include "goodscsv.h"
#include "goodsimportdialog.h"
#include "stringgrid.h"
#include "tablelayout.h"
#include "waitcursor.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <iterator>

namespace
{

const QString kExtension = QStringLiteral("csv");
// What the export offers to save as.
const QString kExportName = QStringLiteral("goods.csv");

// The folder of the last goods table exported or imported in this run: the next dialog opens
// there; before that, the user's documents.
QString &LastFolder()
{
    static QString folder;
    return folder;
}

TDialogs::TFileRequest FileRequest(const QString &title, const QString &filter)
{
    QString folder = LastFolder();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!folder.isEmpty() && !QFileInfo(folder).isDir())
        folder.clear();
    return {title, filter, kExtension, folder, QString()};
}

void RememberFolder(const QString &path)
{
    LastFolder() = QFileInfo(path).absolutePath();
}

// The entries of the export filter, in its order.
struct TExportChoice {
    bool allRows;
    TCsvEncoding encoding;
};
constexpr TExportChoice kExportChoices[] = {{false, TCsvEncoding::Win1251},
                                            {false, TCsvEncoding::Utf8Bom},
                                            {true, TCsvEncoding::Win1251},
                                            {true, TCsvEncoding::Utf8Bom}};

// The goods tab in front, unless a run holds the frame (its tabs are locked then).
bool ShowGoodsTab(TFrameSetZ48 &frame)
{
    if (frame.RunLocked())
        return false;
    frame.ShowTab(TTableTab::Goods);
    return true;
}

void ShowFileError(TFrameSetZ48 &frame, const QString &what, const QString &path,
                   const QString &errorText)
{
    ShowError(&frame, what + QStringLiteral(" \"") + QDir::toNativeSeparators(path) +
                          QStringLiteral("\".\r\n") + errorText);
}

} // namespace

QString GoodsCsvExportFilter()
{
    return QStringLiteral("Товары CSV, Windows-1251 (*.csv)|*.csv|"
                          "Товары CSV, UTF-8 (*.csv)|*.csv|"
                          "Все 6000 строк CSV, Windows-1251 (*.csv)|*.csv|"
                          "Все 6000 строк CSV, UTF-8 (*.csv)|*.csv");
}

QString GoodsCsvImportFilter()
{
    return QStringLiteral("Файлы CSV (*.csv *.txt)|*.csv;*.txt|Все файлы (*)|*");
}

QVector<TConfig_PredmRasch> GoodsGridRows(const TFrameSetZ48 &frame)
{
    QVector<TConfig_PredmRasch> rows;
    rows.reserve(kGoodsItemCount);
    const TStringGrid &grid = *frame.Grid(TTableTab::Goods);
    for (int row = 1; row <= kGoodsItemCount; ++row)
        rows.append({grid.Cells(GoodsColumn::Name, row), grid.Cells(GoodsColumn::Font, row),
                     grid.Cells(GoodsColumn::Barcode, row), grid.Cells(GoodsColumn::Price, row),
                     grid.Cells(GoodsColumn::Department, row)});
    return rows;
}

void ApplyGoodsImport(TFrameSetZ48 &frame, const TGoodsImportPlan &plan)
{
    TStringGrid &grid = *frame.Grid(TTableTab::Goods);
    grid.BeginUpdate(); // one change announcement for all the cells
    for (const TGoodsCsvItem &item : plan.items) {
        grid.SetCells(GoodsColumn::Name, item.item, item.row.Name);
        grid.SetCells(GoodsColumn::Font, item.item, item.row.Font);
        grid.SetCells(GoodsColumn::Barcode, item.item, item.row.Barcode);
        grid.SetCells(GoodsColumn::Price, item.item, item.row.Price);
        grid.SetCells(GoodsColumn::Department, item.item, item.row.Department);
    }
    grid.EndUpdate();
}

void ExportGoodsCsv(TFrameSetZ48 &frame)
{
    if (!ShowGoodsTab(frame))
        return;
    int choice = 0;
    TDialogs::TFileRequest request =
        FileRequest(QStringLiteral("Экспорт товаров в CSV"), GoodsCsvExportFilter());
    request.fileName =
        request.folder.isEmpty() ? kExportName : QDir(request.folder).filePath(kExportName);
    const QString path = TDialogs::Instance().SaveFile(&frame, request, &choice);
    if (path.isEmpty())
        return;
    RememberFolder(path);
    const TExportChoice chosen =
        kExportChoices[qBound(0, choice, int(std::size(kExportChoices)) - 1)];
    QString errorText;
    bool saved = false;
    {
        TWaitCursor wait;
        saved = SaveGoodsCsvFile(
            path, GoodsCsvBytes(GoodsGridRows(frame), chosen.allRows, chosen.encoding), &errorText);
    }
    if (!saved)
        ShowFileError(frame, QStringLiteral("Не удалось сохранить файл"), path, errorText);
}

void ImportGoodsCsv(TFrameSetZ48 &frame)
{
    if (!ShowGoodsTab(frame))
        return;
    const QString path = TDialogs::Instance().OpenFile(
        &frame, FileRequest(QStringLiteral("Импорт товаров из CSV"), GoodsCsvImportFilter()));
    if (path.isEmpty())
        return;
    RememberFolder(path);
    QString errorText;
    bool read = false;
    TGoodsImportPlan plan;
    {
        // The file's bytes go before the dialog: only the plan waits for the answer.
        TWaitCursor wait;
        QByteArray bytes;
        read = ReadGoodsCsvFile(path, &bytes, &errorText);
        if (read)
            plan = PlanGoodsImport(bytes, GoodsGridRows(frame));
    }
    if (!read) {
        ShowFileError(frame, QStringLiteral("Не удалось прочитать файл"), path, errorText);
        return;
    }
    if (!plan.refusal.isEmpty()) {
        ShowInformation(&frame, plan.refusal);
        return;
    }
    if (!ConfirmGoodsImport(&frame, plan))
        return;
    TWaitCursor wait;
    ApplyGoodsImport(frame, plan);
}

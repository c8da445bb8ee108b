#include "goodsbasefile.h"

#include "filefailure.h"
#include "gridtexts.h"
#include "inidocument.h"
#include "tablecodes.h"

#include <QFile>

namespace
{

const QString kKeyName = QStringLiteral("Наименование");
const QString kKeyFont = QStringLiteral("Тип шрифта");
const QString kKeyBarcode = QStringLiteral("Штрих-код");
const QString kKeyPrice = QStringLiteral("Цена");
const QString kKeyDepartment = QStringLiteral("Отдел/Услуга");

} // namespace

QString GoodsBaseFilter()
{
    return QStringLiteral("Байлы БД (*.dbZ48)|*.dbZ48");
}

QString GoodsBaseExtension()
{
    return QStringLiteral("dbZ48");
}

QString GoodsSectionName(int item)
{
    return QStringLiteral("ТОВАР_#") + QString::number(item);
}

void PutGoodsRows(TIniDocument &document, const QVector<TConfig_PredmRasch> &rows)
{
    for (int i = 0; i < rows.size(); ++i) {
        const QString section = GoodsSectionName(i + 1);
        const TConfig_PredmRasch &row = rows.at(i);
        document.SetValue(section, kKeyName, row.Name);
        document.SetValue(section, kKeyFont, row.Font);
        document.SetValue(section, kKeyBarcode, row.Barcode);
        document.SetValue(section, kKeyPrice, row.Price);
        document.SetValue(section, kKeyDepartment, row.Department);
    }
}

QVector<TConfig_PredmRasch> TakeGoodsRows(const TIniDocument &document, int count)
{
    QVector<TConfig_PredmRasch> rows;
    rows.reserve(count);
    for (int item = 1; item <= count; ++item) {
        const QString section = GoodsSectionName(item);
        TConfig_PredmRasch row;
        row.Name = document.Value(section, kKeyName);
        row.Font = document.Value(section, kKeyFont, GridTexts::kNarrowFont);
        row.Barcode = document.Value(section, kKeyBarcode);
        row.Price = document.Value(section, kKeyPrice, QStringLiteral("0.00"));
        row.Department = document.Value(section, kKeyDepartment, QStringLiteral("0"));
        rows.append(row);
    }
    return rows;
}

bool SaveGoodsBaseFile(const QString &path, const QVector<TConfig_PredmRasch> &rows,
                       QString *errorText)
{
    // What the file already holds is kept; the whole content is then written at once, so a
    // failed write leaves the old file as it was (and creates no empty one).
    TIniDocument document;
    if (!document.Load(path, errorText))
        return false;
    PutGoodsRows(document, rows);
    return document.Save(path, errorText);
}

bool ReadGoodsBaseDocument(const QString &path, TIniDocument *document, bool *missing,
                           QString *errorText)
{
    QString reason;
    const TFileKind kind = InspectFile(path, &reason);
    *missing = kind == TFileKind::Missing;
    if (kind == TFileKind::LinkToNothing) {
        // Nothing could be created through it either.
        if (errorText)
            *errorText = reason;
        return false;
    }
    if (*missing) {
        *document = TIniDocument();
        return true;
    }
    return document->Load(path, errorText);
}

bool CreateGoodsBaseFile(const QString &path, QString *errorText)
{
    QFile file(path);
    return TryFileCall(file, errorText,
                       [&] { return file.open(QIODevice::WriteOnly | QIODevice::NewOnly); });
}

bool HoldsGoods(const TIniDocument &document, int count)
{
    for (int item = 1; item <= count; ++item)
        if (document.HasSection(GoodsSectionName(item)))
            return true;
    return false;
}

bool LoadGoodsBaseFile(const QString &path, int count, QVector<TConfig_PredmRasch> *rows,
                       QString *errorText)
{
    TIniDocument document;
    bool missing = false;
    if (!ReadGoodsBaseDocument(path, &document, &missing, errorText))
        return false;
    if (missing && !CreateGoodsBaseFile(path, errorText))
        return false;
    *rows = TakeGoodsRows(document, count);
    return true;
}

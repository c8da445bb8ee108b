#include "goodsbasefile.h"

#include "gridtexts.h"
#include "inidocument.h"
#include "tablecodes.h"

#include <QFile>
#include <QFileInfo>

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

void PutGoodsRows(TIniDocument &document, const QVector<TGoodsRow> &rows)
{
    for (int i = 0; i < rows.size(); ++i) {
        const QString section = GoodsSectionName(i + 1);
        const TGoodsRow &row = rows.at(i);
        document.SetValue(section, kKeyName, row.name);
        document.SetValue(section, kKeyFont, row.font);
        document.SetValue(section, kKeyBarcode, row.barcode);
        document.SetValue(section, kKeyPrice, row.price);
        document.SetValue(section, kKeyDepartment, row.department);
    }
}

QVector<TGoodsRow> TakeGoodsRows(const TIniDocument &document, int count)
{
    QVector<TGoodsRow> rows;
    rows.reserve(count);
    for (int item = 1; item <= count; ++item) {
        const QString section = GoodsSectionName(item);
        TGoodsRow row;
        row.name = document.Value(section, kKeyName);
        row.font = document.Value(section, kKeyFont, GridTexts::kNarrowFont);
        row.barcode = document.Value(section, kKeyBarcode);
        row.price = document.Value(section, kKeyPrice, QStringLiteral("0.00"));
        row.department = document.Value(section, kKeyDepartment, QStringLiteral("0"));
        rows.append(row);
    }
    return rows;
}

bool SaveGoodsBaseFile(const QString &path, const QVector<TGoodsRow> &rows, QString *errorText)
{
    // What the file already holds is kept; the whole content is then written at once, so a
    // failed write leaves the old file as it was (and creates no empty one).
    TIniDocument document;
    if (!document.Load(path, errorText))
        return false;
    PutGoodsRows(document, rows);
    return document.Save(path, errorText);
}

bool LoadGoodsBaseFile(const QString &path, int count, QVector<TGoodsRow> *rows, QString *errorText)
{
    if (!QFileInfo::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (errorText)
                *errorText = file.errorString();
            return false;
        }
    }
    TIniDocument document;
    if (!document.Load(path, errorText))
        return false;
    *rows = TakeGoodsRows(document, count);
    return true;
}

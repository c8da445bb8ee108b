#pragma once

#include "goodsrecord.h"

#include <QString>
#include <QVector>

class TFrameSetZ48;
struct TGoodsImportPlan;

// The goods grid to and from CSV tables for spreadsheets (menu "Сервис"). Both first show the
// goods tab; both are refused while a run with the register holds the frame.

// The save dialog's filter: the items that are not empty or all 6000 rows, each in
// Windows-1251 (first, for a spreadsheet in a Russian locale) or UTF-8 with a byte order mark.
QString GoodsCsvExportFilter();
QString GoodsCsvImportFilter();

// "Экспорт товаров в CSV...".
void ExportGoodsCsv(TFrameSetZ48 &frame);
// "Импорт товаров из CSV...": reads the file, shows what will happen and, on "Импортировать",
// fills the rows; a file that cannot be read changes no cell.
void ImportGoodsCsv(TFrameSetZ48 &frame);

// The goods grid's rows 1-6000, and the plan's rows put into it.
QVector<TConfig_PredmRasch> GoodsGridRows(const TFrameSetZ48 &frame);
void ApplyGoodsImport(TFrameSetZ48 &frame, const TGoodsImportPlan &plan);

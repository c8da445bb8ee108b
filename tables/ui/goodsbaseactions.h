#pragma once

class QWidget;
class TFrameSetZ48;

// "Сохранить в файл": all 6000 rows of the goods grid into a goods base file of the user's
// choice, merged into what the file holds.
void SaveGoodsBase(TFrameSetZ48 &frame);
// "Загрузить из файла": all 6000 rows of the goods grid from a goods base file; a file that
// does not exist is created empty and every row gets the defaults. A file that cannot be read
// changes no cell. A file without a single goods section (a missing one included) is loaded
// only when ConfirmLoadWithoutData says so.
void LoadGoodsBase(TFrameSetZ48 &frame);

// Asks whether a file that holds none of the program's data is to be loaded all the same,
// clearing the grids; No is the default, so a stray Enter keeps every cell. True on Yes.
bool ConfirmLoadWithoutData(QWidget *parent);

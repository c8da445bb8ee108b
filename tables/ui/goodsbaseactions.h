#pragma once

class TFrameSetZ48;

// "Сохранить в файл": all 6000 rows of the goods grid into a goods base file of the user's
// choice, merged into what the file holds.
void SaveGoodsBase(TFrameSetZ48 &frame);
// "Загрузить из файла": all 6000 rows of the goods grid from a goods base file; a file that
// does not exist is created empty and every row gets the defaults. A file that cannot be read
// changes no cell.
void LoadGoodsBase(TFrameSetZ48 &frame);

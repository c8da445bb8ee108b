#pragma once

class TFrameSetZ48;
class TWorkHost;

// "Очистить базу в ККТ": after the user confirms, erases the register's goods base (the grid
// keeps what it shows) and tells the outcome.
void ClearGoodsBase(TFrameSetZ48 &frame, TWorkHost *host);
// "Перейти к товару": makes column 1 of the item typed into Edit11 the goods grid's current
// cell, or tells what is wrong with the number and gives Edit11 the focus back.
void GoToGoodsItem(TFrameSetZ48 &frame);

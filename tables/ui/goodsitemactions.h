#pragma once

class TFrameSetZ48;
class TWorkHost;

// "Очистить базу в ККТ": after the user confirms, erases the register's goods base (the grid
// keeps what it shows) and tells the outcome.
void ClearGoodsBase(TFrameSetZ48 &frame, TWorkHost *host);

#pragma once

class QAction;
class QMenu;
class QMenuBar;

// The main window's menu: its submenus and the items the window wires and enables.
struct TMainMenu {
    QMenu *File = nullptr;
    QAction *SaveConfig = nullptr; // "Сохранить конфигурацию", enabled once a frame is shown
    QAction *LoadConfig = nullptr;
    QAction *Exit = nullptr;
    QMenu *Settings = nullptr;
    QAction *ConnectionSettings = nullptr;
    QAction *ScannerSettings = nullptr;
    QMenu *Programming = nullptr; // enabled once the connection settings were applied
    QAction *GsmParams = nullptr;
    QAction *Z48Params = nullptr;
    // The engineer's tools; enabled whenever "Программирование" is.
    QMenu *Service = nullptr;
    QAction *ExchangeLog = nullptr;    // "Журнал обмена"
    QAction *VerifyRegister = nullptr; // "Сверить с ККТ"
    QAction *WriteChanged = nullptr;   // "Записать изменённые"
    QAction *ExportGoods = nullptr;    // "Экспорт товаров в CSV..."
    QAction *ImportGoods = nullptr;    // "Импорт товаров из CSV..."
    QAction *Version = nullptr;        // an item of the bar itself
};

// Fills the bar with the menu, captions and start-up enabled states included.
TMainMenu BuildMainMenu(QMenuBar *bar);

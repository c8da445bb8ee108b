#include "mainmenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace
{
QAction *AddItem(QMenu *menu, const char *name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}
} // namespace

TMainMenu BuildMainMenu(QMenuBar *bar)
{
    TMainMenu menu;
    menu.File = bar->addMenu(QStringLiteral("Файл"));
    menu.File->setObjectName(QStringLiteral("mnFile"));
    menu.SaveConfig = AddItem(menu.File, "miSaveConfig", QStringLiteral("Сохранить конфигурацию"));
    menu.SaveConfig->setEnabled(false);
    menu.LoadConfig = AddItem(menu.File, "miLoadConfig", QStringLiteral("Загрузить конфигурацию"));
    menu.File->addSeparator();
    menu.Exit = AddItem(menu.File, "miExit", QStringLiteral("Выход"));

    menu.Settings = bar->addMenu(QStringLiteral("Настройки"));
    menu.Settings->setObjectName(QStringLiteral("mnSettings"));
    menu.ConnectionSettings = AddItem(menu.Settings, "miConnection", QStringLiteral("Связь с ККТ"));
    menu.ScannerSettings = AddItem(menu.Settings, "miScanner", QStringLiteral("Сканер штрих-кода"));

    menu.Programming = bar->addMenu(QStringLiteral("Программирование"));
    menu.Programming->setObjectName(QStringLiteral("mnProgramming"));
    menu.GsmParams = AddItem(menu.Programming, "miGsm", QStringLiteral("Параметры GSM"));
    menu.Z48Params = AddItem(menu.Programming, "miZ48", QStringLiteral("Параметры Z48"));
    menu.Programming->menuAction()->setEnabled(false);

    menu.Service = bar->addMenu(QStringLiteral("Сервис"));
    menu.Service->setObjectName(QStringLiteral("mnService"));
    menu.ExchangeLog = AddItem(menu.Service, "miExchangeLog", QStringLiteral("Журнал обмена"));
    menu.VerifyRegister = AddItem(menu.Service, "miVerify", QStringLiteral("Сверить с ККТ"));
    menu.WriteChanged =
        AddItem(menu.Service, "miWriteChanged", QStringLiteral("Записать изменённые"));
    menu.Service->addSeparator();
    menu.ExportGoods =
        AddItem(menu.Service, "miExportGoods", QStringLiteral("Экспорт товаров в CSV..."));
    menu.ImportGoods =
        AddItem(menu.Service, "miImportGoods", QStringLiteral("Импорт товаров из CSV..."));
    menu.Service->menuAction()->setEnabled(false);
    // "Сервис" works on the register and the frames as "Программирование" does.
    QObject::connect(menu.Programming->menuAction(), &QAction::enabledChanged,
                     menu.Service->menuAction(), &QAction::setEnabled);

    menu.Version = bar->addAction(QStringLiteral("Версия"));
    menu.Version->setObjectName(QStringLiteral("miVersion"));
    return menu;
}

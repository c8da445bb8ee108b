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

    menu.Version = bar->addAction(QStringLiteral("Версия"));
    menu.Version->setObjectName(QStringLiteral("miVersion"));
    return menu;
}

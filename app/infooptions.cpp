#include "infooptions.h"

#include "appfolder.h"

#include <QByteArray>

#include <cstdio>

namespace
{

const char kHelp[] =
    "Использование: kkt-programmer [ПАРАМЕТР]\n"
    "\n"
    "Программирование ККТ: параметры GSM-модуля (сервер ОФД, PIN-код SIM-карты, APN, логин,\n"
    "пароль) и таблицы онлайн-кассы (операторы, база товаров, группы предметов расчёта, строки\n"
    "клише, параметры агента) через последовательный порт, в окнах программы.\n"
    "\n"
    "Настройки связи хранятся в файле ProgSett.ini, сканера штрихкодов - в Scan.cfg: рядом с\n"
#ifdef Q_OS_WIN
    "программой, если в её папке можно создавать файлы, иначе в %LOCALAPPDATA%\\kkt-programmer\\.\n"
#else
    "программой, если в её папке можно создавать файлы, иначе в ~/.config/kkt-programmer/.\n"
#endif
    "Без окон кассы программирует kkt-cli (kkt-cli --help).\n"
    "\n"
    "Параметры:\n"
    "  --help       эта справка\n"
    "  --version    версия программы\n"
    "Принимаются также общие параметры Qt (-platform, -style и другие).\n";

} // namespace

std::optional<int> AnswerInfoOption(int argc, const char *const *argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--help" || arg == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("kkt-programmer %s\n", qPrintable(ProgramVersionText()));
            return 0;
        }
    }
    return std::nullopt;
}

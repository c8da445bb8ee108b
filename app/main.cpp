#include "formmain.h"
#include "infooptions.h"
#include "programstyle.h"
#include "qttranslations.h"

#include <QApplication>
#include <QDirIterator>
#include <QFontDatabase>
#include <QIcon>

#include <thread>

int main(int argc, char *argv[])
{
    if (const std::optional<int> answered = AnswerInfoOption(argc, argv))
        return *answered;
    QApplication app(argc, argv);
    // The system's font list is read once per program, at the first text measured, and takes
    // about a fifth of the start-up: a worker reads it while the windows are built.
    std::jthread fonts([] { QFontDatabase::families(); });
    // Message box captions and the window class carry the program's name, not the file's.
    // (Only the name: a display name would be appended to every window caption.)
    QApplication::setApplicationName(QStringLiteral("Программирование ККТ"));
    // The desktop entry the window belongs to (its icon and name in Wayland's task lists).
    QGuiApplication::setDesktopFileName(QStringLiteral(KKT_APP_ID));
    QIcon icon;
    for (QDirIterator it(QStringLiteral(":/icons")); it.hasNext();)
        icon.addFile(it.next());
    QApplication::setWindowIcon(icon);
    QApplication::setStyle(new TProgramStyle);
    LoadQtTranslations(app);
    TFormMain formMain;
    fonts.join();
    formMain.show();
    return app.exec();
}

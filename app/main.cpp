#include "formmain.h"
#include "qttranslations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Message box captions and the window class carry the program's name, not the file's.
    QApplication::setApplicationName(QStringLiteral("Программирование ККТ"));
    QApplication::setApplicationDisplayName(QStringLiteral("Программирование ККТ"));
    LoadQtTranslations(app);
    TFormMain formMain;
    formMain.show();
    return app.exec();
}

#include "formmain.h"
#include "programstyle.h"
#include "qttranslations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Message box captions and the window class carry the program's name, not the file's.
    // (Only the name: a display name would be appended to every window caption.)
    QApplication::setApplicationName(QStringLiteral("Программирование ККТ"));
    QApplication::setStyle(new TProgramStyle);
    LoadQtTranslations(app);
    TFormMain formMain;
    formMain.show();
    return app.exec();
}

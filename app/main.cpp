#include "formmain.h"
#include "qttranslations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    LoadQtTranslations(app);
    TFormMain formMain;
    formMain.show();
    return app.exec();
}

#pragma once

class QCoreApplication;

// Loads Qt's own Russian texts ("Да", "Нет", "Отмена", the file dialogs) into app: first from
// beside the executable (a Windows installation ships them there), then from Qt's translations
// folder. False when none was found; Qt's English texts stay then.
bool LoadQtTranslations(QCoreApplication &app);

#pragma once

class QCoreApplication;

namespace ui {

// Qt's own texts (file choosers, standard buttons, context menus of fields)
// in Russian, like every text of the program, whatever the desktop's locale.
// Without the installed translations Qt's English texts stay.
void InstallQtTranslations(QCoreApplication& app);

}  // namespace ui

// Czech texts of Qt's own dialogs (file chooser, printer properties, standard buttons).
#pragma once

class QCoreApplication;

namespace ui {

// Loads Qt's Czech translations into the application; answers false when the installation
// lacks them (the dialogs then stay in English, nothing else changes).
bool installQtTranslations(QCoreApplication& application);

} // namespace ui

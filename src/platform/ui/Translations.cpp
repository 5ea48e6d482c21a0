// Czech texts of Qt's own dialogs (file chooser, printer properties, standard buttons).
#include "platform/ui/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace ui {

bool installQtTranslations(QCoreApplication& application)
{
    const QString directory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(czech, QStringLiteral("qtbase"), QStringLiteral("_"), directory))
        return false;
    // The application owns it from here: it stays installed as long as the application lives.
    translator->setParent(&application);
    return QCoreApplication::installTranslator(translator.release());
}

} // namespace ui

#include "quorvane_application.h"

#include "accessibility.h"
#include "font_value.h"

#include <QLibraryInfo>

QuorvaneApplication::QuorvaneApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Quorvane"));
    setApplicationVersion(QStringLiteral("1.0"));
    Fonts::installSubstitutions();
    Accessibility::install();
    if (qtTexts_.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&qtTexts_);
    Dialogs::install(&dialogs_);
    EventPump::install(&pump_);
}

QuorvaneApplication::~QuorvaneApplication()
{
    Dialogs::install(nullptr);
    EventPump::install(nullptr);
}

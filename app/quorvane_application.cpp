#include "quorvane_application.h"

#include "font_value.h"

QuorvaneApplication::QuorvaneApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Quorvane"));
    setApplicationVersion(QStringLiteral("1.0"));
    Fonts::installSubstitutions();
    Dialogs::install(&dialogs_);
    EventPump::install(&pump_);
}

QuorvaneApplication::~QuorvaneApplication()
{
    Dialogs::install(nullptr);
    EventPump::install(nullptr);
}

#include "quorvane_application.h"

#include "accessibility.h"
#include "services/held_keys.h"
#include "settings/font_value.h"

#include <QLibraryInfo>
#include <QLocale>

#include <cstdio>
#include <cstdlib>

// Without a display Qt aborts with a note about platform plugins; say what is missing instead.
static int& requireGraphicalSession(int& argc)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fputs("quorvane: a graphical session is needed to show the window, and there is none here "
                   "(neither DISPLAY nor WAYLAND_DISPLAY is set)\n",
                   stderr);
        std::exit(1);
    }
    return argc;
}

QuorvaneApplication::QuorvaneApplication(int& argc, char** argv) : QApplication(requireGraphicalSession(argc), argv)
{
    setApplicationName(QStringLiteral("Quorvane"));
    setApplicationVersion(QStringLiteral("1.0"));
    // Lets task bars, Wayland ones above all, match the window to its menu entry and icon.
    setDesktopFileName(QStringLiteral("org.quorvane.Quorvane"));
    // The window is Russian whatever the session's language; Qt's dialogs take file-type
    // names and number formats from the default locale, so they follow it too.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    Fonts::installSubstitutions();
    Accessibility::install();
    if (qtTexts_.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        // Asked last, only for what the catalogue itself leaves untranslated.
        installTranslator(&renamedTexts_);
        installTranslator(&qtTexts_);
    }
    Dialogs::install(&dialogs_);
    EventPump::install(&pump_);
    HeldKeys::install();
}

QuorvaneApplication::~QuorvaneApplication()
{
    Dialogs::install(nullptr);
    EventPump::install(nullptr);
}

QString QuorvaneApplication::RenamedContexts::translate(const char* context, const char* sourceText,
                                                        const char* disambiguation, int n) const
{
    Q_UNUSED(disambiguation);
    if (qstrcmp(context, "QAbstractFileIconProvider") == 0)
        return texts_.translate("QFileDialog", sourceText, nullptr, n);
    return QString();
}

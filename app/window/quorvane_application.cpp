#include "quorvane_application.h"

#include "accessibility.h"
#include "settings/font_value.h"
#include "services/held_keys.h"

#include <QLibraryInfo>
#include <QLocale>

QuorvaneApplication::QuorvaneApplication(int& argc, char** argv) : QApplication(argc, argv)
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

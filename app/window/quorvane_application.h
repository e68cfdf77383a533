#pragma once

#include "services/qt_dialogs.h"
#include "services/qt_event_pump.h"

#include <QApplication>
#include <QTranslator>

// The application with the platform services the window relies on: font substitutes,
// Qt's own texts and locale in Russian (file dialogs), the desktop entry it belongs to,
// the real dialogs and the event pump of the long operations.
class QuorvaneApplication : public QApplication {
public:
    QuorvaneApplication(int& argc, char** argv);
    ~QuorvaneApplication() override;

private:
    // Qt's file-type names ("Folder") moved to a context that Debian's Russian catalogue
    // does not cover yet; this asks the catalogue under the file dialog's own context.
    class RenamedContexts : public QTranslator {
    public:
        explicit RenamedContexts(const QTranslator& texts) : texts_(texts) {}
        bool isEmpty() const override { return false; }
        QString translate(const char* context, const char* sourceText, const char* disambiguation,
                          int n) const override;

    private:
        const QTranslator& texts_;
    };

    QTranslator qtTexts_;
    RenamedContexts renamedTexts_{qtTexts_};
    QtDialogs dialogs_;
    QtEventPump pump_;
};

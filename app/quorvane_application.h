#pragma once

#include "qt_dialogs.h"
#include "qt_event_pump.h"

#include <QApplication>
#include <QTranslator>

// The application with the platform services the window relies on: font substitutes,
// Qt's own texts in Russian (file dialogs), the real dialogs and the event pump of the
// long operations.
class QuorvaneApplication : public QApplication {
public:
    QuorvaneApplication(int& argc, char** argv);
    ~QuorvaneApplication() override;

private:
    QTranslator qtTexts_;
    QtDialogs dialogs_;
    QtEventPump pump_;
};

#pragma once

#include "qt_dialogs.h"
#include "qt_event_pump.h"

#include <QApplication>

// The application with the platform services the window relies on: font substitutes,
// the real dialogs and the event pump of the long operations.
class QuorvaneApplication : public QApplication {
public:
    QuorvaneApplication(int& argc, char** argv);
    ~QuorvaneApplication() override;

private:
    QtDialogs dialogs_;
    QtEventPump pump_;
};

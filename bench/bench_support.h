#pragma once

#include "services/dialogs.h"
#include "services/qt_event_pump.h"
#include "window/frm_main.h"

#include <QElapsedTimer>
#include <QStringList>

#include <functional>
#include <memory>

// Answers every box with OK and every file dialog with the next name, and notes the
// texts and when the first box came after a click.
class BenchDialogs : public Dialogs {
public:
    QString nextFile;
    QStringList messages;
    QElapsedTimer sinceClick;
    qint64 firstBoxNs = -1;

    Answer message(const QString& text, const QString&, Icon, Buttons) override;
    QString openFileName(const QString&) override { return nextFile; }
    QString saveFileName(const QString&) override { return nextFile; }
};

// The real pump, which can hold a click back, as real input is, until its next delivery
// that lets input through.
class HeldClickPump : public QtEventPump {
public:
    std::function<void()> heldClick;

protected:
    void checkPendingEvents() override;
};

// The program's real window, shown offscreen, with the real event pump and scripted dialogs.
struct BenchWindow {
    BenchDialogs dialogs;
    HeldClickPump pump;
    std::unique_ptr<FrmMain> form;

    BenchWindow();
    // Clicks "Импорт слов" for the file; the milliseconds until the click handler returned.
    double import(const QString& path);
    // Clicks "Начать поиск" with the letters and the mode.
    double search(const QString& letters, bool exact);
};

// Before the application object: offscreen unless the caller chose a platform.
void useOffscreenPlatform();
double milliseconds(const std::function<void()>& work);
double ms(qint64 ns);
// samples/ru_full_forms.txt in the program's folder or up to three above it; empty if none.
QString findSample();

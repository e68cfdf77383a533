#include "found_words_save.h"

#include "ansi_text_writer.h"
#include "event_pump.h"
#include "frm_main.h"
#include "module1.h"
#include "progress_protocol.h"
#include "push_button/xp_button.h"
#include "word_list_box.h"

#include <QGroupBox>
#include <QLineEdit>

namespace {

OperationTable saveTable(FrmMain& form)
{
    OperationTable table;
    table.button = form.bsave;
    table.idleCaption = QStringLiteral("Сохранить");
    table.disabledWhileRunning = {form.command1, form.command2};
    table.enabledAfterwards = {form.command1, form.command2};
    table.alsoEnabledOnCancel = {form.f1, form.t1};
    table.cancelQuestion = QStringLiteral("Вы уверены, что хотите остановить сохранение?");
    table.cancelButtons = Dialogs::Buttons::YesNo;
    table.completionTitle = QStringLiteral("Сохранение");
    return table;
}

QString cannotSave(const QString& path, const QString& reason)
{
    return QStringLiteral("Не удалось сохранить файл:\n%1\n\n%2").arg(path, reason);
}

// What was written before the failure is left in place, and the user is told so.
QString savedInPart(const QString& path, const QString& reason)
{
    return cannotSave(path, reason) + QStringLiteral("\n\nФайл записан не полностью.");
}

} // namespace

FoundWordsSave::FoundWordsSave(FrmMain& form)
    : form_(form), button_(saveTable(form), form.progress(), form.CancelFlag)
{
}

void FoundWordsSave::click()
{
    if (button_.isIdle())
        run();
    else
        button_.askToCancel();
}

void FoundWordsSave::run()
{
    FrmMain& f = form_;
    if (f.r->item(0).isEmpty()) {
        Dialogs::current().message(QStringLiteral("Нет слов для сохранения"), QStringLiteral("Ошибка"),
                                   Dialogs::Icon::Error, Dialogs::Buttons::Ok);
        return;
    }
    f.cd1.FileName.clear();
    f.cd1.ShowSave();
    if (f.cd1.FileName.isEmpty())
        return;
    const QString path = f.cd1.FileName;

    AnsiTextWriter file;
    if (!file.open(path)) {
        Dialogs::current().message(cannotSave(path, file.errorString()), QStringLiteral("Ошибка"),
                                   Dialogs::Icon::Error, Dialogs::Buttons::Ok);
        return;
    }

    f.progress().start(f.FoundCount, QStringLiteral("Сохранение слов. Завершено "), false);
    button_.begin();
    EventPump& pump = EventPump::current();
    const qint64 total = f.FoundCount;
    bool stopped = false;
    for (qint64 i = 0; i < total; ++i) {
        if (f.shouldStop()) {
            stopped = true; // the cancel handler has restored the window
            break;
        }
        if (!file.writeLine(Module1::FoundWords.view(i)))
            break;
        f.progress().step(1, total);
        pump.processPendingEvents();
    }
    const bool written = file.close();
    if (f.isEnding())
        return;
    // Stopped or not, a file that could not be written is never reported as saved.
    if (!written) {
        const QString message = savedInPart(path, file.errorString());
        if (stopped)
            Dialogs::current().message(message, QStringLiteral("Ошибка"), Dialogs::Icon::Error,
                                       Dialogs::Buttons::Ok);
        else
            button_.fail(message);
        return;
    }
    if (!stopped)
        button_.complete(QStringLiteral("Сохранение завершено"));
}

#include "found_words_save.h"

#include "files/ansi_text_writer.h"
#include "files/file_error.h"
#include "progress_protocol.h"
#include "push_button/xp_button.h"
#include "services/event_pump.h"
#include "widgets/common_dialog.h"
#include "widgets/word_list_box.h"
#include "words/module1.h"

namespace {

OperationTable saveTable(const FoundWordsSave::Controls& c)
{
    OperationTable table;
    table.button = &c.bsave;
    table.idleCaption = QStringLiteral("Сохранить");
    table.disabledWhileRunning = {&c.command1, &c.command2};
    table.enabledAfterwards = {&c.command1, &c.command2};
    table.alsoEnabledOnCancel = {&c.f1, &c.t1};
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

FoundWordsSave::FoundWordsSave(const OperationContext& context, const Controls& controls)
    : context_(context), controls_(controls), button_(saveTable(controls), context)
{
}

void FoundWordsSave::click()
{
    button_.click([this] { run(); }, [this] { ranOutOfMemory(); });
}

void FoundWordsSave::ranOutOfMemory()
{
    // The file closed as the save unwound; what it holds stays, and the user is told.
    const QString& path = controls_.cd1.FileName;
    const QString reason = FileError::outOfMemory();
    button_.fail(button_.isIdle() ? cannotSave(path, reason) : savedInPart(path, reason));
}

void FoundWordsSave::run()
{
    if (controls_.r.item(0).isEmpty()) {
        Dialogs::current().message(QStringLiteral("Нет слов для сохранения"), QStringLiteral("Ошибка"),
                                   Dialogs::Icon::Error, Dialogs::Buttons::Ok);
        return;
    }
    CommonDialog& cd1 = controls_.cd1;
    cd1.FileName.clear();
    cd1.ShowSave();
    if (cd1.FileName.isEmpty())
        return;
    const QString path = cd1.FileName;

    AnsiTextWriter file;
    if (!file.open(path)) {
        Dialogs::current().message(cannotSave(path, file.errorString()), QStringLiteral("Ошибка"),
                                   Dialogs::Icon::Error, Dialogs::Buttons::Ok);
        return;
    }

    context_.progress.start(context_.FoundCount, QStringLiteral("Сохранение слов. Завершено "), false);
    button_.begin();
    EventPump& pump = EventPump::current();
    const qint64 total = context_.FoundCount;
    bool stopped = false;
    for (qint64 i = 0; i < total; ++i) {
        if (context_.shouldStop()) {
            stopped = true; // the cancel handler has restored the window
            break;
        }
        const WordView word = Module1::FoundWords.view(i);
        if (!file.writeLine(QByteArrayView(word.bytes(), word.size())))
            break;
        context_.progress.step(1, total);
        pump.weighItem(word.size());
        pump.processPendingEvents();
    }
    const bool written = file.close();
    if (context_.ending)
        return;
    // Stopped or not, a file that could not be written is never reported as saved.
    if (!written) {
        button_.fail(savedInPart(path, file.errorString()));
        return;
    }
    if (!stopped)
        button_.complete(QStringLiteral("Сохранение завершено"));
}

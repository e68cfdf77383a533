#include "dictionary_import.h"

#include "ansi_text_reader.h"
#include "count_label.h"
#include "dictionary_line.h"
#include "event_pump.h"
#include "frm_main.h"
#include "module1.h"
#include "progress_protocol.h"
#include "push_button/xp_button.h"
#include "word_list_box.h"

namespace {

// Lines longer than this are handed over by the reader, not copied.
constexpr qsizetype LongLine = 1 << 20;

OperationTable importTable(FrmMain& form)
{
    OperationTable table;
    table.button = form.command2;
    table.idleCaption = QStringLiteral("Импорт слов");
    table.disabledWhileRunning = {form.command1, form.bsave};
    table.enabledAfterwards = {form.command1, form.bsave};
    table.cancelQuestion = QStringLiteral("Сохранить импортированные слова в списке?");
    table.cancelButtons = Dialogs::Buttons::YesNoCancel;
    table.clearedOnNo = form.l;
    table.completionTitle = QStringLiteral("Завершено");
    return table;
}

QString cannotOpen(const QString& path, const QString& reason)
{
    return QStringLiteral("Не удалось открыть файл словаря:\n%1\n\n%2").arg(path, reason);
}

QString cannotRead(const QString& path, const QString& reason, qint64 words)
{
    return QStringLiteral("Не удалось дочитать файл словаря:\n%1\n\n%2\n\nИмпортировано слов до ошибки: %3")
        .arg(path, reason)
        .arg(words);
}

} // namespace

DictionaryImport::DictionaryImport(FrmMain& form)
    : form_(form), button_(importTable(form), form.progress(), form.CancelFlag)
{
}

void DictionaryImport::click()
{
    if (button_.isIdle())
        run();
    else
        button_.askToCancel();
}

void DictionaryImport::run()
{
    FrmMain& f = form_;
    f.cd1.FileName.clear();
    f.cd1.ShowOpen();
    if (f.cd1.FileName.isEmpty())
        return;
    const QString path = f.cd1.FileName;

    // A file that cannot be opened leaves the previous dictionary and the window as they were.
    AnsiTextReader file;
    if (!file.open(path)) {
        Dialogs::current().message(cannotOpen(path, file.errorString()), QStringLiteral("Ошибка"),
                                   Dialogs::Icon::Error, Dialogs::Buttons::Ok);
        return;
    }

    button_.begin();
    f.WordCount = 0;
    f.StepCounter = 0;
    f.l->clear();
    f.progress().start(file.size(), QStringLiteral("Импорт слов. Завершено "), true);
    const qint64 divisor = file.size();
    EventPump& pump = EventPump::current();
    // A click inside a very long line waits for the line's pass to reach its delivery of
    // events, so a cancel still finds the line listed, stored and counted.
    file.setWithinLongLine([&pump] { pump.processPendingEventsExceptInput(); });
    {
        CountLabel imported(*f.l1, pump);
        // A QStringView entry is copied into the store; a QString one (a very long line)
        // is kept as it is. The list shows the store's text.
        const auto importEntry = [&](const auto& entry) {
            f.l->appendRow();
            f.progress().step(DictionaryLine::progressWeight(entry), divisor);
            ++f.WordCount;
            Module1::GrowDictionaryWords(f.WordCount);
            Module1::DictionaryWords.set(f.WordCount, entry);
            imported.set(f.WordCount);
            pump.processPendingEvents();
        };
        QString scratch;
        while (!file.atEnd()) {
            if (f.shouldStop())
                return; // the cancel handler has restored the window; the file closes here
            const QStringView line = file.readLine();
            if (file.hasError())
                break;
            if (line.size() > LongLine) {
                QString entry = file.takeLastLine();
                entry.remove(QLatin1Char(' '));
                importEntry(entry);
            } else {
                importEntry(DictionaryLine::withoutSpaces(line, scratch));
            }
        }
    }
    file.close();
    if (f.isEnding())
        return;
    // The lines read before a failure stay, as after a cancel; the failure is reported.
    if (file.hasError())
        button_.fail(cannotRead(path, file.errorString(), f.WordCount));
    else
        button_.complete(QStringLiteral("Импорт завершён. В базе слов:  ") + QString::number(f.WordCount));
}

#include "dictionary_import.h"

#include "count_label.h"
#include "files/ansi_text_reader.h"
#include "progress_protocol.h"
#include "push_button/xp_button.h"
#include "services/event_pump.h"
#include "widgets/common_dialog.h"
#include "widgets/word_list_box.h"
#include "words/dictionary_line.h"
#include "words/long_text.h"
#include "words/module1.h"

namespace {

OperationTable importTable(const DictionaryImport::Controls& c)
{
    OperationTable table;
    table.button = &c.command2;
    table.idleCaption = QStringLiteral("Импорт слов");
    table.disabledWhileRunning = {&c.command1, &c.bsave};
    table.enabledAfterwards = {&c.command1, &c.bsave};
    table.cancelQuestion = QStringLiteral("Сохранить импортированные слова в списке?");
    table.cancelButtons = Dialogs::Buttons::YesNoCancel;
    table.clearedOnNo = &c.l;
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

DictionaryImport::DictionaryImport(const OperationContext& context, const Controls& controls)
    : context_(context), controls_(controls), button_(importTable(controls), context.progress, context.CancelFlag)
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
    CommonDialog& cd1 = controls_.cd1;
    cd1.FileName.clear();
    cd1.ShowOpen();
    if (cd1.FileName.isEmpty())
        return;
    const QString path = cd1.FileName;

    // A file that cannot be opened leaves the previous dictionary and the window as they were.
    AnsiTextReader file;
    if (!file.open(path)) {
        Dialogs::current().message(cannotOpen(path, file.errorString()), QStringLiteral("Ошибка"),
                                   Dialogs::Icon::Error, Dialogs::Buttons::Ok);
        return;
    }

    if (file.singleByteCharacters())
        Module1::useSingleByteCodePage(*file.singleByteCharacters());
    ProgressProtocol& progress = context_.progress;
    button_.begin();
    context_.WordCount = 0;
        controls_.l.clear();
    progress.start(file.size(), QStringLiteral("Импорт слов. Завершено "), true);
    const qint64 divisor = file.size();
    EventPump& pump = EventPump::current();
    // A click inside a very long line waits for the line's pass to reach its delivery of
    // events, so a cancel still finds the line listed, stored and counted.
    file.setWithinLongLine([&pump] { pump.processPendingEventsExceptInput(); });
    {
        CountLabel imported(controls_.l1, pump);
        // A QStringView entry is copied into the store; a QString one (a very long line)
        // is kept as it is. The list shows the store's text.
        const auto importEntry = [&](const auto& entry) {
            controls_.l.appendRow();
            progress.step(DictionaryLine::progressWeight(entry), divisor);
            ++context_.WordCount;
            Module1::GrowDictionaryWords(context_.WordCount);
            Module1::DictionaryWords.set(context_.WordCount, entry);
            imported.set(context_.WordCount);
            pump.processPendingEvents();
        };
        QString scratch;
        while (!file.atEnd()) {
            if (context_.shouldStop())
                return; // the cancel handler has restored the window; the file closes here
            const QStringView line = file.readLine();
            if (file.hasError())
                break;
            if (line.size() > LongTextChars) {
                QString entry = file.takeLastLine();
                DictionaryLine::removeSpaces(entry);
                importEntry(entry);
            } else {
                importEntry(DictionaryLine::withoutSpaces(line, scratch));
            }
        }
    }
    file.close();
    if (context_.ending)
        return;
    // The lines read before a failure stay, as after a cancel; the failure is reported.
    if (file.hasError())
        button_.fail(cannotRead(path, file.errorString(), context_.WordCount));
    else
        button_.complete(QStringLiteral("Импорт завершён. В базе слов:  ") + QString::number(context_.WordCount));
}

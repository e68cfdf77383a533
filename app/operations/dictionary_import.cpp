#include "dictionary_import.h"

#include "count_label.h"
#include "files/ansi_text_reader.h"
#include "files/file_error.h"
#include "progress_protocol.h"
#include "push_button/xp_button.h"
#include "services/event_pump.h"
#include "widgets/common_dialog.h"
#include "widgets/word_list_box.h"
#include "words/dictionary_line.h"
#include "words/module1.h"

#include <QElapsedTimer>

namespace {

// How long input may wait inside one line before a click or a close is answered there.
constexpr qint64 LongLinePatienceNs = 500'000'000;

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
    : context_(context), controls_(controls), button_(importTable(controls), context)
{
}

void DictionaryImport::click()
{
    button_.click([this] { run(); }, [this] { ranOutOfMemory(); });
}

void DictionaryImport::ranOutOfMemory()
{
    // The words stored before stay, as after a cancel answered Yes, and the user is told.
    // The pass that ran out of memory may have listed its line before storing it.
    controls_.l.truncate(context_.WordCount);
    button_.fail(cannotRead(controls_.cd1.FileName, FileError::outOfMemory(), context_.WordCount));
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

    WordArray& words = Module1::DictionaryWords;
    ProgressProtocol& progress = context_.progress;
    button_.begin();
    context_.WordCount = 0;
    controls_.l.clear();
    progress.start(file.size(), QStringLiteral("Импорт слов. Завершено "), true);
    const qint64 divisor = file.size();
    EventPump& pump = EventPump::current();
    // A click inside a very long line waits for the line's pass to reach its delivery of
    // events, so a cancel still finds the line listed, stored and counted. Only a line that
    // keeps the user waiting too long lets input through: a confirmed cancel or the
    // program's end then lets go of that line, and it is not stored.
    const auto withinLongLine = [&](qint64 lineNs) {
        if (lineNs < LongLinePatienceNs) {
            pump.processPendingEventsExceptInput();
        } else {
            // The pump counts calls between looks at its clock, and each call here may
            // follow a slice of many milliseconds: it looks at once.
            pump.skipQuietCalls(pump.quietCalls());
            pump.processPendingEvents();
        }
        return !context_.shouldStop();
    };
    qint64 lineNs = 0; // how long the reader has spent on the line
    file.setWithinLongLine([&](qint64 ns) { return withinLongLine(lineNs = ns); });
    {
        CountLabel imported(controls_.l1, pump);
        // The list shows the store's text.
        const auto importEntry = [&](qsizetype length, const auto& store) {
            controls_.l.appendRow();
            progress.step(DictionaryLine::progressWeight(length), divisor);
            countAndStore(context_.WordCount, [&] {
                Module1::GrowDictionaryWords(context_.WordCount);
                store(context_.WordCount);
            });
            imported.set(context_.WordCount);
            pump.processPendingEvents();
        };
        QByteArray scratch;
        while (!file.atEnd()) {
            if (context_.shouldStop())
                return; // the cancel handler has restored the window; the file closes here
            lineNs = 0;
            const QByteArrayView line = file.readLine();
            if (file.hasError())
                break;
            if (file.stopped())
                return; // a very long line let go of: the cancel handler has restored the window
            if (line.size() <= WordArray::LongBytes) {
                pump.weighItem(line.size());
                const QByteArrayView entry = DictionaryLine::withoutSpaces(line, scratch);
                importEntry(entry.size(), [&](qint64 i) { words.set(i, WordView(entry)); });
            } else {
                // Taken over from the reader rather than copied, and made into its entry a
                // slice at a time, the window served in between as while it was read.
                DictionaryLine::LongEntry entry(file.takeLastLine());
                QElapsedTimer clock;
                clock.start();
                while (entry.next()) {
                    if (!withinLongLine(lineNs + clock.nsecsElapsed()))
                        return; // let go of, as above
                }
                importEntry(entry.entry().size(), [&](qint64 i) { words.set(i, entry.entry(), entry.signature()); });
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

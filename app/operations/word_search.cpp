#include "word_search.h"

#include "count_label.h"
#include "files/file_error.h"
#include "progress_protocol.h"
#include "push_button/xp_button.h"
#include "services/event_pump.h"
#include "shadow_label/xp_shadow.h"
#include "widgets/word_list_box.h"
#include "words/module1.h"
#include "words/word_matcher.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>

namespace {

// A word this long that passes the first test is tested as an item of its own, which the
// pump weighs by its length (EventPump::weighItem).
constexpr qsizetype LongWordBytes = 1024;

void inputError(const QString& text)
{
    Dialogs::current().message(text, QStringLiteral("Ошибка"), Dialogs::Icon::Error, Dialogs::Buttons::Ok);
}

// The two checks every click passes first, also one that would cancel.
bool inputsReady(const WordSearch::Controls& c)
{
    if (c.t1.text().isEmpty()) {
        inputError(QStringLiteral("Введите буквы для поиска"));
        return false;
    }
    if (c.l.item(0).isEmpty()) {
        inputError(QStringLiteral("Откройте словарь для поиска"));
        return false;
    }
    return true;
}

OperationTable searchTable(const WordSearch::Controls& c)
{
    OperationTable table;
    table.button = &c.command1;
    table.idleCaption = QStringLiteral("Начать поиск");
    table.disabledWhileRunning = {&c.f1, &c.command2, &c.bsave, &c.c1, &c.t1};
    table.enabledAfterwards = {&c.command2, &c.bsave, &c.f1, &c.t1, &c.c1};
    table.cancelQuestion = QStringLiteral("Сохранить найденные слова в списке?");
    table.cancelButtons = Dialogs::Buttons::YesNoCancel;
    table.clearedOnNo = &c.r;
    table.completionTitle = QStringLiteral("Завершено");
    table.checksOnEveryClick = [c] { return inputsReady(c); };
    return table;
}

} // namespace

WordSearch::WordSearch(const OperationContext& context, const Controls& controls)
    : context_(context), controls_(controls), button_(searchTable(controls), context)
{
}

void WordSearch::click()
{
    button_.click([this] { run(); }, [this] { ranOutOfMemory(); });
}

void WordSearch::ranOutOfMemory()
{
    // The words stored before stay, listed and counted, as after a cancel answered Yes; the
    // pass that ran out may have listed its word before storing it.
    controls_.r.truncate(context_.FoundCount);
    button_.fail(QStringLiteral("Не удалось завершить поиск.\n\n") + FileError::outOfMemory());
}

void WordSearch::run()
{
    OperationContext& f = context_;
    const Controls& c = controls_;
    button_.begin();
    QString letters = c.t1.text();
    letters.remove(QLatin1Char(' '));
    c.t1.setText(letters);
    c.l2.setCaption(QStringLiteral("0"));
    f.FoundCount = 0;
    c.r.clear();
    f.progress.start(f.WordCount, QStringLiteral("Поиск слов. Завершено "), true);

    WordMatcher matcher(letters, c.o1.isChecked() ? WordMatcher::Mode::Exact : WordMatcher::Mode::Compose);
    EventPump& pump = EventPump::current();
    const qint64 total = f.WordCount;
    ProgressProtocol& progress = f.progress;
    {
        CountLabel examined(c.l2, pump);
        // Nothing may import while the search runs (its button is disabled); the reading
        // turns any growth of the dictionary during the pump into a hard failure.
        const WordArray::Reading reading(Module1::DictionaryWords);
        const WordMatcher::FirstTest firstTest = matcher.firstTest();
        const auto keep = [&](const WordView& word) {
            c.r.appendRow();
            countAndStore(f.FoundCount, [&] {
                Module1::GrowFoundWords(f.FoundCount - 1);
                Module1::FoundWords.set(f.FoundCount - 1, word);
            });
        };
        // What `n` items whose steps and pump calls change nothing visible leave behind.
        const auto countQuietly = [&](qsizetype n) {
            progress.step(n, total);
            pump.skipQuietCalls(int(n));
            examined.set(examined.value() + n);
        };
        qint64 i = 1;
        while (i <= total) {
            const WordArray::Reading::Run run = reading.run(i, total + 1);
            for (qsizetype k = 0; k < run.count; ++k, ++i) {
                if (f.shouldStop())
                    return; // the cancel handler has restored the window
                // Up to the pump's next look at the events and the bar's next change, items
                // leave nothing to see but counts and the words found: they are tested in one
                // tight loop and counted as if one by one. (The test is spelt out here and
                // below: called through a lambda, the loop reloaded it from memory on every
                // word, and ordinary searches took twice as long.)
                const qsizetype quietStart = k;
                const qsizetype quietEnd
                    = k + std::min<qint64>({run.count - 1 - k, pump.quietCalls(), progress.quietSteps()});
                qsizetype counted = k;
                for (; k < quietEnd; ++k) {
                    if (!firstTest.mayMatch(run.records[k]))
                        continue;
                    const WordView word = run.view(k);
                    if (word.size() >= LongWordBytes)
                        break; // tested on its own below, where the pump weighs it
                    if (matcher.matches(word)) {
                        countQuietly(k + 1 - counted);
                        counted = k + 1;
                        keep(word);
                    }
                }
                countQuietly(k - counted);
                i += k - quietStart;
                progress.step(1, total);
                if (firstTest.mayMatch(run.records[k])) {
                    const WordView word = run.view(k);
                    pump.weighItem(word.size());
                    if (matcher.matches(word))
                        keep(word);
                }
                pump.processPendingEvents();
                examined.set(examined.value() + 1);
            }
        }
    }
    if (f.ending)
        return;
    button_.complete(QStringLiteral("Поиск завершён. Найдено слов:  ") + QString::number(f.FoundCount));
}

#include "word_search.h"

#include "count_label.h"
#include "event_pump.h"
#include "frm_main.h"
#include "module1.h"
#include "progress_protocol.h"
#include "push_button/xp_button.h"
#include "shadow_label/xp_shadow.h"
#include "word_list_box.h"
#include "word_matcher.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>

namespace {

OperationTable searchTable(FrmMain& form)
{
    OperationTable table;
    table.button = form.command1;
    table.idleCaption = QStringLiteral("Начать поиск");
    table.disabledWhileRunning = {form.f1, form.command2, form.bsave, form.c1, form.t1};
    table.enabledAfterwards = {form.command2, form.bsave, form.f1, form.t1, form.c1};
    table.cancelQuestion = QStringLiteral("Сохранить найденные слова в списке?");
    table.cancelButtons = Dialogs::Buttons::YesNoCancel;
    table.clearedOnNo = form.r;
    table.completionTitle = QStringLiteral("Завершено");
    return table;
}

void inputError(const QString& text)
{
    Dialogs::current().message(text, QStringLiteral("Ошибка"), Dialogs::Icon::Error, Dialogs::Buttons::Ok);
}

} // namespace

WordSearch::WordSearch(FrmMain& form)
    : form_(form), button_(searchTable(form), form.progress(), form.CancelFlag)
{
}

void WordSearch::click()
{
    if (!inputsReady())
        return;
    if (button_.isIdle())
        run();
    else
        button_.askToCancel();
}

bool WordSearch::inputsReady()
{
    if (form_.t1->text().isEmpty()) {
        inputError(QStringLiteral("Введите буквы для поиска"));
        return false;
    }
    if (form_.l->item(0).isEmpty()) {
        inputError(QStringLiteral("Откройте словарь для поиска"));
        return false;
    }
    return true;
}

void WordSearch::run()
{
    FrmMain& f = form_;
    button_.begin();
    QString letters = f.t1->text();
    letters.remove(QLatin1Char(' '));
    f.t1->setText(letters);
    f.l2->setCaption(QStringLiteral("0"));
    f.FoundCount = 0;
    f.LetterCount = 0;
    f.MatchedCount = 0;
    f.r->clear();
    f.progress().start(f.WordCount, QStringLiteral("Поиск слов. Завершено "), true);
    f.LetterCount = letters.size();

    WordMatcher matcher(letters, f.o1->isChecked() ? WordMatcher::Mode::Exact : WordMatcher::Mode::Compose);
    EventPump& pump = EventPump::current();
    const qint64 total = f.WordCount;
    const WordArray& words = Module1::DictionaryWords;
    ProgressProtocol& progress = f.progress();
    {
        CountLabel examined(*f.l2, pump);
        const WordMatcher::FirstTest firstTest = matcher.firstTest();
        qint64 i = 1;
        while (i <= total) {
            // A run of words whose per-word data lies side by side, read through local
            // pointers (nothing can import while a search runs, so the store stays put).
            const quint32* length = words.lengths(i);
            const quint64* signature = words.signatures(i);
            const quint32* const runEnd = length + std::min<qint64>(total + 1 - i, WordArray::runLength(i));
            for (; length != runEnd; ++length, ++signature, ++i) {
                if (f.shouldStop())
                    return; // the cancel handler has restored the window
                progress.step(1, total);
                // Length and signature turn almost every word away before its text is read.
                if (firstTest.mayMatch(*length, *signature) && matcher.matches(words.view(i))) {
                    const QStringView word = words.view(i);
                    f.r->appendRow();
                    ++f.FoundCount;
                    Module1::GrowFoundWords(f.FoundCount - 1);
                    Module1::FoundWords.set(f.FoundCount - 1, word);
                }
                f.MatchedCount = 0;
                pump.processPendingEvents();
                examined.set(examined.value() + 1);
            }
        }
    }
    if (f.isEnding())
        return;
    button_.complete(QStringLiteral("Поиск завершён. Найдено слов:  ") + QString::number(f.FoundCount));
}

#include "operation_button.h"

#include "progress_protocol.h"
#include "push_button/xp_button.h"
#include "widgets/word_list_box.h"

#include <QScopeGuard>

#include <new>

namespace {
const QString RunningCaption = QStringLiteral("Отмена");
const QString CancelTitle = QStringLiteral("Операция прервана пользователем");
} // namespace

OperationButton::OperationButton(OperationTable table, const OperationContext& context)
    : table_(std::move(table)), progress_(context.progress), cancelFlag_(context.CancelFlag), ending_(context.ending)
{
}

const OperationButton* OperationButton::running_ = nullptr;

void OperationButton::click(const std::function<void()>& run, const std::function<void()>& outOfMemory)
{
    // While a loop is on the stack, a click is its cancel question or nothing.
    const bool cancels = running_ == this && !isIdle();
    if (running_ && !cancels)
        return;
    if (table_.checksOnEveryClick && !table_.checksOnEveryClick())
        return;
    if (cancels)
        return askToCancel();
    running_ = this;
    reuse_.emplace();
    const auto done = qScopeGuard([this] {
        running_ = nullptr;
        reuse_.reset();
    });
    try {
        run();
    } catch (const std::bad_alloc&) {
        if (!ending_)
            outOfMemory();
    }
}

bool OperationButton::isIdle() const { return table_.button->Caption() == table_.idleCaption; }

void OperationButton::begin()
{
    table_.button->setCaption(RunningCaption);
    cancelFlag_ = false;
    for (QWidget* control : table_.disabledWhileRunning)
        control->setEnabled(false);
}

void OperationButton::askToCancel()
{
    const Dialogs::Answer answer = Dialogs::current().message(table_.cancelQuestion, CancelTitle,
                                                              Dialogs::Icon::Question, table_.cancelButtons);
    const bool threeWay = table_.cancelButtons == Dialogs::Buttons::YesNoCancel;
    if (answer == Dialogs::Answer::Cancel || (!threeWay && answer == Dialogs::Answer::No))
        return;
    if (answer == Dialogs::Answer::No && table_.clearedOnNo)
        table_.clearedOnNo->clear();
    cancelFlag_ = true;
    restore(true);
}

void OperationButton::complete(const QString& message)
{
    progress_.finish();
    reuse_.reset();
    Dialogs::current().message(message, table_.completionTitle, Dialogs::Icon::Information, Dialogs::Buttons::Ok);
    restore(false);
}

void OperationButton::fail(const QString& message)
{
    // The window is idle again before the box shows, so the box never stands over a bar
    // or a button that still says the operation runs. A confirmed cancel may have restored
    // it already.
    if (!isIdle())
        restore(true);
    reuse_.reset();
    Dialogs::current().message(message, QStringLiteral("Ошибка"), Dialogs::Icon::Error, Dialogs::Buttons::Ok);
}

void OperationButton::restore(bool cancelled)
{
    for (QWidget* control : table_.enabledAfterwards)
        control->setEnabled(true);
    if (cancelled) {
        for (QWidget* control : table_.alsoEnabledOnCancel)
            control->setEnabled(true);
    }
    table_.button->setCaption(table_.idleCaption);
    progress_.reset();
}

#pragma once

#include "operation_context.h"
#include "services/dialogs.h"
#include "words/block_allocator.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class ProgressProtocol;
class WordListBox;
class XPButton;

// One operation's column of the window's per-operation table.
struct OperationTable {
    XPButton* button = nullptr;
    QString idleCaption;
    QList<QWidget*> disabledWhileRunning;
    QList<QWidget*> enabledAfterwards;   // at the end or on a confirmed cancel
    QList<QWidget*> alsoEnabledOnCancel; // only on a confirmed cancel
    QString cancelQuestion;
    Dialogs::Buttons cancelButtons = Dialogs::Buttons::YesNoCancel;
    WordListBox* clearedOnNo = nullptr; // the list emptied when the question is answered No
    QString completionTitle;
    std::function<bool()> checksOnEveryClick; // false: the click was refused (with its box)
};

// The button state machine shared by the three operations. The button is idle while its
// caption is the idle caption and running while it reads "Отмена"; the same button
// starts the operation and, clicked again while it runs, asks whether to cancel.
// One operation runs at a time: until its loop has returned, a click on any operation's
// button is the running one's cancel question or nothing, also once a confirmed cancel
// has made the buttons idle again (the click may come in the same batch of events).
class OperationButton {
public:
    OperationButton(OperationTable table, const OperationContext& context);

    bool isIdle() const;
    // A click: idle, `run` starts the operation; running, the cancel question. An allocation
    // that fails inside `run` ends the operation through `outOfMemory`, which restores the
    // window and tells the user, unless the program is ending meanwhile.
    void click(const std::function<void()>& run, const std::function<void()>& outOfMemory);
    // CancelFlag := false, caption "Отмена", the row's controls disabled.
    void begin();
    // The cancel question; on a confirmed cancel CancelFlag := true and the controls return to idle.
    void askToCancel();
    // The loop ran out: bar full, completion message, controls back to idle.
    void complete(const QString& message);
    // The operation failed: the controls back to idle as after a cancel (unless they are),
    // then its error message.
    void fail(const QString& message);

private:
    void restore(bool cancelled);

    static const OperationButton* running_; // whose click handler is on the stack

    OperationTable table_;
    ProgressProtocol& progress_;
    bool& cancelFlag_;
    const bool& ending_;
    // From the start to the final box: the store reuses the blocks it hands back.
    std::optional<BlockAllocator::Reuse> reuse_;
};

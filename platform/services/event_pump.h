#pragma once

#include <QtGlobal>

#include <algorithm>
#include <functional>
#include <vector>

// The one "process pending events" call of the long operations. Called once per item;
// the implementation decides how often Qt's event loop really runs.
class EventPump {
public:
    virtual ~EventPump() = default;
    // Inline: between two looks at the clock a call is one decrement, no call at all.
    void processPendingEvents()
    {
        if (--countdown_ > 0)
            return;
        countdown_ = 1; // unless the pump asks for more, the next call comes back here
        checkPendingEvents();
    }
    // For a loop that can skip ahead over items that leave nothing to show: how many of the
    // calls from now on only count down, and counting some of them down at once.
    int quietCalls() const { return countdown_ - 1; }
    void skipQuietCalls(int calls) { countdown_ -= calls; }
    // For an item that handles many bytes: it counts as a call for every kilobyte of them,
    // so that a run of small items that turns into large ones reaches the next look soon.
    void weighItem(qsizetype bytes) { skipQuietCalls(int(std::min<qsizetype>(bytes / 1024, quietCalls()))); }

    // For a stretch inside one item that may take long: keeps painting and timers going,
    // but holds the user's input back until the next processPendingEvents(), so nothing
    // the user does runs in the middle of an item.
    virtual void processPendingEventsExceptInput() {}
    // True during such a delivery. What a control raises for input it already took in
    // (a key release it waited on) waits too, so it reaches the program only where input does.
    static bool holdingInput();

    // While it lives, runs its action right before each real delivery of events: a loop
    // brings what it shows lazily up to date, so whatever runs during the delivery sees
    // it. Any number may be alive at once; they run in the order they were made.
    class BeforeDelivery {
    public:
        BeforeDelivery(EventPump& pump, std::function<void()> action);
        ~BeforeDelivery();
        BeforeDelivery(const BeforeDelivery&) = delete;
        BeforeDelivery& operator=(const BeforeDelivery&) = delete;

    private:
        friend class EventPump;
        EventPump& pump_;
        std::function<void()> action_;
    };

    static EventPump& current();
    static void install(EventPump* pump);

protected:
    // Runs when the countdown reaches zero; may deliver events, and sets how many calls
    // pass before it runs again.
    virtual void checkPendingEvents() = 0;
    void setCountdown(int calls) { countdown_ = calls; }

    void prepareDelivery()
    {
        for (const BeforeDelivery* hook : beforeDelivery_)
            hook->action_();
    }

    // Marks the delivery it spans as one that holds input back.
    class InputHold {
    public:
        InputHold();
        ~InputHold();
        InputHold(const InputHold&) = delete;
        InputHold& operator=(const InputHold&) = delete;
    };

private:
    int countdown_ = 1;
    std::vector<const BeforeDelivery*> beforeDelivery_;
};

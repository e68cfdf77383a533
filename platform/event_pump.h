#pragma once

#include <functional>

// The one "process pending events" call of the long operations. Called once per item;
// the implementation decides how often Qt's event loop really runs.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processPendingEvents() = 0;
    // For a stretch inside one item that may take long: keeps painting and timers going,
    // but holds the user's input back until the next processPendingEvents(), so nothing
    // the user does runs in the middle of an item.
    virtual void processPendingEventsExceptInput() {}

    // Runs right before each real delivery of events while it is set: a loop brings
    // what it shows lazily up to date, so whatever runs during the delivery sees it.
    void setBeforeDelivery(std::function<void()> hook) { beforeDelivery_ = std::move(hook); }

    static EventPump& current();
    static void install(EventPump* pump);

protected:
    void prepareDelivery()
    {
        if (beforeDelivery_)
            beforeDelivery_();
    }

private:
    std::function<void()> beforeDelivery_;
};

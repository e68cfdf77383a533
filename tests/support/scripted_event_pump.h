#pragma once

#include "services/event_pump.h"

#include <functional>
#include <map>

// A pump for tests: delivers on every call (one per item of a loop), or on every
// `stride`th, counts the deliveries and runs the action scripted for one, as if the user
// acted while that item's events were delivered.
class ScriptedEventPump : public EventPump {
public:
    void checkPendingEvents() override
    {
        ++passes_;
        prepareDelivery();
        if (auto it = actions_.find(passes_); it != actions_.end()) {
            const std::function<void()> action = it->second;
            actions_.erase(it);
            action();
        }
        if (everyPass)
            everyPass();
        setCountdown(stride);
    }

    // Inside an item nothing of the script runs: the user's input waits for the item's end.
    void processPendingEventsExceptInput() override
    {
        ++withinItem_;
        prepareDelivery();
    }
    int withinItemCalls() const { return withinItem_; }

    // Runs `action` during the pass'th call (1-based).
    void at(int pass, std::function<void()> action) { actions_[pass] = std::move(action); }
    int passes() const { return passes_; }
    void reset()
    {
        passes_ = 0;
        withinItem_ = 0;
        actions_.clear();
        everyPass = nullptr;
        stride = 1;
        setCountdown(1);
    }

    std::function<void()> everyPass;
    int stride = 1;

private:
    int passes_ = 0;
    int withinItem_ = 0;
    std::map<int, std::function<void()>> actions_;
};

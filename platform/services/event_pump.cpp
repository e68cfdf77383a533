#include "event_pump.h"

#include <QtGlobal>

#include <algorithm>

namespace {
EventPump* installed = nullptr;
int inputHolds = 0;
} // namespace

EventPump& EventPump::current()
{
    Q_ASSERT_X(installed, "EventPump::current", "no event pump installed");
    return *installed;
}

void EventPump::install(EventPump* pump) { installed = pump; }

EventPump::BeforeDelivery::BeforeDelivery(EventPump& pump, std::function<void()> action)
    : pump_(pump), action_(std::move(action))
{
    pump_.beforeDelivery_.push_back(this);
}

EventPump::BeforeDelivery::~BeforeDelivery()
{
    auto& hooks = pump_.beforeDelivery_;
    hooks.erase(std::remove(hooks.begin(), hooks.end(), this), hooks.end());
}

bool EventPump::holdingInput() { return inputHolds > 0; }

EventPump::InputHold::InputHold() { ++inputHolds; }

EventPump::InputHold::~InputHold() { --inputHolds; }

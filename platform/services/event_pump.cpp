#include "event_pump.h"

#include <QtGlobal>

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

bool EventPump::holdingInput() { return inputHolds > 0; }

EventPump::InputHold::InputHold() { ++inputHolds; }

EventPump::InputHold::~InputHold() { --inputHolds; }

#include "event_pump.h"

#include <QtGlobal>

namespace {
EventPump* installed = nullptr;
}

EventPump& EventPump::current()
{
    Q_ASSERT_X(installed, "EventPump::current", "no event pump installed");
    return *installed;
}

void EventPump::install(EventPump* pump) { installed = pump; }

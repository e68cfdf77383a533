#pragma once

// The one "process pending events" call of the long operations. Called once per item;
// the implementation decides how often Qt's event loop really runs.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processPendingEvents() = 0;

    static EventPump& current();
    static void install(EventPump* pump);
};

#pragma once

#include "event_pump.h"

#include <QElapsedTimer>

#include <functional>

// Runs Qt's event loop once every few milliseconds of work, so input is answered
// within a frame. Between deliveries a call costs a counter decrement: the clock is
// read only every `stride_` calls, and the stride adapts so that happens about
// every 1/8 of the interval however long an item takes.
class QtEventPump : public EventPump {
public:
    explicit QtEventPump(int intervalMs = 8);

    void processPendingEvents() override;

    // Called around each real delivery (the benchmark measures the gaps with it).
    std::function<void()> beforeDelivery;

private:
    void deliver();

    QElapsedTimer clock_;
    qint64 intervalNs_;
    qint64 lastCheckNs_ = 0;
    qint64 lastDeliveryNs_ = 0;
    int stride_ = 1;
    int countdown_ = 1;
};

#pragma once

#include "event_pump.h"

#include <QElapsedTimer>

// Runs Qt's event loop once every few milliseconds of work, so input is answered
// within a frame. Between deliveries a call costs a counter decrement: the clock is
// read only every `stride_` calls, and the stride adapts so that happens about
// every 1/8 of the interval however long an item takes.
class QtEventPump : public EventPump {
public:
    explicit QtEventPump(int intervalMs = 8);

    void processPendingEventsExceptInput() override;

    // How well input was answered since the last reset: the longest stretch without a
    // delivery of events, and the longest delivery itself. Deliveries that held input
    // back count as deliveries; the longest wait of input is kept apart.
    struct Statistics {
        int deliveries = 0;
        qint64 longestGapNs = 0;
        qint64 longestDeliveryNs = 0;
        int deliveriesExceptInput = 0;
        qint64 longestInputGapNs = 0;
    };
    const Statistics& statistics() const { return statistics_; }
    void resetStatistics();

protected:
    void checkPendingEvents() override;

private:
    void deliver(bool withInput);

    // Bounds the calls between two clock reads, so a run of fast items that turns slow
    // overshoots the interval by little; an item that handles many bytes counts as
    // several calls (weighItem).
    static constexpr int MaxStride = 4096;

    QElapsedTimer clock_;
    qint64 intervalNs_;
    qint64 lastCheckNs_ = 0;
    qint64 lastDeliveryNs_ = 0;
    qint64 lastInputDeliveryNs_ = 0;
    int stride_ = 1;
    Statistics statistics_;
};

#pragma once

#include "services/event_pump.h"

#include <QtGlobal>

class XPShadow;

// A count that a long loop shows in a label. Writing decimal text into the label for
// every item would cost more than the item itself, so the count is kept as a number
// and written out before each delivery of events and when the loop ends: the label
// reads right whenever anything can look at it.
class CountLabel {
public:
    CountLabel(XPShadow& label, EventPump& pump);
    ~CountLabel();
    CountLabel(const CountLabel&) = delete;
    CountLabel& operator=(const CountLabel&) = delete;

    // The label's count as it stands, read as a number.
    qint64 value() const { return value_; }
    void set(qint64 count) { value_ = count; }
    // Writes the count into the label if it changed.
    void show();

private:
    XPShadow& label_;
    qint64 value_;
    qint64 shown_;
    EventPump::BeforeDelivery showBeforeDelivery_;
};

#include "qt_event_pump.h"

#include <QCoreApplication>

#include <algorithm>

#include <algorithm>

QtEventPump::QtEventPump(int intervalMs) : intervalNs_(qint64(intervalMs) * 1000000)
{
    clock_.start();
}

void QtEventPump::processPendingEvents()
{
    if (--countdown_ > 0)
        return;
    const qint64 now = clock_.nsecsElapsed();
    const qint64 sinceCheck = now - lastCheckNs_;
    lastCheckNs_ = now;
    // Aim at a clock read every interval/8: lengthen the stride while checks come
    // too often, shorten it at once when items turn slow.
    const qint64 target = intervalNs_ / 8;
    if (sinceCheck < target / 2)
        stride_ = std::min(stride_ * 2, MaxStride);
    else if (sinceCheck > target * 2)
        stride_ = std::max(1, int(stride_ * target / sinceCheck));
    countdown_ = stride_;
    if (now - lastDeliveryNs_ >= intervalNs_)
        deliver();
}

void QtEventPump::deliver()
{
    const qint64 start = clock_.nsecsElapsed();
    statistics_.longestGapNs = std::max(statistics_.longestGapNs, start - lastDeliveryNs_);
    prepareDelivery();
    QCoreApplication::processEvents();
    lastDeliveryNs_ = clock_.nsecsElapsed();
    lastCheckNs_ = lastDeliveryNs_;
    ++statistics_.deliveries;
    statistics_.longestDeliveryNs = std::max(statistics_.longestDeliveryNs, lastDeliveryNs_ - start);
}

void QtEventPump::resetStatistics()
{
    statistics_ = {};
    lastDeliveryNs_ = lastCheckNs_ = clock_.nsecsElapsed();
}

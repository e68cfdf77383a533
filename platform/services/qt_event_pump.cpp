#include "qt_event_pump.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

// Code run during a delivery (Qt's painting, for one) can leave the upper halves of the
// vector registers dirty; until they are cleared, the SSE code of the loops that follow
// (Qt's string searches, the C library's copies) runs several times slower.
void clearUpperVectorHalves()
{
#if defined(__x86_64__) || defined(__i386__)
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx)
        asm volatile("vzeroupper");
#endif
}

} // namespace

QtEventPump::QtEventPump(int intervalMs) : intervalNs_(qint64(intervalMs) * 1000000) { clock_.start(); }

void QtEventPump::checkPendingEvents()
{
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
    setCountdown(stride_);
    // Input held back by deliveries inside an item is not kept waiting another interval.
    if (now - lastDeliveryNs_ >= intervalNs_ || lastInputDeliveryNs_ < lastDeliveryNs_)
        deliver(true);
}

void QtEventPump::processPendingEventsExceptInput()
{
    setCountdown(1); // the item's end looks at the clock at once
    if (clock_.nsecsElapsed() - lastDeliveryNs_ >= intervalNs_)
        deliver(false);
}

void QtEventPump::deliver(bool withInput)
{
    const qint64 start = clock_.nsecsElapsed();
    statistics_.longestGapNs = std::max(statistics_.longestGapNs, start - lastDeliveryNs_);
    prepareDelivery();
    if (withInput) {
        statistics_.longestInputGapNs = std::max(statistics_.longestInputGapNs, start - lastInputDeliveryNs_);
        QCoreApplication::processEvents();
    } else {
        const InputHold hold;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        ++statistics_.deliveriesExceptInput;
    }
    clearUpperVectorHalves();
    lastDeliveryNs_ = clock_.nsecsElapsed();
    if (withInput)
        lastInputDeliveryNs_ = lastDeliveryNs_;
    lastCheckNs_ = lastDeliveryNs_;
    ++statistics_.deliveries;
    statistics_.longestDeliveryNs = std::max(statistics_.longestDeliveryNs, lastDeliveryNs_ - start);
}

void QtEventPump::resetStatistics()
{
    statistics_ = {};
    lastDeliveryNs_ = lastCheckNs_ = lastInputDeliveryNs_ = clock_.nsecsElapsed();
}

#include "announcement_log.h"

#include "accessibility/accessible_announcer.h"

namespace {

QList<AnnouncementLog::Entry> heard;

void record(QAccessibleEvent* event)
{
    QVariant value;
    if (event->type() == QAccessible::ValueChanged)
        value = static_cast<QAccessibleValueChangeEvent*>(event)->value();
    heard.append({event->type(), event->object(), event->child(), value});
}

} // namespace

void AnnouncementLog::start()
{
    heard.clear();
    AccessibleAnnouncer::setSink(record);
}

void AnnouncementLog::stop() { AccessibleAnnouncer::setSink(nullptr); }

void AnnouncementLog::clear() { heard.clear(); }

const QList<AnnouncementLog::Entry>& AnnouncementLog::entries() { return heard; }

qsizetype AnnouncementLog::count(QObject* object, QAccessible::Event type)
{
    return std::count_if(heard.cbegin(), heard.cend(),
                         [&](const Entry& e) { return e.object == object && e.type == type; });
}

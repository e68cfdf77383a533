#include "accessible_announcer.h"

#include "skin/skinned_control.h"

#include <QAccessible>
#include <QWidget>

#include <vector>

namespace {

AccessibleAnnouncer::Sink sink = nullptr;

} // namespace

bool AccessibleAnnouncer::listening() { return sink || QAccessible::isActive(); }

void AccessibleAnnouncer::send(QAccessibleEvent* event)
{
    if (sink)
        sink(event);
    else
        QAccessible::updateAccessibility(event);
}

void AccessibleAnnouncer::setSink(Sink newSink) { sink = newSink; }

AccessibleAnnouncer::AccessibleAnnouncer(QWidget* widget) : QObject(widget), widget_(widget)
{
    setObjectName(QStringLiteral("AccessibleAnnouncer"));
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &AccessibleAnnouncer::flush);
}

AccessibleAnnouncer* AccessibleAnnouncer::of(QWidget* widget)
{
    if (auto* existing = widget->findChild<AccessibleAnnouncer*>(QStringLiteral("AccessibleAnnouncer"),
                                                                 Qt::FindDirectChildrenOnly))
        return existing;
    return new AccessibleAnnouncer(widget);
}

void AccessibleAnnouncer::watch(SkinnedControl* control,
                                std::initializer_list<std::pair<const char*, Change>> properties)
{
    AccessibleAnnouncer* announcer = of(control);
    if (announcer->property("watching").toBool())
        return;
    announcer->setProperty("watching", true);
    std::vector<std::pair<QString, Change>> table;
    for (const auto& [name, change] : properties)
        table.emplace_back(QString::fromLatin1(name), change);
    connect(control, &SkinnedControl::PropertyChanged, announcer, [announcer, table](const QString& name) {
        for (const auto& [property, change] : table) {
            if (property.compare(name, Qt::CaseInsensitive) == 0)
                announcer->changed(change);
        }
    });
}

void AccessibleAnnouncer::changed(Change change)
{
    if (!listening())
        return;
    pending_ |= change;
    if (timer_.isActive())
        return;
    const qint64 elapsed = sinceLast_.isValid() ? sinceLast_.elapsed() : IntervalMs;
    if (elapsed >= IntervalMs)
        flush();
    else
        timer_.start(int(IntervalMs - elapsed));
}

void AccessibleAnnouncer::flush()
{
    const int pending = std::exchange(pending_, 0);
    sinceLast_.start();
    if (!pending || !listening())
        return;
    if (pending & Name) {
        QAccessibleEvent event(widget_, QAccessible::NameChanged);
        send(&event);
    }
    if (pending & Description) {
        QAccessibleEvent event(widget_, QAccessible::DescriptionChanged);
        send(&event);
    }
    if (pending & Value) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget_);
        if (QAccessibleValueInterface* value = iface ? iface->valueInterface() : nullptr) {
            QAccessibleValueChangeEvent event(widget_, value->currentValue());
            send(&event);
        }
    }
    if (pending & Enabled) {
        QAccessible::State changed;
        changed.disabled = true;
        QAccessibleStateChangeEvent event(widget_, changed);
        send(&event);
    }
    if (pending & ChildrenAdded) {
        // Qt's AT-SPI bridge sends a reorder as one signal per child, malformed at that:
        // ruinous for a list of a million rows. One added child, the newest, tells a reader
        // that the children grew and where they end.
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget_);
        if (const int children = iface ? iface->childCount() : 0) {
            QAccessibleEvent event(widget_, QAccessible::ObjectCreated);
            event.setChild(children - 1);
            send(&event);
        }
    }
}

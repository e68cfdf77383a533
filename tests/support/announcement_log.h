#pragma once

#include <QAccessible>
#include <QList>
#include <QVariant>

// What the announcer tells assistive technology while a test listens in its place.
namespace AnnouncementLog {

struct Entry {
    QAccessible::Event type;
    QObject* object;
    int child;
    QVariant value;
};

// Starts listening (and forgets what was heard); stop() lets the announcer go silent again.
void start();
void stop();
void clear();
const QList<Entry>& entries();
qsizetype count(QObject* object, QAccessible::Event type);

} // namespace AnnouncementLog

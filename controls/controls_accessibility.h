#pragma once

#include <QAccessible>

// The accessible interfaces of the skinned controls, for QAccessible::installFactory.
QAccessibleInterface* controlsAccessibleFactory(const QString& className, QObject* object);

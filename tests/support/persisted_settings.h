#pragma once

#include "settings/property_bag.h"
#include "settings/settings_schema.h"

#include <QTest>

// Settings as a host stores them: keys and values, in order.
using StoredSettings = QList<QPair<QString, QVariant>>;

inline PropertyBag toBag(const StoredSettings& settings)
{
    PropertyBag bag;
    for (const auto& [key, value] : settings)
        bag.set(key, value);
    return bag;
}

inline StoredSettings entries(const PropertyBag& bag)
{
    StoredSettings result;
    for (const QString& key : bag.keys())
        result.append({key, bag.read(key, {})});
    return result;
}

// A control's persisted settings as its host would store them.
template <class Control>
PropertyBag writtenSettings(const Control& control, const AmbientProperties& ambient = {})
{
    PropertyBag bag;
    control.writeProperties(bag, ambient);
    return bag;
}

// What a new control stores again after reading `stored`.
template <class Control>
PropertyBag rewrittenSettings(const PropertyBag& stored, const AmbientProperties& ambient = {})
{
    Control control;
    control.readProperties(stored, ambient);
    return writtenSettings(control, ambient);
}

// The persisted-settings table each control's test fills with its own rows: a control
// that read `before` and then `stored` (keys in any case, values in any stored form; a
// missing key means its default) writes exactly `written`, in its key order and without
// the values equal to their defaults, and a new control reads that back unchanged.
inline void addPersistedSettingsColumns()
{
    QTest::addColumn<StoredSettings>("before");
    QTest::addColumn<StoredSettings>("stored");
    QTest::addColumn<StoredSettings>("written");
}

template <class Control>
void checkPersistedSettings(const AmbientProperties& ambient = {})
{
    QFETCH(StoredSettings, before);
    QFETCH(StoredSettings, stored);
    QFETCH(StoredSettings, written);

    Control control;
    if (!before.isEmpty())
        control.readProperties(toBag(before), ambient);
    control.readProperties(toBag(stored), ambient);
    const PropertyBag out = writtenSettings(control, ambient);
    QCOMPARE(entries(out), written);
    QCOMPARE(entries(rewrittenSettings<Control>(out, ambient)), written);
}

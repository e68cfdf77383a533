#pragma once

#include "settings/property_bag.h"
#include "settings/settings_schema.h"

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

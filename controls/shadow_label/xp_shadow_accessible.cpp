#include "xp_shadow_accessible.h"

#include "accessibility/accessible_announcer.h"
#include "xp_shadow.h"

XPShadowAccessible::XPShadowAccessible(XPShadow* label) : ControlAccessible(label, QAccessible::StaticText)
{
    AccessibleAnnouncer::watch(label,
                               {{"Caption", AccessibleAnnouncer::Name}, {"Enabled", AccessibleAnnouncer::Enabled}});
}

XPShadow* XPShadowAccessible::label() const { return static_cast<XPShadow*>(widget()); }

QString XPShadowAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && label()->accessibleName().isEmpty())
        return label()->Caption();
    return ControlAccessible::text(t);
}

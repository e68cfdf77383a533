#include "xp_canvas2_accessible.h"

#include "accessibility/accessible_announcer.h"
#include "xp_canvas2.h"

XPCanvas2Accessible::XPCanvas2Accessible(XPCanvas2* canvas) : ControlAccessible(canvas, QAccessible::Pane)
{
    AccessibleAnnouncer::watch(canvas, {{"Caption", AccessibleAnnouncer::Name}});
}

XPCanvas2* XPCanvas2Accessible::canvas() const { return static_cast<XPCanvas2*>(widget()); }

QString XPCanvas2Accessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && canvas()->accessibleName().isEmpty())
        return canvas()->Caption().isEmpty() ? canvas()->window()->windowTitle() : canvas()->Caption();
    return ControlAccessible::text(t);
}

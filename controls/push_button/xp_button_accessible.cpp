#include "xp_button_accessible.h"

#include "accessibility/accessible_announcer.h"
#include "xp_button.h"

#include <QCoreApplication>
#include <QKeyEvent>

XPButtonAccessible::XPButtonAccessible(XPButton* button) : ControlAccessible(button, QAccessible::Button)
{
    AccessibleAnnouncer::watch(button,
                               {{"Caption", AccessibleAnnouncer::Name}, {"Enabled", AccessibleAnnouncer::Enabled}});
}

XPButton* XPButtonAccessible::button() const { return static_cast<XPButton*>(widget()); }

QString XPButtonAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && button()->accessibleName().isEmpty())
        return button()->Caption();
    return ControlAccessible::text(t);
}

QAccessible::State XPButtonAccessible::state() const
{
    QAccessible::State state = ControlAccessible::state();
    state.pressed = button()->dow.isVisible();
    return state;
}

void XPButtonAccessible::press()
{
    // Through the key handlers, so the host's KeyDown and KeyUp see it as they see Space.
    // Called only while the button is enabled: a disabled one would pass the keys on to its parents.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(button(), &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(button(), &release);
}

#include "xp_top_buttons_accessible.h"

#include "accessibility/accessible_announcer.h"
#include "xp_top_buttons.h"

XPTopButtonsAccessible::XPTopButtonsAccessible(XPTopButtons* button) : ControlAccessible(button, QAccessible::Button)
{
    AccessibleAnnouncer::watch(button,
                               {{"Value", AccessibleAnnouncer::Name}, {"Enabled", AccessibleAnnouncer::Enabled}});
}

XPTopButtons* XPTopButtonsAccessible::button() const { return static_cast<XPTopButtons*>(widget()); }

QString XPTopButtonsAccessible::nameForValue(const QString& value)
{
    if (value == QLatin1String("1"))
        return QStringLiteral("Закрыть");
    if (value == QLatin1String("2"))
        return QStringLiteral("Восстановить");
    if (value == QLatin1String("3"))
        return QStringLiteral("Развернуть");
    if (value == QLatin1String("4"))
        return QStringLiteral("Свернуть");
    return QString();
}

QString XPTopButtonsAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && button()->accessibleName().isEmpty())
        return nameForValue(button()->Value());
    return ControlAccessible::text(t);
}

void XPTopButtonsAccessible::press() { emit button()->Click(); }

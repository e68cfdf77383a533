#include "xp_progress_bar_accessible.h"

#include "accessibility/accessible_announcer.h"
#include "xp_progress_bar.h"

#include <cmath>

namespace {

// Value and Max are texts; what is no finite number reads as 0.
double number(const QString& text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

} // namespace

XPProgressBarAccessible::XPProgressBarAccessible(XPProgressBar* bar)
    : ControlAccessible(bar, QAccessible::ProgressBar)
{
    AccessibleAnnouncer::watch(bar, {{"Value", AccessibleAnnouncer::Value},
                                     {"Max", AccessibleAnnouncer::Value},
                                     {"Caption", AccessibleAnnouncer::Description},
                                     {"CaptionShow", AccessibleAnnouncer::Description}});
}

XPProgressBar* XPProgressBarAccessible::bar() const { return static_cast<XPProgressBar*>(widget()); }

void* XPProgressBarAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return ControlAccessible::interface_cast(t);
}

QString XPProgressBarAccessible::text(QAccessible::Text t) const
{
    // The bar has no label of its own on screen; readers still need something to call it.
    if (t == QAccessible::Name && bar()->accessibleName().isEmpty())
        return QStringLiteral("Ход выполнения");
    // A hidden caption still holds the last operation's text: it is not on screen.
    if (t == QAccessible::Description && bar()->accessibleDescription().isEmpty())
        return bar()->CaptionShow() ? bar()->Caption() : QString();
    return ControlAccessible::text(t);
}

QVariant XPProgressBarAccessible::currentValue() const { return number(bar()->Value()); }

void XPProgressBarAccessible::setCurrentValue(const QVariant&)
{
    // The operations drive the bar; the user does not.
}

QVariant XPProgressBarAccessible::maximumValue() const { return number(bar()->Max()); }

QVariant XPProgressBarAccessible::minimumValue() const { return 0.0; }

QVariant XPProgressBarAccessible::minimumStepSize() const { return 0.0; }

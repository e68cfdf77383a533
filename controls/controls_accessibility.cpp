#include "controls_accessibility.h"

#include "accessibility/control_accessible.h"
#include "progress_bar/xp_progress_bar.h"
#include "progress_bar/xp_progress_bar_accessible.h"
#include "push_button/xp_button.h"
#include "push_button/xp_button_accessible.h"
#include "separator_line/xp_line.h"
#include "shadow_label/xp_shadow.h"
#include "shadow_label/xp_shadow_accessible.h"
#include "top_buttons/xp_top_buttons.h"
#include "top_buttons/xp_top_buttons_accessible.h"
#include "window_canvas/xp_canvas2.h"
#include "window_canvas/xp_canvas2_accessible.h"

QAccessibleInterface* controlsAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("XPButton"))
        return new XPButtonAccessible(static_cast<XPButton*>(object));
    if (className == QLatin1String("XPTopButtons"))
        return new XPTopButtonsAccessible(static_cast<XPTopButtons*>(object));
    if (className == QLatin1String("XPProgressBar"))
        return new XPProgressBarAccessible(static_cast<XPProgressBar*>(object));
    if (className == QLatin1String("XPShadow"))
        return new XPShadowAccessible(static_cast<XPShadow*>(object));
    if (className == QLatin1String("XPCanvas2"))
        return new XPCanvas2Accessible(static_cast<XPCanvas2*>(object));
    if (className == QLatin1String("XPLine"))
        return new ControlAccessible(static_cast<XPLine*>(object), QAccessible::Separator);
    return nullptr;
}

#include "accessibility.h"

#include "accessibility/accessible_labels.h"
#include "controls_accessibility.h"
#include "frm_main.h"
#include "frm_main_accessible.h"
#include "shadow_label/xp_shadow.h"
#include "widgets/word_list_box.h"
#include "widgets/word_list_box_accessible.h"

#include <QLineEdit>

namespace {

QAccessibleInterface* appAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("WordListBox"))
        return new WordListBoxAccessible(static_cast<WordListBox*>(object));
    if (className == QLatin1String("FrmMain"))
        return new FrmMainAccessible(static_cast<FrmMain*>(object));
    return nullptr;
}

} // namespace

void Accessibility::install()
{
    QAccessible::installFactory(controlsAccessibleFactory);
    QAccessible::installFactory(appAccessibleFactory);
}

void Accessibility::linkLabels(FrmMain& form)
{
    AccessibleLabels::link(form.XPShadow1, form.t1);
    AccessibleLabels::link(form.XPShadow2, form.l);
    AccessibleLabels::link(form.XPShadow3, form.r);
    AccessibleLabels::link(form.XPShadow4, form.l1);
    AccessibleLabels::link(form.XPShadow5, form.l2);
    // Qt's own line edit looks for its name only in a QLabel buddy.
    form.t1->setAccessibleName(form.XPShadow1->Caption());
}

#include "accessibility.h"

#include "accessibility/accessible_labels.h"
#include "controls_accessibility.h"
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
        return new FrmMainAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

void Accessibility::install()
{
    QAccessible::installFactory(controlsAccessibleFactory);
    QAccessible::installFactory(appAccessibleFactory);
}

void Accessibility::linkLabel(XPShadow* label, QWidget* field)
{
    AccessibleLabels::link(label, field);
    // Qt's own line edit looks for its name only in a QLabel buddy.
    if (qobject_cast<QLineEdit*>(field))
        field->setAccessibleName(label->Caption());
}

#include "frm_main_accessible.h"

#include "frm_main.h"

#include <QLineEdit>

#include <algorithm>

FrmMainAccessible::FrmMainAccessible(FrmMain* form) : QAccessibleWidget(form, QAccessible::Window) {}

QList<QAccessibleInterface*> FrmMainAccessible::shownChildren() const
{
    const auto& scratch = static_cast<FrmMain*>(widget())->tp;
    QList<QAccessibleInterface*> shown;
    for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
        QAccessibleInterface* child = QAccessibleWidget::child(i);
        if (child && std::find(scratch.cbegin(), scratch.cend(), child->object()) == scratch.cend())
            shown.append(child);
    }
    return shown;
}

int FrmMainAccessible::childCount() const { return int(shownChildren().size()); }

QAccessibleInterface* FrmMainAccessible::child(int index) const { return shownChildren().value(index); }

int FrmMainAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    return int(shownChildren().indexOf(const_cast<QAccessibleInterface*>(child)));
}

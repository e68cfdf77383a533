#include "frm_main_accessible.h"

#include <QWidget>

FrmMainAccessible::FrmMainAccessible(QWidget* form) : QAccessibleWidget(form, QAccessible::Window) {}

QList<QAccessibleInterface*> FrmMainAccessible::shownChildren() const
{
    const QRect inside = widget()->rect();
    QList<QAccessibleInterface*> shown;
    for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
        QAccessibleInterface* child = QAccessibleWidget::child(i);
        const auto* childWidget = child ? qobject_cast<const QWidget*>(child->object()) : nullptr;
        if (child && (!childWidget || childWidget->geometry().intersects(inside)))
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

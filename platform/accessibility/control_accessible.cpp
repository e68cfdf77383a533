#include "control_accessible.h"

#include "accessible_labels.h"

#include <QMetaObject>
#include <QWidget>

ControlAccessible::ControlAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
ControlAccessible::relations(QAccessible::Relation match) const
{
    return QAccessibleWidget::relations(match) + AccessibleLabels::relations(object(), match);
}

QString ControlAccessible::labelName() const
{
    QWidget* label = AccessibleLabels::labelOf(object());
    QAccessibleInterface* iface = label ? QAccessible::queryAccessibleInterface(label) : nullptr;
    return iface ? iface->text(QAccessible::Name) : QString();
}

QStringList ControlAccessible::actionNames() const
{
    const QStringList own = QAccessibleWidget::actionNames();
    return pressable() ? QStringList{pressAction()} + own : own;
}

void ControlAccessible::doAction(const QString& actionName)
{
    if (actionName != pressAction() || !pressable()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    // A press may open a modal dialog or run a long operation: the reader gets its answer
    // first, and the press runs from the event loop. The widget owns this interface, so
    // the call is dropped with both.
    QMetaObject::invokeMethod(
        widget(),
        [this] {
            if (widget()->isEnabled())
                press();
        },
        Qt::QueuedConnection);
}

#pragma once

#include <QAccessibleWidget>

// What every accessible control shares: Qt's widget basics plus the label links the
// window sets up.
class ControlAccessible : public QAccessibleWidget {
public:
    ControlAccessible(QWidget* widget, QAccessible::Role role);

    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

protected:
    // A control that can be pressed offers the press action. The press runs soon after
    // the action returns, and only if the control is enabled then.
    virtual bool pressable() const { return false; }
    virtual void press() {}

    // The linked label's own name: a field without one of its own is called by its label.
    QString labelName() const;
};

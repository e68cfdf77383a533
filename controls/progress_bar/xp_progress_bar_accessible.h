#pragma once

#include "accessibility/control_accessible.h"

class XPProgressBar;

// The progress bar: Value out of Max, and the caption while the bar shows it.
class XPProgressBarAccessible : public ControlAccessible, public QAccessibleValueInterface {
public:
    explicit XPProgressBarAccessible(XPProgressBar* bar);

    void* interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    XPProgressBar* bar() const;
};

#pragma once

#include "accessibility/control_accessible.h"

class XPTopButtons;

// A caption-bar button, named after what it does.
class XPTopButtonsAccessible : public ControlAccessible {
public:
    explicit XPTopButtonsAccessible(XPTopButtons* button);

    QString text(QAccessible::Text t) const override;

    // The name for a Value; empty for a text the button does not take.
    static QString nameForValue(const QString& value);

protected:
    bool pressable() const override { return true; }
    void press() override;

private:
    XPTopButtons* button() const;
};

#pragma once

#include "accessibility/control_accessible.h"

class XPButton;

// The push button as assistive technology sees it: its caption as name, the pressed
// face as state, and a press action that goes the way of the Space key.
class XPButtonAccessible : public ControlAccessible {
public:
    explicit XPButtonAccessible(XPButton* button);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

protected:
    bool pressable() const override { return true; }
    void press() override;

private:
    XPButton* button() const;
};

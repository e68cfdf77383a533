#pragma once

#include "accessibility/control_accessible.h"

class XPCanvas2;

// The window's skin, holding every other control: named by the title it draws.
class XPCanvas2Accessible : public ControlAccessible {
public:
    explicit XPCanvas2Accessible(XPCanvas2* canvas);

    QString text(QAccessible::Text t) const override;

private:
    XPCanvas2* canvas() const;
};

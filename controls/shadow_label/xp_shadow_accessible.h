#pragma once

#include "accessibility/control_accessible.h"

class XPShadow;

// The shadow label: static text named by its caption.
class XPShadowAccessible : public ControlAccessible {
public:
    explicit XPShadowAccessible(XPShadow* label);

    QString text(QAccessible::Text t) const override;

private:
    XPShadow* label() const;
};

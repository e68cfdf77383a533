#include "count_label.h"

#include "shadow_label/xp_shadow.h"

CountLabel::CountLabel(XPShadow& label, EventPump& pump)
    : label_(label), value_(label.Caption().toLongLong()), shown_(value_),
      showBeforeDelivery_(pump, [this] { show(); })
{
}

CountLabel::~CountLabel() { show(); }

void CountLabel::show()
{
    if (value_ == shown_)
        return;
    shown_ = value_;
    label_.setCaption(QString::number(value_));
}

#include "count_label.h"

#include "services/event_pump.h"
#include "shadow_label/xp_shadow.h"

CountLabel::CountLabel(XPShadow& label, EventPump& pump)
    : label_(label), pump_(pump), value_(label.Caption().toLongLong()), shown_(value_)
{
    pump_.setBeforeDelivery([this] { show(); });
}

CountLabel::~CountLabel()
{
    pump_.setBeforeDelivery(nullptr);
    show();
}

void CountLabel::show()
{
    if (value_ == shown_)
        return;
    shown_ = value_;
    label_.setCaption(QString::number(value_));
}

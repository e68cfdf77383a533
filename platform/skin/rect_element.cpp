#include "rect_element.h"

#include <QPainter>
#include <QPen>

RectElement::RectElement(ElementHost* host) : Element(host) {}

bool RectElement::setBorderColor(OleColor color)
{
    if (!Ole::isValidColor(color))
        return false;
    borderColor_ = color;
    changed();
    return true;
}

bool RectElement::setFillColor(std::optional<OleColor> color)
{
    if (color && !Ole::isValidColor(*color))
        return false;
    fillColor_ = color;
    changed();
    return true;
}

void RectElement::paint(QPainter& painter) const
{
    const QRect box = pixelRect();
    if (box.isEmpty())
        return;
    if (fillColor_)
        painter.fillRect(box, Ole::toQColor(*fillColor_));
    QPen pen(Ole::toQColor(borderColor_));
    pen.setWidth(0);
    painter.save();
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.restore();
}

#include "rect_element.h"

#include "line_style.h"

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

bool RectElement::setBorderStyle(int code)
{
    if (!LineStyle::isValid(code))
        return false;
    borderStyle_ = code;
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
    if (borderStyle_ == LineStyle::None)
        return;
    QPen pen(Ole::toQColor(borderColor_));
    pen.setStyle(LineStyle::toPenStyle(borderStyle_));
    pen.setWidth(0);
    painter.save();
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.restore();
}

#include "line_element.h"

#include "line_style.h"
#include "twips.h"

#include <QPainter>
#include <QPen>

LineElement::LineElement(ElementHost* host) : Element(host) {}

void LineElement::setEnd(QPointF twips)
{
    end_ = twips;
    const QRectF box = QRectF(QPointF(), end_).normalized();
    // One pixel of room so a horizontal or vertical line still covers its row.
    move(float(box.left()), float(box.top()));
    resize(float(box.width()) + Twips::PerPixel, float(box.height()) + Twips::PerPixel);
    changed();
}

bool LineElement::setColor(OleColor color)
{
    if (!Ole::isValidColor(color))
        return false;
    color_ = color;
    changed();
    return true;
}

bool LineElement::setStyle(int code)
{
    if (!LineStyle::isValid(code))
        return false;
    style_ = code;
    changed();
    return true;
}

void LineElement::paint(QPainter& painter) const
{
    if (style_ == LineStyle::None)
        return;
    const QPoint to(Twips::toPixels(float(end_.x())), Twips::toPixels(float(end_.y())));
    QPen pen(Ole::toQColor(color_));
    pen.setStyle(LineStyle::toPenStyle(style_));
    // One logical pixel wide, so a scaled screen draws the whole row, not a hairline in it.
    pen.setWidth(1);
    pen.setCapStyle(Qt::SquareCap);
    painter.save();
    painter.setPen(pen);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // The last pixel is left out, as a line's end point is. Through pixel centres: the
    // square caps then cover exactly the pixels from the corner to the one before the end.
    const QPoint direction((to.x() > 0) - (to.x() < 0), (to.y() > 0) - (to.y() < 0));
    const QPointF centre(0.5, 0.5);
    painter.drawLine(centre, QPointF(to - direction) + centre);
    painter.restore();
}

#include "picture_element.h"

#include "twips.h"

#include <QPainter>

PictureElement::PictureElement(ElementHost* host) : Element(host) {}

void PictureElement::setPicture(const QPixmap& picture)
{
    picture_ = picture;
    if (!stretch_)
        resize(Twips::fromPixels(picture_.width()), Twips::fromPixels(picture_.height()));
    changed();
}

void PictureElement::setStretch(bool stretch)
{
    stretch_ = stretch;
    changed();
}

void PictureElement::paint(QPainter& painter) const
{
    if (picture_.isNull())
        return;
    const QRect box = pixelRect();
    if (stretch_)
        painter.drawPixmap(box, picture_);
    else
        painter.drawPixmap(box.topLeft(), picture_);
}

#include "element.h"

#include "element_host.h"
#include "twips.h"

Element::Element(ElementHost* host) : host_(host) { host_->addElement(this); }

Element::~Element() { host_->removeElement(this); }

QRect Element::pixelRect() const { return Twips::toPixels(geometry()); }

void Element::setLeft(float left) { setGeometry(left, top_, width_, height_); }
void Element::setTop(float top) { setGeometry(left_, top, width_, height_); }
void Element::setWidth(float width) { setGeometry(left_, top_, width, height_); }
void Element::setHeight(float height) { setGeometry(left_, top_, width_, height); }
void Element::move(float left, float top) { setGeometry(left, top, width_, height_); }
void Element::resize(float width, float height) { setGeometry(left_, top_, width, height); }

void Element::setGeometry(float left, float top, float width, float height)
{
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    changed();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    changed();
}

void Element::setVisible(bool visible)
{
    if (visible_ == visible)
        return;
    visible_ = visible;
    changed();
}

void Element::setEnabled(bool enabled)
{
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    changed();
}

void Element::setPointer(const std::optional<QCursor>& cursor) { pointer_ = cursor; }

void Element::changed() { host_->elementChanged(pixelRect()); }

#include "skinned_control.h"

SkinnedControl::SkinnedControl(QWidget* parent) : ElementHost(parent) {}

void SkinnedControl::setTwipsSize(float width, float height)
{
    resize(Twips::toPixels(width), Twips::toPixels(height));
}

void SkinnedControl::setTwipsGeometry(float left, float top, float width, float height)
{
    setGeometry(Twips::toPixels(QRectF(left, top, width, height)));
}

void SkinnedControl::initNew(const AmbientProperties&) {}

void SkinnedControl::resizeEvent(QResizeEvent*) { layoutElements(); }

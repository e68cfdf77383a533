#include "skinned_control.h"

#include <QCoreApplication>
#include <QResizeEvent>

SkinnedControl::SkinnedControl(QWidget* parent) : ElementHost(parent) {}

void SkinnedControl::setTwipsSize(float width, float height)
{
    resize(Twips::toPixels(width), Twips::toPixels(height));
    layOutPendingResize();
}

void SkinnedControl::setTwipsGeometry(float left, float top, float width, float height)
{
    setGeometry(Twips::toPixels(QRectF(left, top, width, height)));
    layOutPendingResize();
}

void SkinnedControl::layOutPendingResize()
{
    // Qt holds a hidden widget's resize event back until it is shown; the host expects
    // the elements laid out for the size it just set.
    if (!testAttribute(Qt::WA_PendingResizeEvent))
        return;
    setAttribute(Qt::WA_PendingResizeEvent, false);
    QResizeEvent event(size(), size());
    QCoreApplication::sendEvent(this, &event);
}

void SkinnedControl::initNew(const AmbientProperties&) {}

void SkinnedControl::resizeEvent(QResizeEvent*) { layoutElements(); }

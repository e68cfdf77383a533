#include "skinned_control.h"

#include <QCoreApplication>
#include <QPainter>
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

bool SkinnedControl::setBackColor(OleColor color)
{
    if (color == backColor_)
        return true;
    if (!applyBackColor(color))
        return false;
    emit PropertyChanged(QStringLiteral("BackColor"));
    return true;
}

bool SkinnedControl::applyBackColor(OleColor color)
{
    if (!Ole::isValidColor(color))
        return false;
    backColor_ = color;
    update();
    return true;
}

void SkinnedControl::paintBackground(QPainter& painter)
{
    if (backColor_)
        painter.fillRect(rect(), Ole::toQColor(*backColor_));
}

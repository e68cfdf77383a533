#include "element_host.h"

#include "element.h"
#include "twips.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace {

short buttonCode(Qt::MouseButtons buttons)
{
    short code = 0;
    if (buttons & Qt::LeftButton)
        code |= 1;
    if (buttons & Qt::RightButton)
        code |= 2;
    if (buttons & Qt::MiddleButton)
        code |= 4;
    return code;
}

} // namespace

short ElementHost::shiftCode(Qt::KeyboardModifiers modifiers)
{
    short code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= 1;
    if (modifiers & Qt::ControlModifier)
        code |= 2;
    if (modifiers & Qt::AltModifier)
        code |= 4;
    return code;
}

ElementHost::ElementHost(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }

ElementHost::~ElementHost() = default;

void ElementHost::addElement(Element* element) { elements_.push_back(element); }

void ElementHost::removeElement(Element* element)
{
    elements_.erase(std::remove(elements_.begin(), elements_.end(), element), elements_.end());
    if (captured_ == element)
        captured_ = nullptr;
}

void ElementHost::elementChanged(const QRect& pixels)
{
    if (!pixels.isEmpty())
        update(pixels);
}

Element* ElementHost::elementAt(const QPointF& twips) const
{
    for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
        Element* element = *it;
        if (element->isVisible() && element->isEnabled() && element->receivesMouse()
            && element->pixelRect().contains(
                QPoint(Twips::toPixels(float(twips.x())), Twips::toPixels(float(twips.y())))))
            return element;
    }
    return nullptr;
}

void ElementHost::paintBackground(QPainter&) {}

void ElementHost::elementMouseEvent(Element*, MouseAction, MouseArgs&) {}

void ElementHost::captureLost(Element*) {}

void ElementHost::loseCapture()
{
    if (!pressed_)
        return;
    Element* element = captured_;
    pressed_ = false;
    captured_ = nullptr;
    doubleClicked_ = false;
    captureLost(element);
}

void ElementHost::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintBackground(painter);
    for (const Element* element : elements_) {
        if (element->isVisible())
            element->paint(painter);
    }
}

void ElementHost::deliver(Element* element, MouseAction action, QMouseEvent* event)
{
    MouseArgs args;
    args.button = action == MouseAction::Move ? buttonCode(event->buttons()) : buttonCode(event->button());
    args.shift = shiftCode(event->modifiers());
    QPointF twips = Twips::fromPixels(event->position());
    if (element)
        twips -= QPointF(element->left(), element->top());
    args.x = float(twips.x());
    args.y = float(twips.y());
    elementMouseEvent(element, action, args);
}

void ElementHost::mousePressEvent(QMouseEvent* event)
{
    // A second button while the first is held stays with the captured element. With no
    // other button held the earlier press lost its release somewhere: this one is new.
    const bool otherHeld = (event->buttons() & ~event->button()) != Qt::NoButton;
    if (pressed_ && otherHeld)
        return deliver(captured_, MouseAction::Down, event);
    loseCapture();
    captured_ = elementAt(Twips::fromPixels(event->position()));
    pressed_ = true;
    deliver(captured_, MouseAction::Down, event);
}

void ElementHost::mouseMoveEvent(QMouseEvent* event)
{
    if (pressed_ && event->buttons() == Qt::NoButton)
        loseCapture();
    Element* target = pressed_ ? captured_ : elementAt(Twips::fromPixels(event->position()));
    if (!pressed_)
        updatePointer(target);
    deliver(target, MouseAction::Move, event);
}

void ElementHost::mouseReleaseEvent(QMouseEvent* event)
{
    if (!pressed_) // its press was taken away: nothing to end, nothing to click
        return;
    Element* target = captured_;
    if (event->buttons() == Qt::NoButton) {
        pressed_ = false;
        captured_ = nullptr;
    }
    deliver(target, MouseAction::Up, event);
    // A left click counts when it ends over the element it started on.
    const bool over = elementAt(Twips::fromPixels(event->position())) == target;
    const bool click = event->button() == Qt::LeftButton && over && !doubleClicked_;
    doubleClicked_ = false;
    if (click)
        deliver(target, MouseAction::Click, event);
}

void ElementHost::mouseDoubleClickEvent(QMouseEvent* event)
{
    Element* target = elementAt(Twips::fromPixels(event->position()));
    loseCapture();
    captured_ = target;
    pressed_ = true;
    doubleClicked_ = event->button() == Qt::LeftButton;
    if (doubleClicked_)
        deliver(target, MouseAction::DblClick, event);
    else
        deliver(target, MouseAction::Down, event);
}

void ElementHost::setSurfacePointer(const std::optional<QCursor>& cursor)
{
    surfacePointer_ = cursor;
    updatePointer(nullptr);
}

void ElementHost::updatePointer(Element* element)
{
    const std::optional<QCursor>& pointer = element ? element->pointer() : surfacePointer_;
    if (pointer)
        setCursor(*pointer);
    else
        unsetCursor();
}

bool ElementHost::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::WindowBlocked:
    case QEvent::WindowDeactivate:
    case QEvent::Hide:
    case QEvent::EnabledChange:
        // The release will not come here any more.
        loseCapture();
        break;
    default:
        break;
    }
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        Element* element = isEnabled() ? elementAt(Twips::fromPixels(QPointF(help->pos()))) : nullptr;
        if (element && !element->toolTip().isEmpty())
            QToolTip::showText(help->globalPos(), element->toolTip(), this, element->pixelRect());
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

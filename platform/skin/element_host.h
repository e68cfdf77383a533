#pragma once

#include <QCursor>
#include <QPointF>
#include <QWidget>

#include <optional>
#include <vector>

class Element;

// Mouse arguments as the controls pass them on: button and shift codes
// (1 left, 2 right, 4 middle; 1 Shift, 2 Ctrl, 4 Alt) and twips within the receiver.
struct MouseArgs {
    short button = 0;
    short shift = 0;
    float x = 0;
    float y = 0;
};

enum class MouseAction { Down, Move, Up, Click, DblClick };

// A control made of windowless elements: paints them back to front and delivers
// mouse input to the topmost visible element under the pointer (or to the bare
// surface, with a null element). A press captures its element until the release, or
// until the mouse is taken away (a modal box, the window deactivated or hidden).
class ElementHost : public QWidget {
    Q_OBJECT
public:
    explicit ElementHost(QWidget* parent = nullptr);
    ~ElementHost() override;

    Element* elementAt(const QPointF& twips) const;

    // The pointer over the bare surface (no value: the default pointer).
    void setSurfacePointer(const std::optional<QCursor>& cursor);

    // Called by elements.
    void addElement(Element* element);
    void removeElement(Element* element);
    void elementChanged(const QRect& pixels);

protected:
    // Shift codes as the events pass them: 1 Shift, 2 Ctrl, 4 Alt.
    static short shiftCode(Qt::KeyboardModifiers modifiers);

    virtual void paintBackground(QPainter& painter);
    virtual void elementMouseEvent(Element* element, MouseAction action, MouseArgs& args);
    // Raises the control's own event for `action`: its MouseDown, MouseMove, MouseUp and
    // Click signals, and DblClick where it has one.
    template <class Control>
    static void raiseMouseEvent(Control* control, MouseAction action, MouseArgs& args);
    // The press on `element` ends without a release: undo its pressed look, raise nothing.
    virtual void captureLost(Element* element);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void deliver(Element* element, MouseAction action, QMouseEvent* event);
    void updatePointer(Element* element);
    void loseCapture();

    std::vector<Element*> elements_;
    std::optional<QCursor> surfacePointer_;
    Element* captured_ = nullptr;
    bool pressed_ = false;
    bool doubleClicked_ = false; // the release that ends a double-click is no further click
};

template <class Control>
void ElementHost::raiseMouseEvent(Control* control, MouseAction action, MouseArgs& args)
{
    switch (action) {
    case MouseAction::Down:
        emit control->MouseDown(args.button, args.shift, args.x, args.y);
        break;
    case MouseAction::Move:
        emit control->MouseMove(args.button, args.shift, args.x, args.y);
        break;
    case MouseAction::Up:
        emit control->MouseUp(args.button, args.shift, args.x, args.y);
        break;
    case MouseAction::Click:
        emit control->Click();
        break;
    case MouseAction::DblClick:
        if constexpr (requires { control->DblClick(); })
            emit control->DblClick();
        break;
    }
}

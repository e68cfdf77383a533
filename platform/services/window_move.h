#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

// Moves a top-level window from a press on a widget inside it, by the whole distance the
// pointer travels from the press. Where the window system takes a move for any button
// (Wayland), it is handed over at the press, unless the release has come already. An X11
// window manager takes button 1 only, and a bare click must not leave it moving: it is
// handed over on the first motion, anchored at the press, and taken back if the release
// or Escape reaches the program before the manager takes the pointer. Other buttons, and
// window systems that refuse, have the window follow the pointer by hand; Escape then puts
// it back where it was. The move ends with the button, or when the mouse is taken away.
class WindowMove : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // Starts the move of `widget`'s window for a press of `button` at `globalPress`.
    static void start(QWidget* widget, const QPoint& globalPress, Qt::MouseButton button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    // The move running from a press on `widget`, if any.
    static WindowMove* running(const QWidget* widget);

    WindowMove(QWidget* source, QWidget* window, const QPoint& press, Qt::MouseButton button);
    bool handOver();
    void handOverWhilePressed();
    void takeBack(const QPoint& pointer);
    void followByHand(const QPoint& pointer);
    void finish();

    QPointer<QWidget> source_;
    QPointer<QWidget> window_;
    QPoint press_;
    QPoint startPosition_; // the window's, before the press
    Qt::MouseButton button_;
    bool byHand_ = false;
    bool handedOver_ = false; // to an X11 window manager that has not yet taken the pointer
    bool finished_ = false;
};

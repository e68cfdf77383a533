#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

// Moves a top-level window from a press on a widget inside it. A left-button drag is
// handed to the window system on its first motion (X11 window managers move with
// button 1 only, and a bare click must not leave them moving); other buttons, and
// window systems that refuse, have the window follow the pointer by hand from the
// press offset. The move ends with the button, or when the mouse is taken away.
class WindowMove : public QObject {
    Q_OBJECT
public:
    // Starts the move of `widget`'s window for a press of `button` at `globalPress`.
    static void start(QWidget* widget, const QPoint& globalPress, Qt::MouseButton button);

    // The move running from a press on `widget`, if any.
    static WindowMove* running(const QWidget* widget);
    bool byHand() const { return byHand_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowMove(QWidget* source, QWidget* window, const QPoint& offset, Qt::MouseButton button);
    void finish();

    QPointer<QWidget> source_;
    QPointer<QWidget> window_;
    QPoint offset_;
    Qt::MouseButton button_;
    bool byHand_;
    bool finished_ = false;
};

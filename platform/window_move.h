#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

// Moves a top-level window from a press on a widget inside it: the window system
// runs the move where it can; elsewhere the window follows the pointer by hand
// from the press offset until the button is released.
class WindowMove : public QObject {
    Q_OBJECT
public:
    // Starts the move of `widget`'s window for a press at `globalPress`.
    static void start(QWidget* widget, const QPoint& globalPress);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowMove(QWidget* source, QWidget* window, const QPoint& offset);

    QPointer<QWidget> source_;
    QPointer<QWidget> window_;
    QPoint offset_;
};

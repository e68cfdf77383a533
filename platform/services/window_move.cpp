#include "window_move.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

void WindowMove::start(QWidget* widget, const QPoint& globalPress, Qt::MouseButton button)
{
    if (WindowMove* previous = running(widget))
        previous->finish();
    QWidget* window = widget->window();
    new WindowMove(widget, window, globalPress - window->frameGeometry().topLeft(), button);
}

WindowMove* WindowMove::running(const QWidget* widget)
{
    for (WindowMove* move : widget->findChildren<WindowMove*>(Qt::FindDirectChildrenOnly)) {
        if (!move->finished_)
            return move;
    }
    return nullptr;
}

WindowMove::WindowMove(QWidget* source, QWidget* window, const QPoint& offset, Qt::MouseButton button)
    : QObject(source), source_(source), window_(window), offset_(offset), button_(button),
      byHand_(button != Qt::LeftButton)
{
    source->installEventFilter(this);
}

void WindowMove::finish()
{
    if (finished_)
        return;
    finished_ = true;
    if (source_)
        source_->removeEventFilter(this);
    deleteLater();
}

bool WindowMove::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != source_ || finished_)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto* move = static_cast<QMouseEvent*>(event);
        // The release went elsewhere (a modal box took the mouse): nothing is held any more.
        if (!(move->buttons() & button_) || !window_) {
            finish();
            return false;
        }
        // Catch up with the pointer first: the window system takes the move from where the
        // pointer is now, not from the press.
        window_->move(move->globalPosition().toPoint() - offset_);
        if (!byHand_) {
            QWindow* handle = window_->windowHandle();
            if (handle && handle->startSystemMove()) {
                finish();
                return true;
            }
            byHand_ = true;
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == button_)
            finish();
        return false;
    case QEvent::WindowBlocked:
    case QEvent::WindowDeactivate:
    case QEvent::Hide:
    case QEvent::EnabledChange:
        finish();
        return false;
    default:
        return false;
    }
}

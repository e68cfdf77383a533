#include "window_move.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

void WindowMove::start(QWidget* widget, const QPoint& globalPress)
{
    QWidget* window = widget->window();
    if (QWindow* handle = window->windowHandle(); handle && handle->startSystemMove())
        return;
    new WindowMove(widget, window, globalPress - window->frameGeometry().topLeft());
}

WindowMove::WindowMove(QWidget* source, QWidget* window, const QPoint& offset)
    : QObject(source), source_(source), window_(window), offset_(offset)
{
    source->installEventFilter(this);
}

bool WindowMove::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != source_)
        return false;
    if (event->type() == QEvent::MouseMove && window_) {
        window_->move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - offset_);
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        deleteLater();
        return false;
    }
    return false;
}

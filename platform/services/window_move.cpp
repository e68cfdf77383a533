#include "window_move.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

bool onWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, false, uint16_t(strlen(name)), name), nullptr),
        &free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

bool supportedByWindowManager(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t wanted)
{
    const xcb_atom_t supported = atom(connection, "_NET_SUPPORTED");
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, false, root, supported, XCB_ATOM_ATOM, 0, 1024), nullptr),
        &free);
    if (!reply || reply->format != 32)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
    return std::find(atoms, atoms + count, wanted) != atoms + count;
}

enum MoveResizeAction : uint32_t { Move = 8, Cancel = 11 };

// The window manager's move as the EWMH standard has it: from the press's root position.
// (Qt's own request passes the last motion's position instead, so the window would miss
// the first step, and the manager's Escape would put it back there.) It names no button:
// a manager told the button would, after a cancel, keep the pointer until that button
// comes up, and it may be up already.
bool sendX11MoveResize(QWindow* window, const QPoint& globalPress, MoveResizeAction action)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return false;
    xcb_connection_t* connection = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t moveResize = atom(connection, "_NET_WM_MOVERESIZE");
    if (moveResize == XCB_ATOM_NONE || !supportedByWindowManager(connection, root, moveResize))
        return false;
    const QPoint press = (QPointF(globalPress) * window->devicePixelRatio()).toPoint();
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(window->winId());
    message.type = moveResize;
    message.data.data32[0] = uint32_t(press.x());
    message.data.data32[1] = uint32_t(press.y());
    message.data.data32[2] = action;
    message.data.data32[3] = XCB_BUTTON_INDEX_ANY;
    message.data.data32[4] = 1; // a normal application
    // The manager grabs the pointer only once the press's own grab is given up.
    if (action == Move)
        xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
    xcb_send_event(connection, false, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    return true;
}

// The manager places the window at its next motion; a flick that has already stopped
// makes none, so it gets one, to where the pointer is. Returns the pointer as it is after
// that motion, or nothing when the server does not say.
std::unique_ptr<xcb_query_pointer_reply_t, decltype(&free)> nudgePointer()
{
    xcb_connection_t* connection = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    xcb_warp_pointer(connection, XCB_NONE, XCB_NONE, 0, 0, 0, 0, 1, 0);
    xcb_warp_pointer(connection, XCB_NONE, XCB_NONE, 0, 0, 0, 0, -1, 0);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    return {xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr), &free};
}

} // namespace

void WindowMove::start(QWidget* widget, const QPoint& globalPress, Qt::MouseButton button)
{
    if (WindowMove* previous = running(widget))
        previous->finish();
    auto* move = new WindowMove(widget, widget->window(), globalPress, button);
    if (onWayland())
        move->handOverWhilePressed();
}

WindowMove* WindowMove::running(const QWidget* widget)
{
    for (WindowMove* move : widget->findChildren<WindowMove*>(Qt::FindDirectChildrenOnly)) {
        if (!move->finished_)
            return move;
    }
    return nullptr;
}

WindowMove::WindowMove(QWidget* source, QWidget* window, const QPoint& press, Qt::MouseButton button)
    : QObject(source), source_(source), window_(window), press_(press),
      startPosition_(window->frameGeometry().topLeft()), button_(button),
      byHand_(button != Qt::LeftButton && !onWayland())
{
    source->installEventFilter(this);
    QCoreApplication::instance()->installEventFilter(this); // Escape, wherever the focus is
}

bool WindowMove::handOver()
{
    QWindow* handle = window_ ? window_->windowHandle() : nullptr;
    if (!handle)
        return false;
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return handle->startSystemMove();
    // Until the manager takes the pointer, the release and Escape still come here.
    handedOver_ = sendX11MoveResize(handle, press_, Move);
    if (handedOver_)
        QCoreApplication::instance()->installNativeEventFilter(this);
    return handedOver_;
}

// The compositor starts its move for the latest button event Qt has read, which is the
// release when it came close behind the press: what Qt has read is delivered first (the
// wake-up makes a nested delivery take it too), and the move goes over only while the
// button is still held. The compositor ends its move with the button: nothing to wait for.
void WindowMove::handOverWhilePressed()
{
    const QPointer<WindowMove> self(this);
    QAbstractEventDispatcher::instance()->wakeUp();
    QCoreApplication::processEvents();
    if (!self || finished_)
        return;
    if (!(QGuiApplication::mouseButtons() & button_) || handOver())
        finish();
}

// The manager's move, if it has started, waits for a release that has gone by, or would
// go on after Escape: it is cancelled, and the window takes the travel from here.
void WindowMove::takeBack(const QPoint& pointer)
{
    if (handedOver_ && window_)
        sendX11MoveResize(window_->windowHandle(), press_, Cancel);
    if (window_)
        window_->move(startPosition_ + pointer - press_);
    if (handedOver_)
        nudgePointer(); // a manager may end a cancelled move only at its next event
}

void WindowMove::followByHand(const QPoint& pointer)
{
    byHand_ = true;
    window_->move(startPosition_ + pointer - press_);
}

void WindowMove::finish()
{
    if (finished_)
        return;
    finished_ = true;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    if (source_)
        source_->removeEventFilter(this);
    QCoreApplication::instance()->removeEventFilter(this);
    deleteLater();
}

// The manager's grab of the pointer shows as a crossing of the grab's kind (Qt drops those).
// Taken while the button is down, the release and Escape go to the manager: its move is
// under way. Taken after the release, the release comes here.
bool WindowMove::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    const auto* leave = static_cast<const xcb_leave_notify_event_t*>(message);
    if (eventType == "xcb_generic_event_t" && (leave->response_type & ~0x80) == XCB_LEAVE_NOTIFY
        && leave->mode == XCB_NOTIFY_MODE_GRAB && (leave->state & XCB_BUTTON_MASK_1) && window_
        && leave->event == xcb_window_t(window_->winId())) {
        // A release that came before the nudge ended the manager's move with no motion:
        // the window takes the travel from here.
        const auto pointer = nudgePointer();
        if (pointer && !(pointer->mask & XCB_BUTTON_MASK_1))
            takeBack((QPointF(pointer->root_x, pointer->root_y) / window_->devicePixelRatio()).toPoint());
        finish();
    }
    return false;
}

bool WindowMove::eventFilter(QObject* watched, QEvent* event)
{
    if (finished_)
        return false;
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        takeBack(press_);
        finish();
        return true;
    }
    if (watched != source_)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto* move = static_cast<QMouseEvent*>(event);
        // The release went elsewhere (a modal box took the mouse): nothing is held any more.
        if (!(move->buttons() & button_) || !window_) {
            finish();
            return false;
        }
        if (handedOver_ || (!byHand_ && !onWayland() && handOver()))
            return true;
        followByHand(move->globalPosition().toPoint());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() != button_)
            return false;
        if (handedOver_)
            takeBack(release->globalPosition().toPoint());
        finish();
        return false;
    }
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

#include "held_keys.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <xcb/xcbext.h>

namespace {

// Without the library that wraps it: one request of the keyboard extension, which Qt's
// connection has already taken into use.
xcb_extension_t keyboardExtension = {"XKEYBOARD", 0};

void askForRepeatedPressesOnly(xcb_connection_t* connection)
{
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &keyboardExtension);
    if (!extension || !extension->present)
        return;
    struct {
        uint8_t major, minor;
        uint16_t length;
        uint16_t device, unused;
        uint32_t change, value, controls, autoControls, autoValues;
    } request{0, 0, 0, 0x100 /* the core keyboard */, 0, 1, 1, 0, 0, 0}; // detectable auto-repeat
    iovec parts[3] = {{}, {}, {&request, sizeof request}};
    const xcb_protocol_request_t perClientFlags{1, &keyboardExtension, 21, 0};
    xcb_send_request(connection, XCB_REQUEST_DISCARD_REPLY, parts + 2, &perClientFlags);
    xcb_flush(connection);
}

quint64 identity(const QKeyEvent* key)
{
    return key->nativeScanCode() ? key->nativeScanCode() : quint64(key->key()) << 32;
}

} // namespace

void HeldKeys::install()
{
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>(); x11 && x11->connection())
        askForRepeatedPressesOnly(x11->connection());
    qApp->installEventFilter(new HeldKeys(qApp));
}

bool HeldKeys::eventFilter(QObject* watched, QEvent* event)
{
    // The release may go to another program.
    if (event->type() == QEvent::ApplicationStateChange
        && static_cast<QApplicationStateChangeEvent*>(event)->applicationState() != Qt::ApplicationActive)
        down_.clear();
    // A key event reaches the program's window first, then its focus widget.
    const bool keyEvent = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (!keyEvent || !watched->isWindowType())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat())
        return false;
    if (event->type() == QEvent::KeyRelease) {
        down_.remove(identity(key));
        return false;
    }
    if (!down_.contains(identity(key))) {
        down_.insert(identity(key));
        return false;
    }
    QKeyEvent repeat(QEvent::KeyPress, key->key(), key->modifiers(), key->nativeScanCode(), key->nativeVirtualKey(),
                     key->nativeModifiers(), key->text(), true, key->count(), key->device());
    repeat.setTimestamp(key->timestamp());
    QCoreApplication::sendEvent(watched, &repeat);
    event->setAccepted(repeat.isAccepted());
    return true;
}

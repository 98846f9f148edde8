#include "ui/CloseWhileBlocked.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>

#ifdef ORVANTA_XCB
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#endif

namespace orv::ui {

namespace {

#ifdef ORVANTA_XCB
std::uint32_t atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const std::uint32_t value = reply ? reply->atom : 0;
    std::free(reply);
    return value;
}
#endif

} // namespace

CloseWhileBlocked::CloseWhileBlocked(QWidget& window) : window_(&window) {
#ifdef ORVANTA_XCB
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        protocols_ = atom(x11->connection(), "WM_PROTOCOLS");
        deleteWindow_ = atom(x11->connection(), "WM_DELETE_WINDOW");
    }
#endif
    if (deleteWindow_)
        QCoreApplication::instance()->installNativeEventFilter(this);
}

CloseWhileBlocked::~CloseWhileBlocked() {
    if (deleteWindow_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool CloseWhileBlocked::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
#ifdef ORVANTA_XCB
    if (eventType != "xcb_generic_event_t" || !window_)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* request = static_cast<const xcb_client_message_event_t*>(message);
    if (request->format != 32 || request->type != protocols_ || request->data.data32[0] != deleteWindow_ ||
        request->window != window_->winId())
        return false;
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == window_)
        return false; // not blocked: the toolkit delivers it
    // Closed from the event loop, once this request has been taken.
    QMetaObject::invokeMethod(
        window_, [window = window_] { window->close(); }, Qt::QueuedConnection);
    return true;
#else
    static_cast<void>(eventType);
    static_cast<void>(message);
    return false;
#endif
}

} // namespace orv::ui

// The frame on X, from the window manager's _NET_FRAME_EXTENTS; under another platform
// plugin (offscreen, Wayland), what the toolkit knows.
#include "platform/WindowFrame.h"

#include <QAbstractNativeEventFilter>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QThread>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <xcb/xcb.h>

namespace zirpel {

namespace {

xcb_connection_t* Connection() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(qstrlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

struct Atoms {
    xcb_atom_t extents;
    xcb_atom_t request;
    xcb_atom_t supported;
};

// One connection for the program's life: the names are looked up once.
const Atoms& AtomsOf(xcb_connection_t* c) {
    static const Atoms atoms{Atom(c, "_NET_FRAME_EXTENTS"), Atom(c, "_NET_REQUEST_FRAME_EXTENTS"),
                             Atom(c, "_NET_SUPPORTED")};
    return atoms;
}

// _NET_FRAME_EXTENTS holds left, right, top, bottom, in the screen's pixels; the window
// is sized and placed in the toolkit's, which differ when the toolkit scales.
std::optional<QMargins> ReportedExtents(xcb_connection_t* c, QWindow& window) {
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c,
                               xcb_get_property(c, 0, xcb_window_t(window.winId()),
                                                AtomsOf(c).extents, XCB_ATOM_CARDINAL, 0, 4),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
        return std::nullopt;
    const auto* e = static_cast<const quint32*>(xcb_get_property_value(reply.get()));
    const qreal scale = window.devicePixelRatio();
    return QMargins(qRound(e[0] / scale), qRound(e[2] / scale), qRound(e[1] / scale),
                    qRound(e[3] / scale));
}

xcb_window_t RootOf(xcb_connection_t* c, xcb_window_t window) {
    const Reply<xcb_get_geometry_reply_t> reply(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr), &std::free);
    return reply ? reply->root : xcb_window_t(XCB_WINDOW_NONE);
}

bool TakesFrameRequests(xcb_connection_t* c, xcb_window_t root) {
    const Atoms& atoms = AtomsOf(c);
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            c, xcb_get_property(c, 0, root, atoms.supported, XCB_ATOM_ATOM, 0, 1024), nullptr),
        &std::free);
    if (!reply || reply->format != 32)
        return false;
    const auto* list = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::find(list, list + count, atoms.request) != list + count;
}

class FrameWatch : public QObject, public QAbstractNativeEventFilter {
public:
    FrameWatch(xcb_window_t window, QObject* context, std::function<void()> changed)
        : QObject(context), window_(window), changed_(std::move(changed)) {
        qApp->installNativeEventFilter(this);
    }
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
            return false;
        const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        xcb_connection_t* c = Connection();
        if (c && notify->window == window_ && notify->atom == AtomsOf(c).extents) {
            // After the toolkit has taken the event in: the handler may move the window.
            QMetaObject::invokeMethod(this, changed_, Qt::QueuedConnection);
        }
        return false;
    }

private:
    xcb_window_t window_;
    std::function<void()> changed_;
};

} // namespace

QMargins CurrentFrame(QWindow& window) {
    if (xcb_connection_t* c = Connection()) {
        if (const std::optional<QMargins> reported = ReportedExtents(c, window))
            return *reported;
    }
    return window.frameMargins();
}

QMargins AskFrame(QWindow& window) {
    xcb_connection_t* c = Connection();
    const auto id = xcb_window_t(window.winId());
    const xcb_window_t root = c ? RootOf(c, id) : xcb_window_t(XCB_WINDOW_NONE);
    if (root == XCB_WINDOW_NONE || !TakesFrameRequests(c, root))
        return CurrentFrame(window);
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = id;
    request.type = AtomsOf(c).request;
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(c);
    // The answer is a property the window manager sets, normally within a few
    // milliseconds; the toolkit's event queue cannot be run here, before the window is
    // mapped, so the property is read until it is there.
    const QDeadlineTimer limit(500);
    do {
        if (const std::optional<QMargins> answer = ReportedExtents(c, window))
            return *answer;
        QThread::usleep(500);
    } while (!limit.hasExpired());
    return CurrentFrame(window);
}

void WatchFrame(QWindow& window, QObject* context, std::function<void()> changed) {
    if (Connection())
        new FrameWatch(xcb_window_t(window.winId()), context, std::move(changed));
}

} // namespace zirpel

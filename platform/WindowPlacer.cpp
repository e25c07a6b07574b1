#include "platform/WindowPlacer.h"
#include "core/system/ScreenPlace.h"
#include "platform/WindowFrame.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace zirpel {

WindowPlacer::WindowPlacer(QWidget& window, Sizing sizing)
    : QObject(&window), window_(window), sizing_(sizing) {
    window.installEventFilter(this);
}

void WindowPlacer::setPlace(std::optional<QPoint> topLeft) {
    place_ = topLeft;
}

void WindowPlacer::setOuterSize(QSize size) {
    outerSize_ = size;
    resizeClient(size.shrunkBy(knownFrame()));
}

void WindowPlacer::setClientSize(QSize size) {
    outerSize_ = QSize();
    resizeClient(size);
    if (!window_.isVisible())
        return;
    const QRect outer = window_.geometry().marginsAdded(knownFrame());
    const QPoint inside = KeepInside(outer, window_.screen()->availableGeometry());
    if (inside != outer.topLeft())
        placeOuter(inside);
    if (placing_)
        place_ = inside;
}

bool WindowPlacer::eventFilter(QObject* watched, QEvent* event) {
    QWindow* handle = window_.windowHandle();
    if (watched == &window_) {
        if (event->type() == QEvent::Show && handle && !watching_) {
            watching_ = true;
            // The native window exists from here on; its own show event comes before it
            // is mapped, when the widget has taken its final size.
            handle->installEventFilter(this);
            WatchFrame(*handle, this, [this] { fit(currentFrame()); });
        } else if (event->type() == QEvent::Move && fitted_) {
            fit(currentFrame());
        }
    } else if (watched == handle) {
        if (event->type() == QEvent::Show && !fitted_)
            fit(AskFrame(*handle));
        else if (event->type() == QEvent::Expose && fitted_)
            fit(currentFrame());
    }
    return QObject::eventFilter(watched, event);
}

QMargins WindowPlacer::currentFrame() const {
    if (QWindow* handle = window_.windowHandle(); handle && handle->handle())
        return CurrentFrame(*handle);
    return {};
}

void WindowPlacer::fit(QMargins frame) {
    if (fitted_ == frame)
        return;
    fitted_ = frame;
    if (outerSize_.isValid())
        resizeClient(outerSize_.shrunkBy(frame));
    if (!placing_)
        return;
    if (place_) {
        placeOuter(*place_);
    } else if (const QScreen* screen = window_.screen()) {
        QRect outer(QPoint(), window_.size().grownBy(frame));
        outer.moveCenter(screen->availableGeometry().center());
        placeOuter(outer.topLeft());
    }
    if (!frame.isNull())
        placing_ = false;
}

void WindowPlacer::resizeClient(QSize client) {
    if (sizing_ == Sizing::Fixed)
        window_.setFixedSize(client);
    else
        window_.resize(client);
}

void WindowPlacer::placeOuter(QPoint topLeft) {
    // The client's own place, from the frame the placer knows: the toolkit may not have
    // taken in the window manager's frame yet.
    const QMargins frame = knownFrame();
    window_.setGeometry(QRect(topLeft + QPoint(frame.left(), frame.top()), window_.size()));
}

} // namespace zirpel

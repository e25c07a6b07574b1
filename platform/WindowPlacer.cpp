#include "platform/WindowPlacer.h"
#include "platform/ScreenPlace.h"
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
    Resize(size.shrunkBy(Known()));
}

void WindowPlacer::setClientSize(QSize size) {
    outerSize_ = QSize();
    Resize(size);
    if (!window_.isVisible())
        return;
    const QRect outer = window_.geometry().marginsAdded(Known());
    const QPoint inside = KeepInside(outer, window_.screen()->availableGeometry());
    if (inside != outer.topLeft())
        PlaceOuter(inside);
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
            WatchFrame(*handle, this, [this] { Fit(Frame()); });
        } else if (event->type() == QEvent::Move && fitted_) {
            Fit(Frame());
        }
    } else if (watched == handle) {
        if (event->type() == QEvent::Show && !fitted_)
            Fit(AskFrame(*handle));
        else if (event->type() == QEvent::Expose && fitted_)
            Fit(Frame());
    }
    return QObject::eventFilter(watched, event);
}

QMargins WindowPlacer::Frame() const {
    if (QWindow* handle = window_.windowHandle(); handle && handle->handle())
        return CurrentFrame(*handle);
    return {};
}

void WindowPlacer::Fit(QMargins frame) {
    if (fitted_ == frame)
        return;
    fitted_ = frame;
    if (outerSize_.isValid())
        Resize(outerSize_.shrunkBy(frame));
    if (!placing_)
        return;
    if (place_) {
        PlaceOuter(*place_);
    } else if (const QScreen* screen = window_.screen()) {
        QRect outer(QPoint(), window_.size().grownBy(frame));
        outer.moveCenter(screen->availableGeometry().center());
        PlaceOuter(outer.topLeft());
    }
    if (!frame.isNull())
        placing_ = false;
}

void WindowPlacer::Resize(QSize client) {
    if (sizing_ == Sizing::Fixed)
        window_.setFixedSize(client);
    else
        window_.resize(client);
}

void WindowPlacer::PlaceOuter(QPoint topLeft) {
    // The client's own place, from the frame the placer knows: the toolkit may not have
    // taken in the window manager's frame yet.
    const QMargins frame = Known();
    window_.setGeometry(QRect(topLeft + QPoint(frame.left(), frame.top()), window_.size()));
}

} // namespace zirpel

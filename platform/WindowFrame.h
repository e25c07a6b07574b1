// The frame the window manager draws around a top-level window. On X a window manager
// reports it in the property _NET_FRAME_EXTENTS, and sets it on request before the window
// is mapped (_NET_REQUEST_FRAME_EXTENTS); elsewhere the toolkit knows it from the moment
// the window exists.
#pragma once

#include <QMargins>
#include <functional>

class QObject;
class QWindow;

namespace zirpel {

// The frame as reported now: none while no window manager has framed the window.
[[nodiscard]] QMargins CurrentFrame(QWindow& window);

// The frame the window manager is going to draw around `window`, which is created but not
// mapped yet. On X this waits for the window manager's answer, up to half a second; a window
// manager that does not take the request gives CurrentFrame.
[[nodiscard]] QMargins AskFrame(QWindow& window);

// Calls `changed` after the window manager has reported another frame for `window`, for as
// long as `context` lives. Elsewhere than on X the frame never changes, and nothing is
// called.
void WatchFrame(QWindow& window, QObject* context, std::function<void()> changed);

} // namespace zirpel

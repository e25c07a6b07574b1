// The frame where the toolkit knows it from the start (Windows).
#include "platform/WindowFrame.h"

#include <QWindow>

namespace zirpel {

QMargins CurrentFrame(QWindow& window) {
    return window.frameMargins();
}

QMargins AskFrame(QWindow& window) {
    return window.frameMargins();
}

void WatchFrame(QWindow&, QObject*, std::function<void()>) {}

} // namespace zirpel

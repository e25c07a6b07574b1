// A word for a screen reader alone: a notification it reads out at once, wherever its
// focus is, while nothing changes on the screen.
#pragma once

#include <QString>

class QWidget;

namespace zirpel {

// Shows `text` to a screen reader as a notification of `window`'s (nothing when no
// assistive tool listens).
void NotifyReader(QWidget* window, const QString& text);

} // namespace zirpel

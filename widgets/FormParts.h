// Parts the main window's form, the about box and the controls build alike: the window
// font, labels, the focus frame.
#pragma once

#include <QFont>
#include <QString>

class QLabel;
class QPainter;
class QRect;
class QWidget;

namespace zirpel {

// The font of the windows and their labels.
[[nodiscard]] QFont WindowFont();

enum class LabelSize { FitText, Fixed };
// A label named name at (x, y) showing text. It takes the width of its text, as auto-sized
// labels do, or keeps the size w x h.
QLabel* Label(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text,
              LabelSize size = LabelSize::FitText);

// Paints the dotted focus frame on the outermost pixels of frame. It inverts what lies under
// it, so it shows on the selection colour and on every style's face alike.
void PaintFocusFrame(QPainter& painter, const QRect& frame);

// The same inside a control's edges while it has the focus, for the controls whose style
// draws none (the scroll bar, the flat tool buttons). Called from their paintEvent.
void PaintFocusFrame(QWidget* widget);

} // namespace zirpel

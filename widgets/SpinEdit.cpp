#include "widgets/SpinEdit.h"
#include "core/view/Page.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace zirpel {

SpinEdit::SpinEdit(QWidget* parent) : QSpinBox(parent) {
    setRange(kMinPageShape, kMaxPageShape);
    setSingleStep(kPageShapeStep);
    setValue(kMaxPageShape);
    setFocusPolicy(Qt::StrongFocus);
    lineEdit()->setReadOnly(true);
    // Up and Down step by 4 only; PageUp/PageDown would step by 40.
    setKeyboardTracking(false);
}

void SpinEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        QSpinBox::keyPressEvent(event);
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        QAbstractSpinBox::keyPressEvent(event);
        return;
    default:
        event->ignore();
        return;
    }
}

void SpinEdit::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

} // namespace zirpel

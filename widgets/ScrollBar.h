// The table's scroll bar: a platform scroll bar that shows when it has the keyboard focus,
// which the styles do not draw for scroll bars.
#pragma once

#include <QScrollBar>

namespace zirpel {

class ScrollBar : public QScrollBar {
    Q_OBJECT
public:
    using QScrollBar::QScrollBar;

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace zirpel

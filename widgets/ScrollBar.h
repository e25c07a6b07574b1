// The table's scroll bar: a platform scroll bar that shows when it has the keyboard focus,
// which the styles do not draw for scroll bars. A screen reader hears its position as its
// description, which the window writes as the address shown: the bar offers no number of
// its own, which a reader would speak in decimal.
#pragma once

#include <QScrollBar>

namespace zirpel {

class ScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit ScrollBar(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace zirpel

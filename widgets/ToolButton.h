// A tool bar button that shows when it has the keyboard focus: the styles draw no focus
// for a flat tool button.
#pragma once

#include <QToolButton>

namespace zirpel {

class ToolButton : public QToolButton {
    Q_OBJECT
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace zirpel

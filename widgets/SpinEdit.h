// A number field stepped only by its arrows and the arrow keys; typing is refused.
#pragma once

#include <QSpinBox>

namespace zirpel {

class SpinEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit SpinEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

} // namespace zirpel

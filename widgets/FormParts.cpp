#include "widgets/FormParts.h"

#include <QLabel>
#include <QPainter>

namespace zirpel {

QFont WindowFont() {
    QFont f;
    // Where the family is missing, a face of Arial's metrics keeps labels in their room.
    f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                   QStringLiteral("Arial")});
    f.setPointSize(8);
    return f;
}

QLabel* Label(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text,
              LabelSize size) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(x, y, w, h);
    if (size == LabelSize::FitText) {
        l->adjustSize();
        l->move(x, y);
    }
    return l;
}

void PaintFocusFrame(QPainter& painter, const QRect& frame) {
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.restore();
}

void PaintFocusFrame(QWidget* widget) {
    if (!widget->hasFocus())
        return;
    QPainter painter(widget);
    PaintFocusFrame(painter, widget->rect().adjusted(1, 1, -1, -1));
}

} // namespace zirpel

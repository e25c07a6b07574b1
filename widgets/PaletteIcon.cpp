#include "widgets/PaletteIcon.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

namespace zirpel {

namespace {

class PaletteIconEngine : public QIconEngine {
public:
    explicit PaletteIconEngine(QImage shape) : shape_(std::move(shape)) {}

    QIconEngine* clone() const override { return new PaletteIconEngine(*this); }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        return shape_.size().scaled(size, Qt::KeepAspectRatio).boundedTo(shape_.size());
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const QPalette::ColorGroup group =
            mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active;
        QImage image(shape_.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(QGuiApplication::palette().color(group, QPalette::ButtonText));
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        painter.drawImage(0, 0, shape_);
        painter.end();
        const QSize wanted = actualSize(size, mode, state);
        return QPixmap::fromImage(wanted == image.size() ? image : image.scaled(wanted));
    }

private:
    QImage shape_;
};

} // namespace

QIcon PaletteIcon(const QString& path) {
    return QIcon(new PaletteIconEngine(QImage(path).convertToFormat(QImage::Format_ARGB32)));
}

} // namespace zirpel

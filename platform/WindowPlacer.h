// Gives a top-level window the outer size and place the program chose, whatever frame the
// window manager draws around it and whenever it draws it.
//
// The frame is taken from the window manager's own reports, never guessed: just before
// the window is first mapped the placer asks for the frame it is going to get, so the
// window appears at its size and place at once; afterwards the window's moves and exposes
// and every report of another frame (a window manager started late, a new theme) fit the
// size to the frame again. The place is the program's until the window has been fitted to a
// real frame; from then on it is the user's. No timer is involved.
#pragma once

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <optional>

class QWidget;

namespace zirpel {

class WindowPlacer : public QObject {
    Q_OBJECT
public:
    // A fixed window keeps the client size it is given as its minimum and maximum.
    enum class Sizing { Fixed, Resizable };

    // Until told otherwise, the window is centred in the available area of its screen.
    explicit WindowPlacer(QWidget& window, Sizing sizing = Sizing::Resizable);

    // The outer top left; none: centred.
    void setPlace(std::optional<QPoint> topLeft);
    // The outer size, frame included, kept through every change of the frame.
    void setOuterSize(QSize size);
    // The size of the client area alone. When the window grows out of the available area
    // of its screen, it is moved back inside.
    void setClientSize(QSize size);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fit(QMargins frame);
    void resizeClient(QSize client);
    void placeOuter(QPoint topLeft);
    // The frame as the window manager reports it now, and as last fitted to.
    [[nodiscard]] QMargins currentFrame() const;
    [[nodiscard]] QMargins knownFrame() const { return fitted_.value_or(QMargins()); }

    QWidget& window_;
    Sizing sizing_;
    std::optional<QPoint> place_;
    QSize outerSize_;
    // The frame the size and place were last fitted to.
    std::optional<QMargins> fitted_;
    bool placing_ = true;
    bool watching_ = false;
};

} // namespace zirpel

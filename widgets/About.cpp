#include "widgets/About.h"
#include "platform/Images.h"
#include "platform/WindowPlacer.h"
#include "widgets/FormParts.h"

#include <QBitmap>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace zirpel {

TFrmAbout::TFrmAbout(QWidget* parent) : QDialog(parent) {
    InitImages();
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("FrmAbout"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setFont(WindowFont());
    auto* placer = new WindowPlacer(*this);
    placer->setOuterSize(QSize(407, 298));
    placer->setPlace(QPoint(248, 105));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("PanelAbout"));
    panel->setGeometry(8, 10, 385, 223);
    // A lowered outer bevel with a raised one inside it: one etched line.
    panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setMidLineWidth(0);

    auto* bevel = new QFrame(panel);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setGeometry(8, 6, 161, 210);
    // A lowered box: dark top and left edges, light bottom and right ones.
    bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bevel->setLineWidth(1);

    auto* image = Label(panel, "Image1", 13, 9, 150, 200, {}, LabelSize::Fixed);
    QPixmap picture(QStringLiteral(":/images/about.xpm"));
    // White is the picture's background: let the panel show through.
    picture.setMask(picture.createMaskFromColor(Qt::white));
    image->setPixmap(picture);
    image->setAlignment(Qt::AlignCenter);

    QFont logo;
    // Impact is rare outside Windows; Liberation Sans Narrow Bold, a heavy condensed face,
    // comes with the program's fonts. Without a family of its own in the list fontconfig
    // would put a symbol font or a wide face in its place.
    logo.setFamilies({QStringLiteral("Impact"), QStringLiteral("Liberation Sans Narrow")});
    logo.setBold(true);
    logo.setPointSize(48);
    auto* name =
        Label(panel, "Label6", 206, 15, 101, 80, QStringLiteral("Zirpel"), LabelSize::Fixed);
    name->setFont(logo);
    name->setStyleSheet(QStringLiteral("color: black;"));
    name->adjustSize();
    name->move(206, 15);

    QFont accentFont = logo;
    accentFont.setPointSize(36);
    auto* accent = Label(panel, "Label1", 307, 30, 28, 60, QStringLiteral("!"), LabelSize::Fixed);
    accent->setFont(accentFont);
    accent->setStyleSheet(QStringLiteral("color: red;"));
    // The mark stands directly right of the name, 15 pixels lower.
    accent->move(qMax(307, name->x() + name->width()), name->y() + 15);
    // A wider face than the logo was drawn for moves the logo left, whole inside the panel.
    const int overflow = accent->geometry().right() - panel->contentsRect().right();
    if (overflow > 0) {
        name->move(name->x() - overflow, name->y());
        accent->move(accent->x() - overflow, accent->y());
    }

    Label(panel, "Label2", 235, 88, 56, 13, QStringLiteral("Version  " ZIRPEL_VERSION));
    Label(panel, "Label3", 186, 116, 185, 13, QStringLiteral("Quillmark Software, Musterstadt"));
    // The e-mail line keeps its width and wraps; its address is short enough to need one
    // line, so it stays clear of the web line below.
    auto* mail = Label(panel, "Label4", 229, 144, 143, 13,
                       QStringLiteral("eMail: info@quill.example"), LabelSize::Fixed);
    mail->setWordWrap(true);
    mail->resize(143, qMax(13, mail->heightForWidth(143)));
    Label(panel, "Label5", 229, 160, 143, 13, QStringLiteral("Website:   www.quill.example"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BtnOK"));
    ok->setGeometry(317, 240, 75, 25);
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace zirpel

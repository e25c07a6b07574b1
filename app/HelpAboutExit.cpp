// Exit, help and the about box.
#include "app/Frmhex.h"
#include "app/HelpContext.h"
#include "platform/HelpViewer.h"
#include "ui/About.h"

#include <QApplication>
#include <QMenu>
#include <memory>

void TFrmHexEditor::MnuEndeClick() {
    close();
}

void TFrmHexEditor::MnuInhaltClick() {
    platform_.help.showContents();
}

void TFrmHexEditor::MnuInfoClick() {
    // A fresh box for every showing, destroyed when it has closed.
    auto box = std::make_unique<TFrmAbout>();
    box->exec();
}

void TFrmHexEditor::ShowContextHelp() {
    // An open menu has the keyboard: its highlighted item asks, else the focus widget,
    // else the window itself.
    const QObject* source = this;
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        source = menu->activeAction() ? static_cast<const QObject*>(menu->activeAction())
                                      : static_cast<const QObject*>(menu);
    } else if (QWidget* focus = focusWidget()) {
        source = focus;
    }
    const std::optional<int> context = zirpel::FindHelpContext(source);
    if (!context)
        return;
    // The help window is not to open behind a menu that still holds the keyboard.
    while (QWidget* popup = QApplication::activePopupWidget()) {
        if (!popup->close())
            break;
    }
    platform_.help.showContext(*context);
}

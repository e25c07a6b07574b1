// Exit, help and the about box.
#include "core/system/HelpContext.h"
#include "core/system/HelpViewer.h"
#include "widgets/About.h"
#include "window/Frmhex.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <memory>

namespace zirpel {

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
    // An open menu has the keyboard: only its highlighted item's own context counts;
    // neither the menu nor the window lends one. Otherwise the focus widget asks, else
    // the window itself.
    std::optional<int> context;
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        if (const QAction* item = menu->activeAction())
            context = OwnHelpContext(item);
    } else {
        context = FindHelpContext(focusWidget() ? focusWidget() : this);
    }
    if (!context)
        return;
    // The help window is not to open behind a menu that still holds the keyboard.
    while (QWidget* popup = QApplication::activePopupWidget()) {
        if (!popup->close())
            break;
    }
    platform_.help.showContext(*context);
}

} // namespace zirpel

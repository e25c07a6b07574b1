// Exit, help and the about box.
#include "app/Frmhex.h"
#include "platform/HelpViewer.h"
#include "ui/About.h"

#include <memory>

void TFrmHexEditor::MnuEndeClick() { close(); }

void TFrmHexEditor::MnuInhaltClick() { platform_.help.showContents(); }

void TFrmHexEditor::MnuInfoClick() {
    // A fresh box for every showing, destroyed when it has closed.
    auto box = std::make_unique<TFrmAbout>();
    box->exec();
}

void TFrmHexEditor::ShowContextHelp() {}

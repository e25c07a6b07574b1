// The recent-file items of the file menu.
#include "core/file/FileSystem.h"
#include "core/settings/RecentFileList.h"
#include "core/system/Dialogs.h"
#include "widgets/FrmhexForm.h"
#include "window/Frmhex.h"

#include <QAction>

namespace zirpel {

void TFrmHexEditor::AddRecentFile(const QString& name) {
    AddToTop(RecentFiles, name);
    UpdateRecentMenu();
}

void TFrmHexEditor::UpdateRecentMenu() {
    QAction* items[] = {ui->MnuObjekt1, ui->MnuObjekt2, ui->MnuObjekt3, ui->MnuObjekt4};
    for (int k = 0; k < kRecentFiles; ++k)
        // A name's "&" is shown as it is, never taken for a mnemonic.
        items[k]->setText(RecentCaption(
            k + 1, QString(RecentFiles[k]).replace(QLatin1Char('&'), QStringLiteral("&&"))));
}

void TFrmHexEditor::OpenRecentFile(int index) {
    if (index < 0 || index >= kRecentFiles)
        return;
    const QString title = QStringLiteral("Auswahl Objekt");
    if (RecentFiles[index].isEmpty()) {
        platform_.dialogs.systemMessage(
            QStringLiteral("Die Menüzeile enthält keinen gültigen Dateinamen!"), title,
            Dialogs::Icon::Warning);
        return;
    }
    if (!fileExists(RecentFiles[index])) {
        platform_.dialogs.systemMessage(QStringLiteral("Die Datei existiert nicht mehr!"), title,
                                        Dialogs::Icon::Warning);
        RemoveAt(RecentFiles, index);
        UpdateRecentMenu();
        return;
    }
    const QString name = RecentFiles[index];
    MoveIndexToTop(RecentFiles, index);
    UpdateRecentMenu();
    OpenFile(name);
}

} // namespace zirpel

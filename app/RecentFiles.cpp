// The recent-file items of the file menu.
#include "app/Frmhex.h"
#include "app/RecentFileList.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "ui/FrmhexForm.h"

#include <QAction>

void TFrmHexEditor::AddRecentFile(const QString& name) {
    zirpel::AddToTop(RecentFiles, name);
    UpdateRecentMenu();
}

void TFrmHexEditor::UpdateRecentMenu() {
    QAction* items[] = {ui->MnuObjekt1, ui->MnuObjekt2, ui->MnuObjekt3, ui->MnuObjekt4};
    for (int k = 0; k < 4; ++k)
        items[k]->setText(zirpel::RecentCaption(k + 1, RecentFiles[k]));
}

void TFrmHexEditor::OpenRecentFile(int index) {
    if (index < 0 || index > 3)
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
        zirpel::RemoveAt(RecentFiles, index);
        UpdateRecentMenu();
        return;
    }
    const QString name = RecentFiles[index];
    zirpel::MoveIndexToTop(RecentFiles, index);
    UpdateRecentMenu();
    OpenFile(name);
}

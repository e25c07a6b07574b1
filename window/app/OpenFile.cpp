// Opening a file: the open dialog, the existence test and the load of the first page.
#include "core/file/FileSystem.h"
#include "core/system/Dialogs.h"
#include "widgets/FrmhexForm.h"
#include "widgets/StringGrid.h"
#include "window/Frmhex.h"

#include <QDir>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>

namespace zirpel {

namespace {

const QString kOpenTitle = QStringLiteral("Öffnen Datei");

QString OpenFilter() {
    return QStringLiteral(
        "Alle Dateien (*.*)|*.*|"
        "Ausführbare Dateien (*.dll; *.exe)|*.DLL;*.EXE|"
        "Typbibliothek (*.tlb; *.dll; *.ocx; *.exe, *.olb)|*.TLB;*.DLL;*.OCX;*.EXE;*.OLB|"
        "Textdateien (*.txt)|*.TXT|"
        "Word-Dateien (*.doc; *.rtf)|*.DOC;*.RTF|"
        "Visual Basic Files (*.frm; *.bas; *.cls)|*.FRM;*.BAS;*.CLS|"
        "C++ Files (*.c; *.cpp, *.cxx, *.h)|*.C;*.CPP;*.CXX, *.H|"
        "C++ Source Files (*.c; *.cpp, *.cxx)|*.C;*.CPP;*.CXX|"
        "C++ Include Files (*.h; *.hpp, *.hxx)|*.H;*.HPP;*.HXX|"
        "Pascal Unit (*.pas)|*.PAS|");
}

} // namespace

void TFrmHexEditor::MnuOeffnenClick() {
    const std::optional<QString> chosen = platform_.dialogs.openFile(kOpenTitle, OpenFilter());
    if (!chosen)
        return;
    // Shown and stored the system's way: with backslashes on Windows.
    const QString name = QDir::toNativeSeparators(*chosen);
    if (!fileExists(name)) {
        platform_.dialogs.systemMessage(QStringLiteral("Die angegebene Datei ist nicht vorhanden"),
                                        kOpenTitle, Dialogs::Icon::Error);
        return;
    }
    AddRecentFile(name);
    OpenFile(name);
}

void TFrmHexEditor::OpenFile(const QString& name) {
    // The new stream is opened before anything changes: a file that cannot be shown
    // leaves the window as it was.
    BinaryFile stream;
    qint64 size = -1;
    if (stream.open(name, BinaryFile::Mode::Read) && stream.identity())
        size = stream.size();
    if (size < 0) {
        platform_.dialogs.systemMessage(QStringLiteral("Die Datei kann nicht geöffnet werden."),
                                        kOpenTitle, Dialogs::Icon::Error);
        return;
    }
    if (size > kMaxFileSize) {
        platform_.dialogs.systemMessage(
            QStringLiteral(
                "Die Datei ist zu groß. Es können nur Dateien unter 2 GB geöffnet werden."),
            kOpenTitle, Dialogs::Icon::Error);
        return;
    }
    ShowViewControls(true);
    LoadFile(name, std::move(stream), qint32(size));
    // The work goes on in the table, on its current cell.
    ui->HexGrid->setFocus(Qt::OtherFocusReason);
}

void TFrmHexEditor::LoadFile(const QString& name, BinaryFile stream, qint32 size) {
    ui->ToolButtonEdit->setEnabled(true);
    ui->ToolButtonFindChange->setEnabled(true);
    FileName = name;
    dataFileIdentity_ = stream.identity().value_or(FileIdentity{});
    DataFile = std::move(stream); // closes the stream of the file shown before
    // Qt takes "[*]" in a caption for the modified marker; doubled, it shows as it is.
    QString caption = QStringLiteral("Zirpel  [") + name + QLatin1Char(']');
    setWindowTitle(caption.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
    FileSize = size;
    Invalidate(DocumentChange::FileOpened);
    // The panel starts anew, as "Neue Suche" leaves it.
    ResetSearchPanel();
    // Clamping the position may run the scroll handler with the new stream.
    ui->ScrollBarVertikal->setMaximum(FileSize);
    UpdateLayout();
    PageOffset = 0;
    pageReadFailed_ = false;
    ui->ScrollBarVertikal->setValue(0);
    ShowPage();
}

} // namespace zirpel

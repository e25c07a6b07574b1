// TFrmHexEditor: the main window. It owns the open file, the page shown, the view
// options, the search and replace buffers and the recent-file list. Its routines are
// defined in the folders of their subsystems below window/ (app/, view/, search/, edit/).
#pragma once

#include "core/edit/EditRowState.h"
#include "core/file/BinaryFile.h"
#include "core/search/SearchState.h"
#include "core/settings/RecentFileList.h"
#include "core/system/Platform.h"
#include "core/view/Page.h"
#include "widgets/Announcer.h"

#include <QKeyEvent>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <memory>

namespace zirpel {

namespace Ui {
struct FrmHexEditor;
}
class WindowPlacer;

// A rectangle as four signed 32-bit edges.
struct TRect {
    qint32 Left = 0;
    qint32 Top = 0;
    qint32 Right = 0;
    qint32 Bottom = 0;
    friend bool operator==(const TRect&, const TRect&) = default;
};

class TFrmHexEditor : public QMainWindow {
    Q_OBJECT
public:
    explicit TFrmHexEditor(const Platform& platform, QWidget* parent = nullptr);
    ~TFrmHexEditor() override;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend struct FrmHexEditorTestAccess;

    // Document state.
    QString FileName;
    bool StartupPending = false;
    TRect CharFocusRect;
    qint32 Columns = 0;
    qint32 Rows = 0;
    qint32 PageSize = 0;
    qint32 PageOffset = 0;
    qint32 GridLineWidth = 0;
    qint32 AddressColumnWidth = 0;
    qint32 ByteColumnWidth = 0;
    qint32 CharWidth = 0;
    qint32 DecimalAddresses = 0;
    qint32 SearchPanelVisible = 0;
    qint32 EditPanelVisible = 0;
    BinaryFile DataFile;
    // The file DataFile is on: writes go into it alone, whatever FileName leads to now.
    FileIdentity dataFileIdentity_;
    qint32 FileSize = 0;
    std::array<quint8, kMaxPageSize> PageBuffer{};
    // Kept as part of the window's documented state only: the scan reads through
    // buffers of its own (core/search/HitScanner), so nothing uses this field.
    std::array<quint8, kMaxPageSize> SearchWindow{};
    std::array<char, kMaxRowText> TextLineBuffer{};
    RecentList RecentFiles;
    // SearchPattern, ReplacePattern and their lengths are kept by search_, with the hits.

    // Construction, in the order the constructor runs them (window/Frmhex.cpp): the form,
    // the handlers of each subsystem, where the focus goes, the keys.
    void BuildForm();
    void ConnectAppHandlers();
    void ConnectViewHandlers();
    void ConnectSearchHandlers();
    void ConnectEditHandlers();
    void ConnectFocusRules();
    void InstallKeys();
    // The window's handling of a key pressed or offered as a shortcut anywhere in it; true
    // when the key is used up.
    bool KeyTaken(QObject* watched, QKeyEvent& key);

    // Where the focus goes (window/Frmhex.cpp). A panel that goes takes no focus along.
    void TakeFocusFromPanels();
    void FocusTable();
    // After the edit panel's toggle: its row when one is loaded, else the table.
    void FocusEditRowOrTable();
    // A control that became disabled or hidden never hands the focus to the tool bar.
    void KeepFocusOffToolBar(QWidget* old, QWidget* now);

    // Lifecycle (window/Frmhex.cpp).
    void FormCreate();
    void FormActivate();
    void FormClose();
    void ShowViewControls(bool visible);
    [[nodiscard]] QPoint OuterTopLeft() const;

    // Opening a file (window/app/OpenFile.cpp).
    void MnuOeffnenClick();
    void OpenFile(const QString& name);
    void LoadFile(const QString& name, BinaryFile stream, qint32 size);

    // Recent files (window/app/RecentFiles.cpp).
    void AddRecentFile(const QString& name);
    void UpdateRecentMenu();
    void OpenRecentFile(int index);
    void MnuObjekt1Click() { OpenRecentFile(0); }
    void MnuObjekt2Click() { OpenRecentFile(1); }
    void MnuObjekt3Click() { OpenRecentFile(2); }
    void MnuObjekt4Click() { OpenRecentFile(3); }

    // Settings (window/app/Settings.cpp).
    void LoadSettings();
    void SaveSettings();

    // Help, about and exit (window/app/HelpAboutExit.cpp).
    void MnuEndeClick();
    void MnuInhaltClick();
    void MnuInfoClick();
    // F1: the help context of the focus widget or its nearest parent that has one.
    void ShowContextHelp();

    // Page rendering (window/view/RenderPage.cpp).
    void RenderPage();

    // Page reading (window/view/ReadPage.cpp).
    void ReadPage();
    // ReadPage, then RenderPage: the page as the file now is.
    void ShowPage();
    // The page PageOffset and PageSize describe, with its rules.
    [[nodiscard]] Page CurrentPage() const { return {PageOffset, PageSize}; }

    // Scrolling (window/view/Scrolling.cpp).
    void ScrollBarVertikalChange();

    // Layout and display options (window/view/Layout.cpp).
    void UpdateLayout();
    void CSpinEditReihenChange();
    void CSpinEditSpaltenChange();
    void ToolButtonGitterClick();
    void ToolButtonHexDezClick();
    void ToolButtonFindChangeClick();
    void ToolButtonEditClick();

    // Mouse on the table (window/view/GridMouse.cpp).
    void HexGridMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void HexGridMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void HexGridDblClick();

    // Parsing (window/search/Parsing.cpp).
    [[nodiscard]] qint32 AddressTextToOffset(const QString& text) const;
    [[nodiscard]] int ParseSearchPattern();
    [[nodiscard]] int ParseReplacePattern();
    void ComboBoxSuchenExit();
    void ComboBoxErsetzenExit();

    // Shows the search state's phase in the panel (window/search/SearchPanel.cpp). Ready:
    // BtnSuchen enabled, BtnNeueSuche and BtnErsetzen disabled; the entries and the count
    // label stay as they are unless enableEntries asks to enable the entries. Listed:
    // BtnSuchen and both entries disabled, BtnNeueSuche enabled, BtnErsetzen enabled when
    // there is a replacement text.
    void ShowSearchPhase(bool enableEntries = false);

    // Search and hit list (window/search/SearchFile.cpp).
    void BtnSuchenClick();
    void SearchFile();
    void BtnNeueSucheClick();
    void BtnHilfeClick();
    // The panel as "Neue Suche" leaves it, from every path that starts it anew: no hits,
    // no count (on the screen nor for a screen reader), "&Suchen" and the entries enabled,
    // "&Ersetzen" and "&Neue Suche" disabled; the entries keep their texts. Showing the
    // panel does less: the base goes back to hex, the entries and the count label stay.
    enum class SearchReset { NewSearch, PanelShown };
    void ResetSearchPanel(SearchReset how = SearchReset::NewSearch);

    // Hit navigation (window/search/Navigation.cpp).
    void ListBoxTrefferClick();
    // Makes the byte at `offset` of the page shown the table's current cell, without
    // taking the focus: going back to the table, the keys and a screen reader start there.
    void MakeTableCurrentAt(qint32 offset);

    // Replace (window/search/Replace.cpp).
    void BtnErsetzenClick();

    // Edit row (window/edit/EditRow.cpp).
    [[nodiscard]] bool HexEditGridSelectCell(int col, int row) const;
    void HexEditGridSetEditText(int col, int row, const QString& value);

    // Writing edits (window/edit/WriteEdits.cpp).
    void BtnEditGridUebernehmenClick();
    void BtnEditGridCancelClick();

    // Listed hits and a loaded row were made for one file, address base and number of
    // columns. A file opened (LoadFile) and a change of the base or of the columns
    // (UpdateLayout) reach them here, and nowhere else (window/Frmhex.cpp).
    enum class DocumentChange { FileOpened, AddressBaseToggled, ColumnsChanged };
    void Invalidate(DocumentChange change);
    // Disables HexEditGrid, BtnEditGridUebernehmen and BtnEditGridCancel together, and
    // the row they hold.
    void DisableEditRow();

    // Tells a screen reader `text` where its focus is, once the event at hand is over and
    // the focus has gone where it goes; the word before is taken back. After a message box
    // the word waits until the window has the focus back.
    void Announce(const QString& text);
    void AnnounceWhereFocusIs(const QString& text, quint64 word);

    // Runs a handler that needs an open file; before the first file it does nothing.
    void WithFile(void (TFrmHexEditor::*handler)());
    [[nodiscard]] auto WithFileRun(void (TFrmHexEditor::*handler)()) {
        return [this, handler] { WithFile(handler); };
    }
    // A file is open: before the first one, nothing is read, scrolled or searched.
    [[nodiscard]] bool HasFile() const { return DataFile.isOpen(); }

    Platform platform_;
    std::unique_ptr<Ui::FrmHexEditor> ui;
    SearchState search_;
    EditRowState editRow_;
    // The window's outer size and place, whatever frame the window manager draws.
    WindowPlacer* placer_ = nullptr;
    // Bytes of the page that ReadPage really read: a row short of them is not loaded.
    qint32 pageBytesRead_ = 0;
    // The last page read failed: the user has been told.
    bool pageReadFailed_ = false;
    // The window's own keys (Ctrl+O, F, E, Q): no entry or cell editor takes them.
    QList<QKeyCombination> windowKeys_;
    // What a screen reader was last told where its focus was.
    Announcer announcer_;
    // The number of the last word to tell, and the wait for the focus to come back.
    quint64 lastWord_ = 0;
    QMetaObject::Connection focusBack_;
};

} // namespace zirpel

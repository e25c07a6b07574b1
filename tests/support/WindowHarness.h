// The main window with fake platform services, and access to its state for tests.
#pragma once

#include "FakeDialogs.h"
#include "FakeHelpViewer.h"
#include "FileBytes.h"
#include "MemorySettingsStore.h"
#include "app/Frmhex.h"

#include <QByteArray>
#include <QString>
#include <memory>

class QAbstractButton;
class StringGrid;

// Reads and sets the window's private state.
struct FrmHexEditorTestAccess {
    TFrmHexEditor& w;

    QString& FileName() { return w.FileName; }
    bool& StartupPending() { return w.StartupPending; }
    TRect& CharFocusRect() { return w.CharFocusRect; }
    qint32& Columns() { return w.Columns; }
    qint32& Rows() { return w.Rows; }
    qint32& PageSize() { return w.PageSize; }
    qint32& PageOffset() { return w.PageOffset; }
    qint32& GridLineWidth() { return w.GridLineWidth; }
    qint32& DecimalAddresses() { return w.DecimalAddresses; }
    qint32& SearchPanelVisible() { return w.SearchPanelVisible; }
    qint32& EditPanelVisible() { return w.EditPanelVisible; }
    std::array<quint8, 1024>& PageBuffer() { return w.PageBuffer; }
    std::array<QString, 4>& RecentFiles() { return w.RecentFiles; }

    void FormActivate() { w.FormActivate(); }
    void UpdateRecentMenu() { w.UpdateRecentMenu(); }
    void ReadPage() { w.ReadPage(); }
    void RenderPage() { w.RenderPage(); }
};

// Owns the fakes and the window built on them.
class WindowHarness {
public:
    WindowHarness();
    ~WindowHarness();

    FakeDialogs dialogs;
    MemorySettingsStore settings;
    FakeHelpViewer help;
    std::unique_ptr<TFrmHexEditor> window;

    // Builds the window; the settings store can be prepared before.
    TFrmHexEditor& create();
    // Shows the window and waits for its first activation; fails the test without it.
    void showAndActivate();
    // Opens path through the open dialog, as a user does.
    void openThroughDialog(const QString& path);
    FrmHexEditorTestAccess access() { return {*window}; }

    template <typename T> T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    StringGrid* grid() const;
    StringGrid* editGrid() const;
    // Clicks a tool button or push button with the mouse; fails the test when there is
    // no such button.
    void click(const char* name) const;
    // The cell text of the main table.
    [[nodiscard]] QString cell(int col, int row) const;
    [[nodiscard]] QString statusText() const;
    // The page's offset, as the first row's address shows it.
    [[nodiscard]] qint32 shownOffset() const;
};

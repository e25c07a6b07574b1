// The main window with fake platform services, driven as a user does.
#pragma once

#include "FakeDialogs.h"
#include "FakeHelpViewer.h"
#include "FileBytes.h"
#include "MemorySettingsStore.h"
#include "window/Frmhex.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <memory>

class QAbstractButton;

namespace zirpel {

class StringGrid;

// What a test cannot reach as a user does: the recent list changed while a file is
// shown (a user's list comes only from the settings at start). The window's friend.
struct FrmHexEditorTestAccess {
    TFrmHexEditor& w;

    void SetRecentFiles(const std::array<QString, 4>& names) {
        w.RecentFiles = names;
        w.UpdateRecentMenu();
    }
};

} // namespace zirpel

// Owns the fakes and the window built on them.
class WindowHarness {
public:
    WindowHarness();
    ~WindowHarness();

    FakeDialogs dialogs;
    MemorySettingsStore settings;
    FakeHelpViewer help;
    std::unique_ptr<zirpel::TFrmHexEditor> window;

    // Builds the window; the settings store can be prepared before.
    zirpel::TFrmHexEditor& create();
    // Shows the window and waits for its first activation; fails the test without it.
    void showAndActivate();
    // Opens path through the open dialog, as a user does.
    void openThroughDialog(const QString& path);
    zirpel::FrmHexEditorTestAccess access() { return {*window}; }

    template <typename T> T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    zirpel::StringGrid* grid() const;
    zirpel::StringGrid* editGrid() const;
    // Clicks a tool button or push button with the mouse; fails the test when there is
    // no such button.
    void click(const char* name) const;
    // The cell text of the main table.
    [[nodiscard]] QString cell(int col, int row) const;
    [[nodiscard]] QString statusText() const;
    // The page's offset, as the first row's address shows it.
    [[nodiscard]] qint32 shownOffset() const;
    // What a screen reader was last told where the focus is (the description of the
    // focused control, or of a grid's current cell), once the events at hand are over.
    [[nodiscard]] QString told() const;
};

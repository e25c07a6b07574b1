// Settings read at start-up and written at close; the window only hands its fields
// to the store and places itself.
#include "app/Frmhex.h"
#include "app/StoredSettings.h"

#include <QGuiApplication>
#include <QScreen>

void TFrmHexEditor::LoadSettings() {
    const zirpel::LoadedSettings loaded = zirpel::LoadStoredSettings(
        platform_.settings, {RecentFiles, Rows, Columns, DecimalAddresses, GridLineWidth});
    RecentFiles = loaded.values.recentFiles;
    Rows = loaded.values.rows;
    Columns = loaded.values.columns;
    DecimalAddresses = loaded.values.decimalAddresses;
    GridLineWidth = loaded.values.gridLineWidth;
    // On a top-level window move() places the frame; centring, when asked for, happens
    // at the first showing and wins over a stored place.
    bool reachable = false;
    if (loaded.topLeft) {
        // A place off every screen (a screen since removed) would leave the window out
        // of reach; it is centred as if no place were stored.
        const QRect frame(*loaded.topLeft, frameGeometry().size());
        for (const QScreen* screen : QGuiApplication::screens())
            reachable = reachable || screen->availableGeometry().intersects(frame);
        if (reachable) {
            placeAt_ = *loaded.topLeft;
            move(*placeAt_);
        }
    }
    centreOnFirstShow_ = loaded.centre || !reachable;
}

void TFrmHexEditor::SaveSettings() {
    // Nothing is reported: a settings key that cannot be written leaves the old one.
    zirpel::SaveStoredSettings(platform_.settings,
                               {RecentFiles, Rows, Columns, DecimalAddresses, GridLineWidth},
                               QRect(OuterTopLeft(), frameGeometry().size()));
}

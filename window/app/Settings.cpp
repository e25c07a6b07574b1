// Settings read at start-up and written at close; the window only hands its fields
// to the store and places itself.
#include "core/settings/StoredSettings.h"
#include "core/system/ScreenPlace.h"
#include "platform/WindowPlacer.h"
#include "window/Frmhex.h"

#include <QGuiApplication>
#include <QScreen>

namespace zirpel {

void TFrmHexEditor::LoadSettings() {
    const LoadedSettings loaded = LoadStoredSettings(
        platform_.settings, {RecentFiles, Rows, Columns, DecimalAddresses, GridLineWidth});
    RecentFiles = loaded.values.recentFiles;
    Rows = loaded.values.rows;
    Columns = loaded.values.columns;
    DecimalAddresses = loaded.values.decimalAddresses;
    GridLineWidth = loaded.values.gridLineWidth;
    // A place off every screen (a screen since removed) would leave the window out of
    // reach; it is centred as if no place were stored. Centring, when asked for, wins over a
    // stored place.
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    const bool reachable =
        loaded.topLeft && MeetsAnyArea(*loaded.topLeft, frameGeometry().size(), areas);
    placer_->setPlace(reachable && !loaded.centre ? loaded.topLeft : std::nullopt);
}

void TFrmHexEditor::SaveSettings() {
    // Nothing is reported: a settings key that cannot be written leaves the old one.
    SaveStoredSettings(platform_.settings,
                       {RecentFiles, Rows, Columns, DecimalAddresses, GridLineWidth},
                       QRect(OuterTopLeft(), frameGeometry().size()));
}

} // namespace zirpel

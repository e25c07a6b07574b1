// The settings kept between runs and how they are read from and written to the
// settings key: twelve named values, read once at start-up and written once at close.
#pragma once

#include "core/settings/RecentFileList.h"
#include "core/settings/SettingsStore.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

namespace zirpel {

struct StoredSettings {
    RecentList recentFiles;
    qint32 rows = 0;
    qint32 columns = 0;
    qint32 decimalAddresses = 0;
    qint32 gridLineWidth = 0;
    friend bool operator==(const StoredSettings&, const StoredSettings&) = default;
};

struct LoadedSettings {
    StoredSettings values;
    // The stored left and top edges of the window's frame, when both were read.
    std::optional<QPoint> topLeft;
    // The window is centred on the screen when first shown, whatever topLeft says.
    bool centre = false;
};

// Reads the key without creating it. `current` holds the values that stay when the
// integers stop at their first failure; the recent files always start empty.
[[nodiscard]] LoadedSettings LoadStoredSettings(SettingsStore& store,
                                                const StoredSettings& current);

// Opens the key, creating it, and writes all twelve values; one that fails does not
// stop the others. True when the key opened and every value was written.
bool SaveStoredSettings(SettingsStore& store, const StoredSettings& values, const QRect& frame);

} // namespace zirpel

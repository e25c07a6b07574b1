// The real settings store and help viewer that main() hands to the window.
#pragma once

#include "core/settings/SettingsStore.h"
#include "core/system/HelpViewer.h"

#include <memory>

namespace zirpel {

[[nodiscard]] std::unique_ptr<SettingsStore> CreateSettingsStore();
[[nodiscard]] std::unique_ptr<HelpViewer> CreateHelpViewer();

} // namespace zirpel

// The settings store of the platform (the registry on Windows, a JSON file elsewhere)
// and the help viewer over the help file beside the program or in its installed tree.
#include "platform/StartupServices.h"

#include "platform/QtHelpViewer.h"

#include <QCoreApplication>

#ifdef _WIN32
#include "core/settings/RegistrySettingsStore.h"
#else
#include "core/settings/JsonSettingsStore.h"
#endif

namespace zirpel {

std::unique_ptr<SettingsStore> CreateSettingsStore() {
#ifdef _WIN32
    return std::make_unique<RegistrySettingsStore>();
#else
    return std::make_unique<JsonSettingsStore>(DefaultSettingsPath());
#endif
}

std::unique_ptr<HelpViewer> CreateHelpViewer() {
    return std::make_unique<QtHelpViewer>(QCoreApplication::applicationDirPath());
}

} // namespace zirpel

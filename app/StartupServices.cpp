#include "app/StartupServices.h"

namespace {

// Until the settings file and the help window exist: no key, no help.
class NoSettings : public SettingsStore {
public:
    bool open(bool) override { return false; }
    std::optional<QString> readString(const QString&) override { return std::nullopt; }
    std::optional<qint32> readInt(const QString&) override { return std::nullopt; }
    bool writeString(const QString&, const QString&) override { return false; }
    bool writeInt(const QString&, qint32) override { return false; }
    void close() override {}
};

class NoHelp : public HelpViewer {
public:
    void showContents() override {}
    void showContext(int) override {}
};

} // namespace

std::unique_ptr<SettingsStore> CreateSettingsStore() { return std::make_unique<NoSettings>(); }
std::unique_ptr<HelpViewer> CreateHelpViewer() { return std::make_unique<NoHelp>(); }

// The outside services the main window uses, handed to its constructor:
// main() passes the real ones, tests pass fakes.
#pragma once

namespace zirpel {

class Dialogs;
class SettingsStore;
class HelpViewer;

struct Platform {
    Dialogs& dialogs;
    SettingsStore& settings;
    HelpViewer& help;
};

} // namespace zirpel

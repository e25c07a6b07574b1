// Start-up: the application titled "Zirpel" with the help file "Tamsel.hlp", the main
// window with the real platform services, and the message loop.
#include "core/settings/SettingsStore.h"
#include "core/system/HelpViewer.h"
#include "core/system/SystemLocale.h"
#include "platform/Application.h"
#include "platform/QtDialogs.h"
#include "platform/StartupServices.h"
#include "window/Frmhex.h"

#include <exception>

using namespace zirpel;

int main(int argc, char** argv) {
    UseGermanSystemLocale();
    Application app(argc, argv);
    app.setProperty("helpFile", QStringLiteral("Tamsel.hlp"));
    // Lets the desktop match the window to its menu entry and icon: the application's ID
    // that names the entry (CMakeLists.txt).
    QGuiApplication::setDesktopFileName(QStringLiteral(ZIRPEL_APP_ID));
    // The report needs the application object, so it is caught inside its life.
    try {
        QtDialogs dialogs;
        auto settings = CreateSettingsStore();
        auto help = CreateHelpViewer();
        auto* window = new TFrmHexEditor(Platform{dialogs, *settings, *help});
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        app.exec();
    } catch (const std::exception& e) {
        ShowExceptionReport(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowExceptionReport(QStringLiteral("Unbekannter Fehler."));
    }
    return 0;
}

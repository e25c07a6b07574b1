#include "platform/Application.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <exception>

namespace zirpel {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Zirpel"));
    setOrganizationName(QStringLiteral("Quillmark"));
    // The toolkit's own texts (open dialog, standard buttons) in German, like the rest,
    // and its formatted ones (sizes, dates, file types) too, whatever the system's locale.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowExceptionReport(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowExceptionReport(QStringLiteral("Unbekannter Fehler."));
    }
    return false;
}

void ShowExceptionReport(const QString& text) {
    QMessageBox::critical(nullptr, QStringLiteral("Zirpel"), text);
}

} // namespace zirpel

#include "app/Application.h"

#include <QMessageBox>
#include <exception>

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Zirpel"));
    setOrganizationName(QStringLiteral("Quillmark"));
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

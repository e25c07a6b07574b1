// The message boxes and the open dialog the main window asks its user through.
#pragma once

#include <QPoint>
#include <QString>
#include <optional>

namespace zirpel {

class Dialogs {
public:
    enum class Icon { Error, Warning };

    virtual ~Dialogs() = default;

    // A plain system message box without an owner window.
    virtual void systemMessage(const QString& text, const QString& title, Icon icon) = 0;
    // The application's simple box: caption "Zirpel", one OK button, centred on the screen.
    virtual void appMessage(const QString& text) = 0;
    // "Bestätigung" with "&Ja" and "&Nein", its top left corner at topLeft (screen).
    // True only for "&Ja".
    [[nodiscard]] virtual bool confirm(const QString& question, QPoint topLeft) = 0;
    // The open dialog; filter is a list of "text|patterns|" entries. Keeps the last name
    // and filter for the run. Nothing when the user cancels.
    [[nodiscard]] virtual std::optional<QString> openFile(const QString& title,
                                                          const QString& filter) = 0;
};

} // namespace zirpel

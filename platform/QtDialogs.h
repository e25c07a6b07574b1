// Dialogs shown with QMessageBox and QFileDialog.
#pragma once

#include "platform/Dialogs.h"

#include <QStringList>

class QFileDialog;

class QtDialogs : public Dialogs {
public:
    void systemMessage(const QString& text, const QString& title, Icon icon) override;
    void appMessage(const QString& text) override;
    bool confirm(const QString& question, QPoint topLeft) override;
    std::optional<QString> openFile(const QString& title, const QString& filter) override;

private:
    void PreselectLastName(QFileDialog& dialog) const;

    QString lastName_;
    QString lastFilter_;
};

// Turns "text|patterns|text|patterns|" into Qt name filters "text (p1 p2 ...)".
// Patterns may be separated by ';' or ',' and carry blanks.
[[nodiscard]] QStringList NameFiltersFromBarList(const QString& filter);
// The entry of filters that the open dialog shows as shown: with its details hidden the
// dialog hands back the entry's text without its patterns. Empty when none matches.
[[nodiscard]] QString FullNameFilter(const QStringList& filters, const QString& shown);

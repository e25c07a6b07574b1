// Dialogs shown with QMessageBox and QFileDialog.
#pragma once

#include "core/system/Dialogs.h"

class QFileDialog;

namespace zirpel {

class QtDialogs : public Dialogs {
public:
    void systemMessage(const QString& text, const QString& title, Icon icon) override;
    void appMessage(const QString& text) override;
    bool confirm(const QString& question, QPoint topLeft) override;
    std::optional<QString> openFile(const QString& title, const QString& filter) override;

private:
    void preselectLastName(QFileDialog& dialog) const;

    QString lastName_;
    QString lastFilter_;
};

} // namespace zirpel

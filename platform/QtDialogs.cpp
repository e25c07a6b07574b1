#include "platform/QtDialogs.h"
#include "platform/OpenFilter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

void QtDialogs::systemMessage(const QString& text, const QString& title, Icon icon) {
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::Warning, title, text,
                    QMessageBox::Ok);
    box.exec();
}

void QtDialogs::appMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Zirpel"), text, QMessageBox::Ok);
    box.adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = box.frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        box.move(r.topLeft());
    }
    box.exec();
}

bool QtDialogs::confirm(const QString& question, QPoint topLeft) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Bestätigung"), question);
    QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.move(topLeft);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<QString> QtDialogs::openFile(const QString& title, const QString& filter) {
    QFileDialog dialog(nullptr, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The list shows each entry's own text; the appended patterns only drive the filtering.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    // A typed name that does not exist is handed back; the caller reports it.
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = NameFiltersFromBarList(filter);
    dialog.setNameFilters(filters);
    if (filters.contains(lastFilter_))
        dialog.selectNameFilter(lastFilter_);
    if (!lastName_.isEmpty())
        dialog.selectFile(lastName_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    lastName_ = dialog.selectedFiles().first();
    lastFilter_ = dialog.selectedNameFilter();
    return lastName_;
}

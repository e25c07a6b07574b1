#include "platform/QtDialogs.h"
#include "core/system/OpenFilter.h"
#include "platform/WindowPlacer.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace zirpel {

void QtDialogs::systemMessage(const QString& text, const QString& title, Icon icon) {
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::Warning, title, text,
                    QMessageBox::Ok);
    box.exec();
}

void QtDialogs::appMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Zirpel"), text, QMessageBox::Ok);
    const WindowPlacer centred(box);
    box.exec();
}

bool QtDialogs::confirm(const QString& question, QPoint topLeft) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Bestätigung"), question);
    QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    WindowPlacer placer(box);
    placer.setPlace(topLeft);
    box.exec();
    return box.clickedButton() == yes;
}

namespace {

// Until the user's first key or click in the name box, the name put there stays selected
// whole: a key that types replaces it, whatever the dialog did to the box meanwhile. From
// then on the box is the user's alone.
class NameBoxGuard : public QObject {
public:
    NameBoxGuard(QLineEdit* box, const QString& name) : QObject(box), box_(box), name_(name) {
        box->installEventFilter(this);
    }
    [[nodiscard]] bool touched() const { return touched_; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (!touched_ && !static_cast<QKeyEvent*>(event)->text().isEmpty() &&
                box_->text() == name_)
                box_->selectAll();
            touched_ = true;
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::InputMethod:
            touched_ = true;
            break;
        default:
            break;
        }
        return false;
    }

private:
    QLineEdit* box_;
    QString name_;
    bool touched_ = false;
};

} // namespace

void QtDialogs::preselectLastName(QFileDialog& dialog) const {
    if (lastName_.isEmpty())
        return;
    // The folder is read in the background, and a name chosen with selectFile() before it
    // has been read is chosen again when it has, over whatever the user typed or picked
    // meanwhile. So the name box gets the last name now, and the list marks it once the
    // folder is read, only if the user has not touched the name box by then.
    const QFileInfo last(lastName_);
    auto* nameBox = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* list = dialog.findChild<QAbstractItemView*>(QStringLiteral("listView"));
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (!nameBox || !list || !model) {
        dialog.selectFile(lastName_);
        return;
    }
    dialog.setDirectory(last.absolutePath());
    // Selected whole, so that the first key typed replaces it.
    nameBox->setText(last.fileName());
    nameBox->selectAll();
    const auto* guard = new NameBoxGuard(nameBox, last.fileName());
    // The dialog marks a name set into the box in the list at once, and a name the user
    // puts into the box before it has the focus is marked beside it, not instead: the
    // dialog would then open the first one marked, the last name. Until the folder is
    // read only the name box holds it.
    list->selectionModel()->clearSelection();
    QObject::connect(model, &QFileSystemModel::directoryLoaded, guard,
                     [&dialog, nameBox, guard, last](const QString& folder) {
                         if (guard->touched() || folder != last.absolutePath() ||
                             nameBox->text() != last.fileName())
                             return;
                         dialog.selectFile(last.absoluteFilePath());
                         // Marking it may write the name into the box again, unselected.
                         nameBox->setText(last.fileName());
                         nameBox->selectAll();
                     });
}

std::optional<QString> QtDialogs::openFile(const QString& title, const QString& filter) {
    // The system's own dialog on Windows; Qt's elsewhere, where there is no system dialog
    // (offscreen) or the desktop's differs from session to session. The system's dialog
    // belongs to the window it was opened from: it stays above it, and the system makes
    // that window active again when it closes.
    const bool native = QGuiApplication::platformName() == QLatin1String("windows");
    QFileDialog dialog(native ? QApplication::activeWindow() : nullptr, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog, !native);
    // The list shows each entry's own text; the appended patterns only drive the filtering.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    // A typed name that does not exist is handed back; the caller reports it.
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = NameFiltersFromBarList(filter);
    dialog.setNameFilters(filters);
    if (filters.contains(lastFilter_))
        dialog.selectNameFilter(lastFilter_);
    if (native && !lastName_.isEmpty()) {
        // The system's dialog takes the name once, when it opens, and then leaves the name
        // box to the user.
        dialog.setDirectory(QFileInfo(lastName_).absolutePath());
        dialog.selectFile(lastName_);
    } else if (!native) {
        preselectLastName(dialog);
    }
    // The name box offers no completions: a popup of them still open when Return closes
    // the dialog leaves no window of the program active under some window managers
    // (openbox), and every key after it goes nowhere. The name is taken as typed.
    if (auto* nameBox = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        nameBox->setCompleter(nullptr);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    lastName_ = dialog.selectedFiles().first();
    lastFilter_ = FullNameFilter(filters, dialog.selectedNameFilter());
    return lastName_;
}

} // namespace zirpel

// The help file is looked up afresh on every request, so a file installed or removed
// while the program runs is noticed; a missing file is explained in the window itself.
#include "platform/QtHelpViewer.h"
#include "platform/Images.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <utility>

namespace zirpel {

QStringList HelpFileCandidates(const QString& executableDir) {
    const QDir dir(executableDir);
    const QString name = QString::fromLatin1(HelpFileName);
    return {QDir::cleanPath(dir.filePath(name)),
            QDir::cleanPath(dir.filePath(QStringLiteral("../share/zirpel/") + name))};
}

std::optional<QString> FindHelpFile(const QString& executableDir) {
    for (const QString& candidate : HelpFileCandidates(executableDir)) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return std::nullopt;
}

QtHelpViewer::QtHelpViewer(QString executableDir) : executableDir_(std::move(executableDir)) {}

QtHelpViewer::~QtHelpViewer() = default;

void QtHelpViewer::showContents() {
    showTopic(QStringLiteral("contents"));
}

void QtHelpViewer::showContext(int context) {
    showTopic(QString::number(context));
}

void QtHelpViewer::showTopic(const QString& anchor) {
    if (!browser_) {
        browser_ = std::make_unique<QTextBrowser>();
        browser_->setObjectName(QStringLiteral("HelpViewer"));
        browser_->setWindowTitle(QStringLiteral("Zirpel-Hilfe"));
        browser_->setOpenExternalLinks(true);
        browser_->resize(560, 480);
        // An open help window does not keep the program running once the main window closed.
        browser_->setAttribute(Qt::WA_QuitOnClose, false);
        InitImages();
        browser_->setWindowIcon(QIcon(QStringLiteral(":/images/zirpel.xpm")));
        // Closed like the desktop's other viewers.
        for (const QKeySequence& keys :
             {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
            auto* shortcut = new QShortcut(keys, browser_.get());
            QObject::connect(shortcut, &QShortcut::activated, browser_.get(), &QWidget::close);
        }
    }
    if (const std::optional<QString> path = FindHelpFile(executableDir_)) {
        QUrl url = QUrl::fromLocalFile(*path);
        url.setFragment(anchor);
        browser_->setSource(url, QTextDocument::HtmlResource);
    } else {
        QString places;
        for (const QString& candidate : HelpFileCandidates(executableDir_))
            places += QStringLiteral("<li>") + QDir::toNativeSeparators(candidate).toHtmlEscaped() +
                      QStringLiteral("</li>");
        // Forget the file shown before, so that it is read again once it is back.
        browser_->setSource(QUrl());
        browser_->setHtml(QStringLiteral("<h2>Hilfe nicht verfügbar</h2>"
                                         "<p>Die Hilfedatei „%1“ wurde nicht gefunden.</p>"
                                         "<p>Gesucht wurde in:</p><ul>%2</ul>")
                              .arg(QString::fromLatin1(HelpFileName), places));
    }
    browser_->show();
    browser_->raise();
    browser_->activateWindow();
}

} // namespace zirpel

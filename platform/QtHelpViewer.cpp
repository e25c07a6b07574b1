// The help file is looked up afresh on every request, so a file installed or removed
// while the program runs is noticed; a missing file is explained in the window itself.
#include "platform/QtHelpViewer.h"
#include "platform/Images.h"
#include "platform/ReaderNotice.h"

#include <QAccessibleWidget>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <QShortcut>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>
#include <tuple>
#include <utility>

namespace zirpel {

namespace {

// A link of the help text: the characters from start to end.
struct Link {
    int start, end;
};

// The links of a document in their order, one for each run of characters with the same
// target.
QList<Link> Links(const QTextDocument& document) {
    QList<Link> links;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString href;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment part = it.fragment();
            const QTextCharFormat format = part.charFormat();
            const QString here = format.isAnchor() ? format.anchorHref() : QString();
            if (!here.isEmpty() && here == href && links.last().end == part.position())
                links.last().end = part.position() + part.length();
            else if (!here.isEmpty())
                links.append({part.position(), part.position() + part.length()});
            href = here;
        }
    }
    return links;
}

// The help text, read as a text with a caret: the arrow keys move it line by line, Tab
// and Shift+Tab go from link to link, Return follows the link. A topic shown puts the
// caret on its heading, so that a screen reader starts there.
class HelpText : public QTextBrowser {
public:
    explicit HelpText(QWidget* parent) : QTextBrowser(parent) {
        setObjectName(QStringLiteral("HelpText"));
        setAccessibleName(QStringLiteral("Hilfetext"));
        setFocusPolicy(Qt::StrongFocus);
        setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
        connect(this, &QTextBrowser::anchorClicked, this, [this] { following_ = true; });
        connect(this, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
            if (url.hasFragment())
                putCaretAt(url.fragment());
            // A followed link moves the caret without a key that reads it: the reader,
            // back on the text from the link, is told where it landed.
            if (std::exchange(following_, false)) {
                if (QAccessible::isActive()) {
                    QAccessibleEvent event(this, QAccessible::Focus);
                    QAccessible::updateAccessibility(&event);
                }
                NotifyReader(window(), textCursor().block().text().trimmed());
            }
        });
    }

protected:
    bool focusNextPrevChild(bool next) override {
        // The next link from the caret on (the toolkit's own search starts at the top
        // whenever no link is chosen), round to the first past the end.
        const QList<Link> links = Links(*document());
        if (links.isEmpty())
            return QTextBrowser::focusNextPrevChild(next);
        const QTextCursor caret = textCursor();
        const Link* chosen = next ? &links.first() : &links.last();
        if (next) {
            for (const Link& link : links)
                if (link.start >= caret.selectionEnd() && link.start != caret.selectionStart()) {
                    chosen = &link;
                    break;
                }
        } else {
            for (auto it = links.crbegin(); it != links.crend(); ++it)
                if (it->end <= caret.selectionStart()) {
                    chosen = &*it;
                    break;
                }
        }
        QTextCursor link(document());
        link.setPosition(chosen->start);
        link.setPosition(chosen->end, QTextCursor::KeepAnchor);
        setTextCursor(link);
        // A reader hears the link chosen as a link: the text's child of that place.
        if (QAccessible::isActive()) {
            QAccessibleEvent event(this, QAccessible::Focus);
            event.setChild(int(chosen - links.data()));
            QAccessible::updateAccessibility(&event);
        }
        return true;
    }

private:
    bool following_ = false;

    void putCaretAt(const QString& anchor) {
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                if (it.fragment().charFormat().anchorNames().contains(anchor)) {
                    QTextCursor caret(block);
                    setTextCursor(caret);
                    return;
                }
            }
        }
    }
};

// A link of the help text as a screen reader sees it: the link at its place in the text
// shown, named by its words, focused while Tab has chosen it.
class HelpLinkAccessible : public QAccessibleInterface {
public:
    HelpLinkAccessible(QTextBrowser* text, int index) : text_(text), index_(index) {}

    bool isValid() const override { return text_ && index_ < Links(*text_->document()).size(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        const QAccessibleInterface* text = parent();
        return text ? text->window() : nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(text_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !isValid())
            return {};
        return range().selectedText().trimmed();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid())
            return {};
        const QTextCursor r = range();
        QTextCursor start = r, end = r;
        start.setPosition(r.selectionStart());
        end.setPosition(r.selectionEnd());
        const QRect area = text_->cursorRect(start).united(text_->cursorRect(end));
        return {text_->viewport()->mapToGlobal(area.topLeft()), area.size()};
    }
    QAccessible::Role role() const override { return QAccessible::Link; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid())
            return s;
        s.focusable = true;
        s.linked = true;
        const QTextCursor caret = text_->textCursor();
        const QTextCursor r = range();
        s.focused = text_->hasFocus() && caret.selectionStart() == r.selectionStart() &&
                    caret.selectionEnd() == r.selectionEnd();
        return s;
    }

private:
    [[nodiscard]] QTextCursor range() const {
        const Link link = Links(*text_->document()).at(index_);
        QTextCursor c(text_->document());
        c.setPosition(link.start);
        c.setPosition(link.end, QTextCursor::KeepAnchor);
        return c;
    }

    QPointer<QTextBrowser> text_;
    int index_;
};

// What a screen reader sees of it: a read-only text of many lines with a caret, not the
// label the toolkit makes of a browser; its links are its children.
class HelpTextAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit HelpTextAccessible(QTextBrowser* text)
        : QAccessibleWidget(text, QAccessible::EditableText) {}
    ~HelpTextAccessible() override {
        for (const QAccessible::Id id : std::as_const(links_))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return int(Links(*document()).size()); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        while (links_.size() <= index) {
            auto* link = new HelpLinkAccessible(browser(), int(links_.size()));
            links_.append(QAccessible::registerAccessibleInterface(link));
        }
        return QAccessible::accessibleInterface(links_.at(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (qsizetype i = 0; i < links_.size(); ++i)
            if (QAccessible::accessibleInterface(links_.at(i)) == child)
                return child->isValid() ? int(i) : -1;
        return -1;
    }
    QAccessibleInterface* focusChild() const override {
        for (int i = 0; i < childCount(); ++i)
            if (child(i)->state().focused)
                return child(i);
        return nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    int characterCount() const override { return document()->characterCount() - 1; }
    QString text(int start, int end) const override {
        return range(start, end).selectedText().replace(QChar(QChar::ParagraphSeparator), u'\n');
    }
    QString text(QAccessible::Text t) const override { return QAccessibleWidget::text(t); }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                         int* end) const override {
        return around(offset, boundary, 0, start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                             int* end) const override {
        return around(offset, boundary, -1, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                            int* end) const override {
        return around(offset, boundary, 1, start, end);
    }
    int cursorPosition() const override { return browser()->textCursor().position(); }
    void setCursorPosition(int position) override {
        browser()->setTextCursor(range(position, position));
    }
    int selectionCount() const override { return browser()->textCursor().hasSelection() ? 1 : 0; }
    void selection(int index, int* start, int* end) const override {
        const QTextCursor c = browser()->textCursor();
        *start = *end = 0;
        if (index == 0 && c.hasSelection()) {
            *start = c.selectionStart();
            *end = c.selectionEnd();
        }
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0)
            setCursorPosition(cursorPosition());
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0)
            browser()->setTextCursor(range(start, end));
    }
    QRect characterRect(int offset) const override {
        QRect r = browser()->cursorRect(range(offset, offset));
        r.setWidth(qMax(1, browser()->cursorRect(range(offset + 1, offset + 1)).left() - r.left()));
        return QRect(browser()->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        return browser()->cursorForPosition(browser()->viewport()->mapFromGlobal(point)).position();
    }
    void scrollToSubstring(int start, int) override {
        browser()->setTextCursor(range(start, start));
    }
    QString attributes(int, int* start, int* end) const override {
        // None told: the whole text is one run.
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    // The objects of the links, by their place in the text: each stands for the link at
    // its place in whatever text is shown.
    mutable QList<QAccessible::Id> links_;

    [[nodiscard]] QTextBrowser* browser() const { return static_cast<QTextBrowser*>(widget()); }
    [[nodiscard]] QTextDocument* document() const { return browser()->document(); }
    [[nodiscard]] QTextCursor range(int start, int end) const {
        const int last = characterCount();
        QTextCursor c(document());
        c.setPosition(qBound(0, start, last));
        c.setPosition(qBound(0, end, last), QTextCursor::KeepAnchor);
        return c;
    }
    // The line (word, sentence, ...) at the offset, or the one before or after it; lines
    // as laid out on the screen. A line runs up to the start of the next one, its line
    // break included, as readers expect of a line.
    QString around(int offset, QAccessible::TextBoundaryType boundary, int step, int* start,
                   int* end) const {
        const auto at = [&](int position) {
            auto found =
                QAccessible::qAccessibleTextBoundaryHelper(range(position, position), boundary);
            if (boundary == QAccessible::LineBoundary &&
                text(found.second, found.second + 1) == QLatin1String("\n"))
                ++found.second;
            return found;
        };
        auto [first, past] = at(offset);
        if (step != 0 && (step < 0 ? first > 0 : past < characterCount()))
            std::tie(first, past) = at(step < 0 ? first - 1 : past);
        else if (step != 0)
            first = past = step < 0 ? 0 : characterCount();
        *start = first;
        *end = past;
        return text(first, past);
    }
};

QAccessibleInterface* HelpTextFactory(const QString& key, QObject* object) {
    if (key != QLatin1String("QTextBrowser"))
        return nullptr;
    auto* text = dynamic_cast<HelpText*>(object);
    return text ? new HelpTextAccessible(text) : nullptr;
}

} // namespace

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
    if (!window_) {
        static const bool accessible = [] {
            QAccessible::installFactory(HelpTextFactory);
            return true;
        }();
        Q_UNUSED(accessible);
        // A window of its own, which a screen reader names by its title, holding the text.
        // A main window is a frame to a screen reader; a bare widget would be a filler.
        auto* frame = new QMainWindow;
        window_.reset(frame);
        window_->setObjectName(QStringLiteral("HelpViewer"));
        window_->setWindowTitle(QStringLiteral("Zirpel-Hilfe"));
        window_->resize(560, 480);
        // An open help window does not keep the program running once the main window closed.
        window_->setAttribute(Qt::WA_QuitOnClose, false);
        InitImages();
        window_->setWindowIcon(QIcon(QStringLiteral(":/images/zirpel.xpm")));
        browser_ = new HelpText(frame);
        browser_->setOpenExternalLinks(true);
        frame->setCentralWidget(browser_);
        window_->setFocusProxy(browser_);
        // Closed like the desktop's other viewers.
        for (const QKeySequence& keys :
             {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
            auto* shortcut = new QShortcut(keys, window_.get());
            QObject::connect(shortcut, &QShortcut::activated, window_.get(), &QWidget::close);
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
    window_->show();
    window_->raise();
    window_->activateWindow();
    browser_->setFocus(Qt::OtherFocusReason);
}

} // namespace zirpel

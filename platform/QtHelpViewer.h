// The help viewer: shows the program's HTML help file in a browser window of its own,
// at the contents or at a numbered topic (anchors "contents", "100", "500", "507").
#pragma once

#include "core/system/HelpViewer.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QTextBrowser;
class QWidget;

namespace zirpel {

inline constexpr char HelpFileName[] = "Tamsel.hlp";

// Where the help file is looked for, in this order: beside the executable (the build
// tree, and Windows), then ../share/zirpel/ from it (an installed tree).
[[nodiscard]] QStringList HelpFileCandidates(const QString& executableDir);
// The first candidate that is a file.
[[nodiscard]] std::optional<QString> FindHelpFile(const QString& executableDir);

class QtHelpViewer : public HelpViewer {
public:
    explicit QtHelpViewer(QString executableDir);
    ~QtHelpViewer() override;

    void showContents() override;
    void showContext(int context) override;

    // The help text in its window, once something has been shown; for tests.
    [[nodiscard]] QTextBrowser* text() const { return browser_; }

private:
    void showTopic(const QString& anchor);

    QString executableDir_;
    std::unique_ptr<QWidget> window_;
    QTextBrowser* browser_ = nullptr; // the window's child
};

} // namespace zirpel

#include "WindowHarness.h"

#include "core/text/ByteText.h"
#include "widgets/StringGrid.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QToolButton>

using namespace zirpel;

WindowHarness::WindowHarness() = default;

WindowHarness::~WindowHarness() = default;

TFrmHexEditor& WindowHarness::create() {
    window = std::make_unique<TFrmHexEditor>(Platform{dialogs, settings, help});
    return *window;
}

void WindowHarness::showAndActivate() {
    window->show();
    QApplication::setActiveWindow(window.get());
    window->activateWindow();
    QVERIFY2(QTest::qWaitForWindowActive(window.get()), "the window did not become active");
}

void WindowHarness::openThroughDialog(const QString& path) {
    dialogs.nextFileNames.append(path);
    find<QAction>("MnuOeffnen")->trigger();
}

StringGrid* WindowHarness::grid() const {
    return find<StringGrid>("HexGrid");
}

StringGrid* WindowHarness::editGrid() const {
    return find<StringGrid>("HexEditGrid");
}

void WindowHarness::click(const char* name) const {
    auto* button = find<QAbstractButton>(name);
    QVERIFY2(button, qPrintable(QStringLiteral("no button %1").arg(QLatin1String(name))));
    QTest::mouseClick(button, Qt::LeftButton);
}

QString WindowHarness::cell(int col, int row) const {
    return grid()->cell(col, row);
}

QString WindowHarness::statusText() const {
    return find<QLabel>("StatusText")->text();
}

qint32 WindowHarness::shownOffset() const {
    return AddressTextToOffset(cell(0, 1), !find<QToolButton>("ToolButtonHexDez")->isChecked());
}

QString WindowHarness::told() const {
    QCoreApplication::processEvents();
    QWidget* focus = QApplication::focusWidget();
    if (auto* g = qobject_cast<StringGrid*>(focus))
        return g->currentIndex().data(Qt::AccessibleDescriptionRole).toString();
    return focus ? focus->accessibleDescription() : QString();
}

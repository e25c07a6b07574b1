// Driving the table and the edit row with mouse and keys, as a user does.
#pragma once

#include "WindowHarness.h"
#include "widgets/StringGrid.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

// The whole sequence of events a double click sends.
inline void DoubleClick(QWidget* w, QPoint p) {
    QTest::mousePress(w, Qt::LeftButton, {}, p);
    QTest::mouseRelease(w, Qt::LeftButton, {}, p);
    QTest::mouseDClick(w, Qt::LeftButton, {}, p);
    QTest::mouseRelease(w, Qt::LeftButton, {}, p);
}

// Double-clicks the first byte of a page row of the table.
inline void LoadRow(const WindowHarness& h, int row) {
    DoubleClick(h.grid()->viewport(), h.grid()->cellRect(1, row).center());
}

inline QWidget* KeyTarget(QWidget* fallback) {
    QWidget* w = QApplication::focusWidget();
    return w ? w : fallback;
}

// Clicks byte cell col of the edit row and types keys: the first key opens the cell's
// editor with its text selected, so the keys replace it. No keys: F2 opens the editor,
// its text unchanged. Return closes the editor unless it is to stay open.
inline void TypeIntoCell(const WindowHarness& h, int col, const QString& keys,
                         bool closeEditor = true) {
    auto* g = h.editGrid();
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->cellRect(col, 0).center());
    if (keys.isEmpty())
        QTest::keyClick(KeyTarget(g), Qt::Key_F2);
    for (const QChar c : keys)
        QTest::keyClick(KeyTarget(g), c.toLatin1());
    if (closeEditor)
        QTest::keyClick(KeyTarget(g), Qt::Key_Return);
}

// The edit row's three controls are enabled, or disabled, together.
inline bool EditRowEnabled(const WindowHarness& h) {
    return h.editGrid()->isEnabled() &&
           h.find<QPushButton>("BtnEditGridUebernehmen")->isEnabled() &&
           h.find<QPushButton>("BtnEditGridCancel")->isEnabled();
}

inline bool EditRowDisabled(const WindowHarness& h) {
    return !h.editGrid()->isEnabled() &&
           !h.find<QPushButton>("BtnEditGridUebernehmen")->isEnabled() &&
           !h.find<QPushButton>("BtnEditGridCancel")->isEnabled();
}

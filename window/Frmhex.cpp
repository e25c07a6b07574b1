#include "window/Frmhex.h"

#include "platform/WindowPlacer.h"
#include "widgets/FrmhexForm.h"
#include "widgets/HitListView.h"
#include "widgets/SpinEdit.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>

namespace zirpel {

TFrmHexEditor::TFrmHexEditor(const Platform& platform, QWidget* parent)
    : QMainWindow(parent), platform_(platform), ui(std::make_unique<Ui::FrmHexEditor>()) {
    BuildForm();
    ConnectAppHandlers();
    ConnectViewHandlers();
    ConnectSearchHandlers();
    ConnectEditHandlers();
    ConnectFocusRules();
    InstallKeys();
    FormCreate();
}

void TFrmHexEditor::BuildForm() {
    ui->setupUi(this);
    placer_ = new WindowPlacer(*this, WindowPlacer::Sizing::Fixed);
    ui->ListBoxTreffer->setModel(&search_.hits());
}

void TFrmHexEditor::ConnectAppHandlers() {
    // Menu items and the tool buttons tied to them.
    connect(ui->MnuOeffnen, &QAction::triggered, this, &TFrmHexEditor::MnuOeffnenClick);
    connect(ui->ToolBtnOpen, &QToolButton::clicked, ui->MnuOeffnen, &QAction::trigger);
    connect(ui->MnuEnde, &QAction::triggered, this, &TFrmHexEditor::MnuEndeClick);
    connect(ui->ToolButtonEnde, &QToolButton::clicked, ui->MnuEnde, &QAction::trigger);
    connect(ui->MnuObjekt1, &QAction::triggered, this, &TFrmHexEditor::MnuObjekt1Click);
    connect(ui->MnuObjekt2, &QAction::triggered, this, &TFrmHexEditor::MnuObjekt2Click);
    connect(ui->MnuObjekt3, &QAction::triggered, this, &TFrmHexEditor::MnuObjekt3Click);
    connect(ui->MnuObjekt4, &QAction::triggered, this, &TFrmHexEditor::MnuObjekt4Click);
    connect(ui->MnuInhalt, &QAction::triggered, this, &TFrmHexEditor::MnuInhaltClick);
    connect(ui->ToolButtonInfo, &QToolButton::clicked, ui->MnuInhalt, &QAction::trigger);
    connect(ui->MnuInfo, &QAction::triggered, this, &TFrmHexEditor::MnuInfoClick);
}

void TFrmHexEditor::ConnectViewHandlers() {
    // The table.
    connect(ui->HexGrid, &StringGrid::mouseDown, this, &TFrmHexEditor::HexGridMouseDown);
    connect(ui->HexGrid, &StringGrid::mouseUp, this, &TFrmHexEditor::HexGridMouseUp);
    connect(ui->HexGrid, &StringGrid::dblClick, this, &TFrmHexEditor::HexGridDblClick);
    connect(ui->ScrollBarVertikal, &QScrollBar::valueChanged, this,
            WithFileRun(&TFrmHexEditor::ScrollBarVertikalChange));

    // Page shape and display options. A panel that goes takes no focus along: the table
    // has it before the panel's toggle runs.
    connect(ui->CSpinEditReihen, &QSpinBox::valueChanged, this,
            &TFrmHexEditor::CSpinEditReihenChange);
    connect(ui->CSpinEditSpalten, &QSpinBox::valueChanged, this,
            &TFrmHexEditor::CSpinEditSpaltenChange);
    for (QToolButton* button : {ui->ToolButtonEdit, ui->ToolButtonFindChange})
        connect(button, &QToolButton::clicked, this, &TFrmHexEditor::TakeFocusFromPanels);
    connect(ui->ToolButtonEdit, &QToolButton::clicked, this, &TFrmHexEditor::ToolButtonEditClick);
    connect(ui->ToolButtonFindChange, &QToolButton::clicked, this,
            &TFrmHexEditor::ToolButtonFindChangeClick);
    connect(ui->ToolButtonHexDez, &QToolButton::clicked, this,
            &TFrmHexEditor::ToolButtonHexDezClick);
    connect(ui->ToolButtonGitter, &QToolButton::clicked, this,
            &TFrmHexEditor::ToolButtonGitterClick);
}

void TFrmHexEditor::ConnectSearchHandlers() {
    // Every change of the list's selection counts as a click.
    connect(ui->ListBoxTreffer->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            WithFileRun(&TFrmHexEditor::ListBoxTrefferClick));
    connect(ui->ListBoxTreffer, &HitListView::clicked, this,
            WithFileRun(&TFrmHexEditor::ListBoxTrefferClick));
    connect(ui->BtnSuchen, &QPushButton::clicked, this,
            WithFileRun(&TFrmHexEditor::BtnSuchenClick));
    connect(ui->BtnErsetzen, &QPushButton::clicked, this,
            WithFileRun(&TFrmHexEditor::BtnErsetzenClick));
    connect(ui->BtnNeueSuche, &QPushButton::clicked, this,
            WithFileRun(&TFrmHexEditor::BtnNeueSucheClick));
    connect(ui->BtnHilfe, &QPushButton::clicked, this, WithFileRun(&TFrmHexEditor::BtnHilfeClick));
    connect(ui->ComboBoxSuchen, &QComboBox::activated, this,
            WithFileRun(&TFrmHexEditor::ComboBoxSuchenExit));
    connect(ui->ComboBoxErsetzen, &QComboBox::activated, this,
            WithFileRun(&TFrmHexEditor::ComboBoxErsetzenExit));
}

void TFrmHexEditor::ConnectEditHandlers() {
    ui->HexEditGrid->setSelectCellHook(
        [this](int col, int row) { return HexEditGridSelectCell(col, row); });
    ui->HexEditGrid->setEditTextHook(
        [this](int col, int row, const QString& text) { HexEditGridSetEditText(col, row, text); });
    // The table has the focus back before the buttons that had it are disabled.
    for (QPushButton* button : {ui->BtnEditGridUebernehmen, ui->BtnEditGridCancel})
        connect(button, &QPushButton::clicked, this, &TFrmHexEditor::FocusTable);
    connect(ui->BtnEditGridUebernehmen, &QPushButton::clicked, this,
            &TFrmHexEditor::BtnEditGridUebernehmenClick);
    connect(ui->BtnEditGridCancel, &QPushButton::clicked, this,
            &TFrmHexEditor::BtnEditGridCancelClick);
}

void TFrmHexEditor::ConnectFocusRules() {
    // The focus goes where the work goes on: into the edit panel's row, or the table.
    connect(ui->ToolButtonEdit, &QToolButton::clicked, this, &TFrmHexEditor::FocusEditRowOrTable);
    connect(qApp, &QApplication::focusChanged, this, &TFrmHexEditor::KeepFocusOffToolBar);
}

void TFrmHexEditor::InstallKeys() {
    const auto key = [this](QKeySequence keys, QWidget* scope, Qt::ShortcutContext context,
                            auto run) {
        auto* shortcut = new QShortcut(keys, scope);
        shortcut->setContext(context);
        connect(shortcut, &QShortcut::activated, this, run);
    };
    // F1: help for the focus widget. An open menu has the keyboard: eventFilter sees it.
    key(QKeySequence(Qt::Key_F1), this, Qt::WindowShortcut, [this] { ShowContextHelp(); });

    // Keys for the tool buttons that take no focus. Each presses its button, which does
    // nothing while the button is disabled; the menus show no key texts. No entry, spin
    // edit or cell editor of this window takes them for its own (eventFilter).
    for (const auto& [keys, button] : {std::pair{Qt::CTRL | Qt::Key_O, ui->ToolBtnOpen},
                                       std::pair{Qt::CTRL | Qt::Key_F, ui->ToolButtonFindChange},
                                       std::pair{Qt::CTRL | Qt::Key_E, ui->ToolButtonEdit},
                                       std::pair{Qt::CTRL | Qt::Key_Q, ui->ToolButtonEnde}}) {
        key(QKeySequence(keys), this, Qt::WindowShortcut, [button = button] { button->click(); });
        windowKeys_.append(keys);
    }
    // The window's keys, F1 in its menus, the wheel over the table and leaving an entry
    // are seen in one place, whichever of the window's controls has them (eventFilter).
    qApp->installEventFilter(this);

    // Return and F2 load the table's current row, as a double click does.
    for (const int k : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_F2})
        key(QKeySequence(k), ui->HexGrid, Qt::WidgetShortcut, [this] { HexGridDblClick(); });
    // Return in the search entry searches, as "&Suchen" does; the entry's popup list
    // keeps its own Return.
    for (const int k : {Qt::Key_Return, Qt::Key_Enter})
        key(QKeySequence(k), ui->ComboBoxSuchen, Qt::WidgetShortcut,
            [this] { ui->BtnSuchen->click(); });
}

void TFrmHexEditor::TakeFocusFromPanels() {
    QWidget* focus = focusWidget();
    if (ui->HexGrid->isVisible() && focus &&
        (ui->GrpEdit->isAncestorOf(focus) || ui->GrpFindChange->isAncestorOf(focus)))
        FocusTable();
}

void TFrmHexEditor::FocusTable() {
    ui->HexGrid->setFocus(Qt::OtherFocusReason);
}

void TFrmHexEditor::FocusEditRowOrTable() {
    if (EditPanelVisible == 1 && ui->HexEditGrid->isEnabled())
        ui->HexEditGrid->setFocus(Qt::OtherFocusReason);
    else if (ui->HexGrid->isVisible())
        FocusTable();
}

void TFrmHexEditor::KeepFocusOffToolBar(QWidget* old, QWidget* now) {
    // A control that becomes disabled or hidden hands the focus on down the tab order; it
    // never lands on the tool bar that way, but on the table. That is done once this focus
    // change is over, so a screen reader hears of it after this one.
    if (now && old && ui->ToolBar1->isAncestorOf(now) && (!old->isEnabled() || !old->isVisible()))
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (ui->HexGrid->isVisible() && ui->ToolBar1->isAncestorOf(focusWidget()))
                    FocusTable();
            },
            Qt::QueuedConnection);
}

TFrmHexEditor::~TFrmHexEditor() {
    // QWidget hides the window while it tears it down, after ui is gone and this is no
    // longer a TFrmHexEditor; the focus moves and an open cell editor of the edit row
    // then hands on its text. Nothing a child says from here on concerns the window, and
    // the hit list outlives the model it shows. Nor does the application's focus change or
    // any of its events.
    qApp->removeEventFilter(this);
    disconnect(qApp, nullptr, this, nullptr);
    ui->HexEditGrid->setEditTextHook(nullptr);
    ui->HexEditGrid->setSelectCellHook(nullptr);
    ui->ListBoxTreffer->setModel(nullptr);
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
}

void TFrmHexEditor::Invalidate(DocumentChange change) {
    // An entry is an address text, read back in the base of the moment, for this file; the
    // number of columns does not change what it means.
    if (change != DocumentChange::ColumnsChanged)
        search_.clearHits();
    // Any such change disables the edit row: its address and cells were taken in the old
    // file, base or shape, and are never written into the new one.
    DisableEditRow();
}

void TFrmHexEditor::DisableEditRow() {
    editRow_.disable();
    ui->HexEditGrid->setEnabled(false);
    ui->BtnEditGridUebernehmen->setEnabled(false);
    ui->BtnEditGridCancel->setEnabled(false);
}

void TFrmHexEditor::Announce(const QString& text) {
    announcer_.clear();
    disconnect(focusBack_);
    QMetaObject::invokeMethod(
        this, [this, text, word = ++lastWord_] { AnnounceWhereFocusIs(text, word); },
        Qt::QueuedConnection);
}

void TFrmHexEditor::AnnounceWhereFocusIs(const QString& text, quint64 word) {
    if (word != lastWord_)
        return;
    if (QWidget* focus = QApplication::focusWidget(); focus && isAncestorOf(focus)) {
        announcer_.say(focus, text);
        return;
    }
    // A message box has just closed, and the window gets the focus back only once the
    // window manager has made it active again: the word is said after the control that
    // takes the focus has been heard.
    focusBack_ = connect(qApp, &QApplication::focusChanged, this,
                         [this, text, word](QWidget*, QWidget* now) {
                             if (!now || !isAncestorOf(now))
                                 return;
                             disconnect(focusBack_);
                             QMetaObject::invokeMethod(
                                 this, [this, text, word] { AnnounceWhereFocusIs(text, word); },
                                 Qt::QueuedConnection);
                         });
}

void TFrmHexEditor::WithFile(void (TFrmHexEditor::*handler)()) {
    if (HasFile())
        (this->*handler)();
}

namespace {

// The object is this one or lies below it, menus and their popups included.
bool OwnedBy(const QObject* object, const QObject* owner) {
    for (; object; object = object->parent())
        if (object == owner)
            return true;
    return false;
}

} // namespace

bool TFrmHexEditor::eventFilter(QObject* watched, QEvent* event) {
    // Every event of the application passes here (InstallKeys): only this window's count.
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride && type != QEvent::Wheel &&
        type != QEvent::FocusOut)
        return false;
    if (!OwnedBy(watched, this))
        return QMainWindow::eventFilter(watched, event);
    if (type == QEvent::KeyPress && qobject_cast<QMenu*>(watched) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        ShowContextHelp();
        return true;
    }
    if ((type == QEvent::KeyPress || type == QEvent::ShortcutOverride) &&
        KeyTaken(watched, *static_cast<QKeyEvent*>(event)))
        return true;
    // The table has no scrolling of its own: its wheel turns the scroll bar.
    if (type == QEvent::Wheel && watched == ui->HexGrid->viewport())
        return QCoreApplication::sendEvent(ui->ScrollBarVertikal, event);
    if (type == QEvent::FocusOut) {
        // The entry is left for another control of the window: not for its own popup,
        // nor when the whole window loses the focus to a message box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            // The line edit's focus proxy is its combo box, which gets the event.
            if (watched == ui->ComboBoxSuchen || watched == ui->ComboBoxSuchen->lineEdit())
                WithFile(&TFrmHexEditor::ComboBoxSuchenExit);
            else if (watched == ui->ComboBoxErsetzen || watched == ui->ComboBoxErsetzen->lineEdit())
                WithFile(&TFrmHexEditor::ComboBoxErsetzenExit);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TFrmHexEditor::KeyTaken(QObject* watched, QKeyEvent& key) {
    const bool press = key.type() == QEvent::KeyPress;
    // An entry, a spin edit or a cell editor would take Ctrl+E for end of line: the
    // window's own keys are the window's wherever the focus is.
    if (!press && windowKeys_.contains(key.keyCombination()))
        return true;
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    // Tab moves between the cells of the two grids; Ctrl+Tab and Ctrl+Shift+Tab leave them,
    // from a cell editor too. X sends Ctrl+Shift+Tab as Backtab with Shift and Ctrl; with an
    // accessibility client listening, Qt hands the key on later by another way: only the
    // key press itself is seen the same in both.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (press && (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) &&
        (modifiers & ~Qt::ShiftModifier) == Qt::ControlModifier) {
        for (StringGrid* grid : {ui->HexGrid, ui->HexEditGrid}) {
            if (widget && (widget == grid || grid->isAncestorOf(widget))) {
                // The grid takes the focus first, so that an open cell editor is closed as
                // any focus change does.
                const bool next = key.key() == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier);
                grid->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
                focusNextPrevChild(next);
                return true;
            }
        }
    }
    // While the search panel is shown, Alt+H is its "&Hilfe" button's, as a control's
    // mnemonic comes before the menu bar's; the two would otherwise take turns.
    if (key.keyCombination() == (Qt::ALT | Qt::Key_H) && ui->GrpFindChange->isVisible() &&
        ui->BtnHilfe->isEnabled()) {
        if (press && !key.isAutoRepeat())
            ui->BtnHilfe->click();
        key.accept(); // offered as a shortcut: kept from the menu bar
        return true;
    }
    // Alt+D and Alt+H open their menu when the letter's press arrives, not at once as a
    // shortcut: with an accessibility client listening, Qt hands every key press to it
    // first, and the Alt press that came late would close the menu again. The menu opens
    // on its own name, which a screen reader says; Down goes to its first entry.
    for (QMenu* menu : {ui->MnuDatei, ui->MnuHelp}) {
        if (QKeySequence::mnemonic(menu->title())[0] == key.keyCombination()) {
            if (press && !key.isAutoRepeat())
                ui->MnuMainHex->setActiveAction(menu->menuAction());
            key.accept();
            return true;
        }
    }
    // A mnemonic never types: Alt with a letter that no enabled, shown control took (the
    // shortcut would have) inserts nothing into an entry, a spin edit or a cell editor. A
    // menu keeps its own letters.
    return press && (modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier) &&
           !key.text().isEmpty() && key.text().front().isPrint() &&
           !qobject_cast<QMenu*>(watched) && !qobject_cast<QMenuBar*>(watched);
}

void TFrmHexEditor::FormCreate() {
    ShowViewControls(false);
    StartupPending = true;
    LoadSettings();
    UpdateRecentMenu();
    ui->ToolButtonEdit->setEnabled(false);
    ui->ToolButtonFindChange->setEnabled(false);
    // Placed below the window's edge, the panels would still take the focus and the
    // mnemonics of their buttons ("&Hilfe" over the help menu's).
    ui->GrpFindChange->hide();
    ui->GrpEdit->hide();
}

void TFrmHexEditor::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TFrmHexEditor::FormActivate() {
    // Setting a spin edit raises its change event only when the number changes; while
    // StartupPending is set the handlers do nothing, so nothing is laid out here.
    ui->CSpinEditSpalten->setValue(Columns);
    ui->CSpinEditReihen->setValue(Rows);
    ui->ToolButtonGitter->setChecked(GridLineWidth == 1);
    ui->ToolButtonHexDez->setChecked(DecimalAddresses == 0);
    StartupPending = false;
}

void TFrmHexEditor::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TFrmHexEditor::FormClose() {
    DataFile.close();
    SaveSettings();
}

void TFrmHexEditor::ShowViewControls(bool visible) {
    ui->CSpinEditSpalten->setVisible(visible);
    ui->TextSpalten->setVisible(visible);
    ui->CSpinEditReihen->setVisible(visible);
    ui->TextReihen->setVisible(visible);
    ui->HexGrid->setVisible(visible);
    // Before a file the scroll bar lies outside the small window: it takes no focus there.
    ui->ScrollBarVertikal->setFocusPolicy(visible ? Qt::StrongFocus : Qt::NoFocus);
    if (!visible)
        placer_->setOuterSize(QSize(250, 200));
}

QPoint TFrmHexEditor::OuterTopLeft() const {
    return frameGeometry().topLeft();
}

} // namespace zirpel

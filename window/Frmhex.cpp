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
    ui->setupUi(this);
    placer_ = new WindowPlacer(*this, WindowPlacer::Sizing::Fixed);
    ui->ListBoxTreffer->setModel(&search_.hits());
    // Handlers that need an open file go through WithFile.
    const auto withFile = [this](void (TFrmHexEditor::*handler)()) {
        return [this, handler] { WithFile(handler); };
    };

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

    // The table.
    connect(ui->HexGrid, &StringGrid::mouseDown, this, &TFrmHexEditor::HexGridMouseDown);
    connect(ui->HexGrid, &StringGrid::mouseUp, this, &TFrmHexEditor::HexGridMouseUp);
    connect(ui->HexGrid, &StringGrid::dblClick, this, &TFrmHexEditor::HexGridDblClick);
    connect(ui->ScrollBarVertikal, &QScrollBar::valueChanged, this,
            withFile(&TFrmHexEditor::ScrollBarVertikalChange));
    // The table has no scrolling of its own: its wheel turns the scroll bar.
    ui->HexGrid->viewport()->installEventFilter(this);

    // Page shape and display options.
    connect(ui->CSpinEditReihen, &QSpinBox::valueChanged, this,
            &TFrmHexEditor::CSpinEditReihenChange);
    connect(ui->CSpinEditSpalten, &QSpinBox::valueChanged, this,
            &TFrmHexEditor::CSpinEditSpaltenChange);
    // A panel that goes takes no focus along: the table has it first, so that a screen
    // reader hears of no control in between.
    for (QToolButton* button : {ui->ToolButtonEdit, ui->ToolButtonFindChange})
        connect(button, &QToolButton::clicked, this, [this] {
            QWidget* focus = focusWidget();
            if (ui->HexGrid->isVisible() && focus &&
                (ui->GrpEdit->isAncestorOf(focus) || ui->GrpFindChange->isAncestorOf(focus)))
                ui->HexGrid->setFocus(Qt::OtherFocusReason);
        });
    connect(ui->ToolButtonEdit, &QToolButton::clicked, this, &TFrmHexEditor::ToolButtonEditClick);
    connect(ui->ToolButtonFindChange, &QToolButton::clicked, this,
            &TFrmHexEditor::ToolButtonFindChangeClick);
    connect(ui->ToolButtonHexDez, &QToolButton::clicked, this,
            &TFrmHexEditor::ToolButtonHexDezClick);
    connect(ui->ToolButtonGitter, &QToolButton::clicked, this,
            &TFrmHexEditor::ToolButtonGitterClick);

    // Search and replace panel. Every change of the list's selection counts as a click.
    connect(ui->ListBoxTreffer->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            withFile(&TFrmHexEditor::ListBoxTrefferClick));
    connect(ui->ListBoxTreffer, &HitListView::clicked, this,
            withFile(&TFrmHexEditor::ListBoxTrefferClick));
    connect(ui->BtnSuchen, &QPushButton::clicked, this, withFile(&TFrmHexEditor::BtnSuchenClick));
    connect(ui->BtnErsetzen, &QPushButton::clicked, this,
            withFile(&TFrmHexEditor::BtnErsetzenClick));
    connect(ui->BtnNeueSuche, &QPushButton::clicked, this,
            withFile(&TFrmHexEditor::BtnNeueSucheClick));
    connect(ui->BtnHilfe, &QPushButton::clicked, this, withFile(&TFrmHexEditor::BtnHilfeClick));
    connect(ui->ComboBoxSuchen, &QComboBox::activated, this,
            withFile(&TFrmHexEditor::ComboBoxSuchenExit));
    connect(ui->ComboBoxErsetzen, &QComboBox::activated, this,
            withFile(&TFrmHexEditor::ComboBoxErsetzenExit));
    for (QComboBox* box : {ui->ComboBoxSuchen, ui->ComboBoxErsetzen}) {
        box->installEventFilter(this);
        box->lineEdit()->installEventFilter(this);
    }

    // Edit panel.
    ui->HexEditGrid->setSelectCellHook(
        [this](int col, int row) { return HexEditGridSelectCell(col, row); });
    ui->HexEditGrid->setEditTextHook(
        [this](int col, int row, const QString& text) { HexEditGridSetEditText(col, row, text); });
    // The table has the focus back before the buttons that had it are disabled.
    for (QPushButton* button : {ui->BtnEditGridUebernehmen, ui->BtnEditGridCancel})
        connect(button, &QPushButton::clicked, this,
                [this] { ui->HexGrid->setFocus(Qt::OtherFocusReason); });
    connect(ui->BtnEditGridUebernehmen, &QPushButton::clicked, this,
            &TFrmHexEditor::BtnEditGridUebernehmenClick);
    connect(ui->BtnEditGridCancel, &QPushButton::clicked, this,
            &TFrmHexEditor::BtnEditGridCancelClick);

    // F1: help for the focus widget; an open menu has the keyboard, so it is watched.
    auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    helpKey->setContext(Qt::WindowShortcut);
    connect(helpKey, &QShortcut::activated, this, &TFrmHexEditor::ShowContextHelp);
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        menu->installEventFilter(this);

    // Keys for the tool buttons that take no focus. Each presses its button, which does
    // nothing while the button is disabled; the menus show no key texts.
    const auto key = [this](QKeySequence keys, QWidget* scope, Qt::ShortcutContext context,
                            auto run) {
        auto* shortcut = new QShortcut(keys, scope);
        shortcut->setContext(context);
        connect(shortcut, &QShortcut::activated, this, run);
    };
    for (const auto& [keys, button] : {std::pair{Qt::CTRL | Qt::Key_O, ui->ToolBtnOpen},
                                       std::pair{Qt::CTRL | Qt::Key_F, ui->ToolButtonFindChange},
                                       std::pair{Qt::CTRL | Qt::Key_E, ui->ToolButtonEdit},
                                       std::pair{Qt::CTRL | Qt::Key_Q, ui->ToolButtonEnde}}) {
        key(QKeySequence(keys), this, Qt::WindowShortcut, [button = button] { button->click(); });
        windowKeys_.append(keys);
    }
    for (StringGrid* grid : {ui->HexGrid, ui->HexEditGrid})
        grid->setWindowKeys(windowKeys_);
    // Return and F2 load the table's current row, as a double click does.
    for (const int k : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_F2})
        key(QKeySequence(k), ui->HexGrid, Qt::WidgetShortcut, [this] { HexGridDblClick(); });
    // Tab moves between the cells of the two grids; Ctrl+Tab leaves them. The grid takes
    // the focus first, so that an open cell editor is closed as any focus change does.
    for (StringGrid* grid : {ui->HexGrid, ui->HexEditGrid}) {
        for (const bool next : {true, false}) {
            const QKeySequence keys = next ? QKeySequence(Qt::CTRL | Qt::Key_Tab)
                                           : QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab);
            key(keys, grid, Qt::WidgetWithChildrenShortcut, [this, grid, next] {
                grid->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
                focusNextPrevChild(next);
            });
        }
    }
    // The spin edits' line edits would take Ctrl+E as the entries' do.
    ui->CSpinEditReihen->installEventFilter(this);
    ui->CSpinEditSpalten->installEventFilter(this);
    // Ctrl+Tab reaches the table itself where the shortcut above is not matched first.
    ui->HexGrid->installEventFilter(this);

    // The focus goes where the work goes on: into the panel's row, or back to the table.
    connect(ui->ToolButtonEdit, &QToolButton::clicked, this, [this] {
        if (EditPanelVisible == 1 && ui->HexEditGrid->isEnabled())
            ui->HexEditGrid->setFocus(Qt::OtherFocusReason);
        else if (ui->HexGrid->isVisible())
            ui->HexGrid->setFocus(Qt::OtherFocusReason);
    });
    connect(ui->BtnNeueSuche, &QPushButton::clicked, this,
            [this] { ui->ListBoxTreffer->setAccessibleDescription(QString()); });
    // A control that becomes disabled or hidden hands the focus on down the tab order; it
    // never lands on the tool bar that way, but on the table.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (now && old && ui->ToolBar1->isAncestorOf(now) &&
            (!old->isEnabled() || !old->isVisible()))
            // Once this focus change is over: a screen reader hears of it after this one.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (ui->HexGrid->isVisible() && ui->ToolBar1->isAncestorOf(focusWidget()))
                        ui->HexGrid->setFocus(Qt::OtherFocusReason);
                },
                Qt::QueuedConnection);
    });

    // Return in the search entry searches, as "&Suchen" does; the entry's popup list
    // keeps its own Return.
    for (const int k : {Qt::Key_Return, Qt::Key_Enter})
        key(QKeySequence(k), ui->ComboBoxSuchen, Qt::WidgetShortcut,
            [this] { ui->BtnSuchen->click(); });

    FormCreate();
}

TFrmHexEditor::~TFrmHexEditor() {
    // QWidget hides the window while it tears it down, after ui is gone and this is no
    // longer a TFrmHexEditor; the focus moves and an open cell editor of the edit row
    // then hands on its text. Nothing a child says from here on concerns the window, and
    // the hit list outlives the model it shows.
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
    QMetaObject::invokeMethod(
        this,
        [this, text] {
            if (QWidget* focus = QApplication::focusWidget(); focus && isAncestorOf(focus))
                announcer_.say(focus, text);
        },
        Qt::QueuedConnection);
}

void TFrmHexEditor::WithFile(void (TFrmHexEditor::*handler)()) {
    if (HasFile())
        (this->*handler)();
}

bool TFrmHexEditor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && qobject_cast<QMenu*>(watched) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        ShowContextHelp();
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride &&
        windowKeys_.contains(static_cast<QKeyEvent*>(event)->keyCombination()))
        return true; // an entry would take Ctrl+E for end of line
    if (event->type() == QEvent::KeyPress && watched == ui->HexGrid) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            (key->modifiers() & Qt::ControlModifier)) {
            focusNextPrevChild(key->key() == Qt::Key_Tab);
            return true;
        }
    }
    if (event->type() == QEvent::Wheel && watched == ui->HexGrid->viewport())
        return QCoreApplication::sendEvent(ui->ScrollBarVertikal, event);
    if (event->type() == QEvent::FocusOut) {
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
    if (!visible)
        placer_->setOuterSize(QSize(250, 200));
}

QPoint TFrmHexEditor::OuterTopLeft() const {
    return frameGeometry().topLeft();
}

} // namespace zirpel

#include "widgets/FrmhexForm.h"

#include "core/search/Pattern.h"
#include "core/view/Page.h"
#include "platform/Images.h"
#include "platform/LineEditAccessible.h"
#include "widgets/EntryAccessible.h"
#include "widgets/FormParts.h"
#include "widgets/HitListView.h"
#include "widgets/PaletteIcon.h"
#include "widgets/ScrollBar.h"
#include "widgets/SpinEdit.h"
#include "widgets/StringGrid.h"
#include "widgets/ToolButton.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>

namespace zirpel {

namespace Ui {

namespace {

template <typename T> T* Make(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

QFont GridFont() {
    // Where Courier New is missing (Wine has none), a proportional face would make the
    // table uneven: another fixed-pitch face takes its place.
    QFont f;
    f.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                   QFontDatabase::systemFont(QFontDatabase::FixedFont).family()});
    f.setPointSize(9);
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    return f;
}

QAction* Action(QMenu* menu, const char* name, const QString& text, const QString& hint,
                const QIcon& icon = {}) {
    auto* a = new QAction(icon, text, menu);
    a->setObjectName(QString::fromLatin1(name));
    // Menu hints are kept but never shown.
    a->setProperty("hint", hint);
    menu->addAction(a);
    return a;
}

QToolButton* ToolButton(QWidget* bar, const char* name, int left, const QIcon& icon,
                        const QString& hint, bool check) {
    auto* b = Make<zirpel::ToolButton>(bar, name, left, 2, 26, 22);
    b->setIcon(icon);
    b->setIconSize(QSize(16, 16));
    b->setAutoRaise(true);
    b->setCheckable(check);
    b->setToolTip(hint);
    // The picture says nothing to a screen reader; the hint does.
    b->setAccessibleName(hint);
    // Reached with Tab from the keyboard; a click leaves the focus where it was.
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

QFrame* Separator(QWidget* bar, const char* name, int left, int width) {
    auto* s = Make<QFrame>(bar, name, left, 2, width, 22);
    s->setFrameStyle(QFrame::NoFrame);
    return s;
}

} // namespace

void FrmHexEditor::setupUi(QMainWindow* window) {
    InitImages();
    window->setObjectName(QStringLiteral("FrmHexEditor"));
    window->setWindowTitle(QStringLiteral("Zirpel []"));
    window->setWindowIcon(QIcon(QStringLiteral(":/images/zirpel.xpm")));
    window->setFont(WindowFont());
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint);
    window->setProperty("helpContext", 100);

    // The grid and the address base are black line drawings: drawn in the palette's text
    // colour, they show on a dark palette too.
    for (int i = 0; i < 16; ++i) {
        const QString path = QStringLiteral(":/images/img%1.xpm").arg(i, 2, 10, QLatin1Char('0'));
        ImageList1.append(i == 14 || i == 15 ? PaletteIcon(path) : QIcon(path));
    }

    // Main menu.
    MnuMainHex = window->menuBar();
    MnuMainHex->setObjectName(QStringLiteral("MnuMainHex"));
    MnuDatei = MnuMainHex->addMenu(QStringLiteral("&Datei"));
    MnuDatei->setObjectName(QStringLiteral("MnuDatei"));
    // An open menu is heard by its name before its first item.
    MnuDatei->setAccessibleName(QStringLiteral("Datei"));
    MnuOeffnen = Action(MnuDatei, "MnuOeffnen", QStringLiteral("Ö&ffnen"), QStringLiteral("Öffnen"),
                        ImageList1[13]);
    MnuTrenn1 = MnuDatei->addSeparator();
    MnuTrenn1->setObjectName(QStringLiteral("MnuTrenn1"));
    MnuEnde = Action(MnuDatei, "MnuEnde", QStringLiteral("&Beenden"),
                     QStringLiteral("Programmende"), ImageList1[0]);
    MnuTrenn2 = MnuDatei->addSeparator();
    MnuTrenn2->setObjectName(QStringLiteral("MnuTrenn2"));
    MnuObjekt1 = Action(MnuDatei, "MnuObjekt1", QStringLiteral("&1"), {});
    MnuObjekt2 = Action(MnuDatei, "MnuObjekt2", QStringLiteral("&2"), {});
    MnuObjekt3 = Action(MnuDatei, "MnuObjekt3", QStringLiteral("&3"), {});
    MnuObjekt4 = Action(MnuDatei, "MnuObjekt4", QStringLiteral("&4"), {});
    MnuHelp = MnuMainHex->addMenu(QStringLiteral("&Hilfe"));
    MnuHelp->setObjectName(QStringLiteral("MnuHelp"));
    MnuHelp->setAccessibleName(QStringLiteral("Hilfe"));
    MnuInhalt = Action(MnuHelp, "MnuInhalt", QStringLiteral("&Inhalt"),
                       QStringLiteral("Hilfeinformationen"), ImageList1[2]);
    MnuInhalt->setProperty("helpContext", 100);
    MnuInfo = Action(MnuHelp, "MnuInfo", QStringLiteral("Inf&o..."), QStringLiteral("Info"));

    Central = new QWidget(window);
    Central->setObjectName(QStringLiteral("Central"));
    window->setCentralWidget(Central);

    // Controls on the window, in creation order.
    HexGrid = Make<StringGrid>(Central, "HexGrid", 1, 32, 656, 225);
    HexGrid->setFont(GridFont());
    HexGrid->setFixedCols(1);
    HexGrid->setFixedRows(1);
    HexGrid->setDefaultColWidth(16);
    HexGrid->setDefaultRowHeight(16);
    HexGrid->setGridLineWidth(1);
    HexGrid->setColCount(kMaxGridColumns);
    HexGrid->setRowCount(kMaxGridRows);
    HexGrid->setCurrentCell(1, 1);

    ScrollBarVertikal = Make<ScrollBar>(Central, "ScrollBarVertikal", 659, 64, 16, 137);
    ScrollBarVertikal->setOrientation(Qt::Vertical);
    ScrollBarVertikal->setRange(0, 100000000);
    ScrollBarVertikal->setPageStep(0);
    ScrollBarVertikal->setFocusPolicy(Qt::StrongFocus);

    StatusBarHex = window->statusBar();
    StatusBarHex->setObjectName(QStringLiteral("StatusBarHex"));
    StatusBarHex->setSizeGripEnabled(false);
    StatusBarHex->setFixedHeight(19);
    StatusText = new QLabel(StatusBarHex);
    StatusText->setObjectName(QStringLiteral("StatusText"));
    StatusBarHex->addWidget(StatusText, 1);

    ToolBar1 = Make<QFrame>(Central, "ToolBar1", 0, 0, 697, 26);
    ToolBar1->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    ToolBtnOpen =
        ToolButton(ToolBar1, "ToolBtnOpen", 0, ImageList1[13], QStringLiteral("Öffnen"), false);
    ToolButton1 = Separator(ToolBar1, "ToolButton1", 26, 8);
    ToolButtonEdit =
        ToolButton(ToolBar1, "ToolButtonEdit", 34, ImageList1[6], QStringLiteral("Edit"), true);
    ToolButtonFindChange = ToolButton(ToolBar1, "ToolButtonFindChange", 60, ImageList1[1],
                                      QStringLiteral("Suchen/Ersetzen"), true);
    ToolButton2 = Separator(ToolBar1, "ToolButton2", 86, 16);
    ToolButtonEnde = ToolButton(ToolBar1, "ToolButtonEnde", 102, ImageList1[0],
                                QStringLiteral("Programmende"), false);
    ToolButton3 = Separator(ToolBar1, "ToolButton3", 128, 8);
    ToolButtonInfo = ToolButton(ToolBar1, "ToolButtonInfo", 136, ImageList1[2],
                                QStringLiteral("Hilfeinformationen"), false);
    ToolButton8 = Separator(ToolBar1, "ToolButton8", 162, 8);
    ToolButtonHexDez = ToolButton(ToolBar1, "ToolButtonHexDez", 170, ImageList1[15],
                                  QStringLiteral("Hex-/Dezimal-Adressen ein/aus"), true);
    ToolButtonGitter = ToolButton(ToolBar1, "ToolButtonGitter", 196, ImageList1[14],
                                  QStringLiteral("Tabellengitter ein-/ausschalten"), true);
    ToolButton4 = Separator(ToolBar1, "ToolButton4", 222, 8);

    CSpinEditReihen = Make<SpinEdit>(Central, "CSpinEditReihen", 280, 2, 35, 22);
    TextReihen = Label(Central, "TextReihen", 240, 5, 41, 17, QStringLiteral("Reihen:"));
    CSpinEditSpalten = Make<SpinEdit>(Central, "CSpinEditSpalten", 370, 2, 35, 22);
    TextSpalten = Label(Central, "TextSpalten", 330, 5, 43, 17, QStringLiteral("Spalten:"));
    // The number needs room beside the arrows on this platform.
    CSpinEditReihen->setFixedWidth(qMax(35, CSpinEditReihen->sizeHint().width()));
    CSpinEditSpalten->setFixedWidth(qMax(35, CSpinEditSpalten->sizeHint().width()));
    CSpinEditReihen->raise();
    CSpinEditSpalten->raise();
    // Buddies name their controls for a screen reader; the texts carry no mnemonic, so
    // nothing visible changes.
    TextReihen->setBuddy(CSpinEditReihen);
    TextSpalten->setBuddy(CSpinEditSpalten);

    // Search and replace panel.
    GrpFindChange = Make<QGroupBox>(Central, "GrpFindChange", 2, 264, 511, 140);
    GrpFindChange->setTitle(QStringLiteral("Suchen / Ersetzen"));
    GrpFindChange->setProperty("helpContext", 500);
    ListBoxTreffer = Make<HitListView>(GrpFindChange, "ListBoxTreffer", 2, 22, 81, 107);
    ListBoxTreffer->setFont(GridFont());
    RadioGrpBasis = Make<QGroupBox>(GrpFindChange, "RadioGrpBasis", 428, 14, 75, 55);
    RadioGrpBasis->setTitle(QStringLiteral("Basis"));
    RadioGrpBasisHex = Make<QRadioButton>(RadioGrpBasis, "RadioGrpBasisHex", 8, 16, 62, 17);
    RadioGrpBasisHex->setText(QStringLiteral("Hex"));
    RadioGrpBasisAscii = Make<QRadioButton>(RadioGrpBasis, "RadioGrpBasisAscii", 8, 33, 62, 17);
    RadioGrpBasisAscii->setText(QStringLiteral("ASCII"));
    RadioGrpBasisItems = new QButtonGroup(RadioGrpBasis);
    RadioGrpBasisItems->addButton(RadioGrpBasisHex, 0);
    RadioGrpBasisItems->addButton(RadioGrpBasisAscii, 1);
    RadioGrpBasisHex->setChecked(true);
    BtnSuchen = Make<QPushButton>(GrpFindChange, "BtnSuchen", 188, 104, 75, 25);
    BtnSuchen->setText(QStringLiteral("&Suchen"));
    BtnErsetzen = Make<QPushButton>(GrpFindChange, "BtnErsetzen", 268, 104, 75, 25);
    BtnErsetzen->setText(QStringLiteral("&Ersetzen"));
    BtnNeueSuche = Make<QPushButton>(GrpFindChange, "BtnNeueSuche", 348, 104, 75, 25);
    BtnNeueSuche->setText(QStringLiteral("&Neue Suche"));
    BtnHilfe = Make<QPushButton>(GrpFindChange, "BtnHilfe", 428, 104, 75, 25);
    BtnHilfe->setText(QStringLiteral("&Hilfe"));
    // The entries are named by their labels before a screen reader first sees them, and
    // every line entry (cell editors and the open dialog's too) is read whole.
    InstallEntryAccessible();
    InstallLineEditAccessible();
    ComboBoxSuchen = Make<QComboBox>(GrpFindChange, "ComboBoxSuchen", 188, 20, 235, 23);
    ComboBoxSuchen->setAccessibleName(QStringLiteral("Suchen nach:"));
    ComboBoxSuchen->setEditable(true);
    ComboBoxSuchen->setInsertPolicy(QComboBox::NoInsert);
    // Inline completion would fill in a history item when a prefix of it is typed.
    ComboBoxSuchen->setCompleter(nullptr);
    ComboBoxSuchen->setFont(GridFont());
    ComboBoxSuchen->lineEdit()->setMaxLength(kMaxPatternChars);
    ComboBoxSuchen->setEditText(QStringLiteral("0d0a"));
    ComboBoxErsetzen = Make<QComboBox>(GrpFindChange, "ComboBoxErsetzen", 188, 47, 235, 23);
    ComboBoxErsetzen->setAccessibleName(QStringLiteral("Ersetzen durch:"));
    ComboBoxErsetzen->setEditable(true);
    ComboBoxErsetzen->setInsertPolicy(QComboBox::NoInsert);
    ComboBoxErsetzen->setCompleter(nullptr);
    ComboBoxErsetzen->setFont(GridFont());
    ComboBoxErsetzen->setEditText(QStringLiteral("0D0A"));
    LblFind = Label(GrpFindChange, "LblFind", 111, 24, 67, 13, QStringLiteral("Suchen nach:"));
    LblErsetzen =
        Label(GrpFindChange, "LblErsetzen", 111, 51, 74, 13, QStringLiteral("Ersetzen durch:"));
    LblTreffer = Label(GrpFindChange, "LblTreffer", 88, 109, 3, 13, QStringLiteral(":"));
    LblFind->setBuddy(ComboBoxSuchen);
    LblErsetzen->setBuddy(ComboBoxErsetzen);

    // Edit panel.
    GrpEdit = Make<QGroupBox>(Central, "GrpEdit", 0, 416, 649, 80);
    GrpEdit->setTitle(QStringLiteral("Bearbeiten"));
    GrpEdit->setProperty("helpContext", 507);
    HexEditGrid = Make<StringGrid>(GrpEdit, "HexEditGrid", 1, 13, 641, 20);
    HexEditGrid->setFont(GridFont());
    HexEditGrid->setFixedCols(1);
    HexEditGrid->setFixedRows(0);
    HexEditGrid->setDefaultColWidth(66);
    HexEditGrid->setDefaultRowHeight(16);
    HexEditGrid->setGridLineWidth(1);
    HexEditGrid->setColCount(kMaxGridColumns);
    HexEditGrid->setRowCount(1);
    HexEditGrid->setEditable(true);
    HexEditGrid->setCurrentCell(1, 0);
    // Its cells are the table's columns: a screen reader names each by the table's offset.
    HexEditGrid->setColumnHeadsFrom(HexGrid);
    BtnEditGridUebernehmen = Make<QPushButton>(GrpEdit, "BtnEditGridUebernehmen", 230, 45, 75, 25);
    BtnEditGridUebernehmen->setText(QStringLiteral("Übernehmen"));
    BtnEditGridCancel = Make<QPushButton>(GrpEdit, "BtnEditGridCancel", 310, 45, 75, 25);
    BtnEditGridCancel->setText(QStringLiteral("Abbrechen"));

    // Names a screen reader says, each control its own, by what it shows.
    HexGrid->setAccessibleName(QStringLiteral("Dateiinhalt"));
    ScrollBarVertikal->setAccessibleName(QStringLiteral("Position in der Datei"));
    ListBoxTreffer->setAccessibleName(QStringLiteral("Treffer"));
    RadioGrpBasis->setAccessibleName(QStringLiteral("Basis"));
    HexEditGrid->setAccessibleName(QStringLiteral("Bearbeitungszeile"));

    // Tab order: the table, then the tool bar's buttons from left to right, then the
    // spin edits and the panels.
    QWidget::setTabOrder(ScrollBarVertikal, HexGrid);
    const QList<QWidget*> toolOrder{
        HexGrid,        ToolBtnOpen,      ToolButtonEdit,   ToolButtonFindChange, ToolButtonEnde,
        ToolButtonInfo, ToolButtonHexDez, ToolButtonGitter, CSpinEditReihen};
    for (qsizetype i = 1; i < toolOrder.size(); ++i)
        QWidget::setTabOrder(toolOrder[i - 1], toolOrder[i]);
    QWidget::setTabOrder(CSpinEditReihen, CSpinEditSpalten);
    QWidget::setTabOrder(CSpinEditSpalten, ListBoxTreffer);
    QWidget::setTabOrder(ListBoxTreffer, RadioGrpBasisHex);
    QWidget::setTabOrder(RadioGrpBasisHex, RadioGrpBasisAscii);
    QWidget::setTabOrder(RadioGrpBasisAscii, BtnSuchen);
    QWidget::setTabOrder(BtnSuchen, BtnErsetzen);
    QWidget::setTabOrder(BtnErsetzen, BtnNeueSuche);
    QWidget::setTabOrder(BtnNeueSuche, BtnHilfe);
    QWidget::setTabOrder(BtnHilfe, ComboBoxSuchen);
    QWidget::setTabOrder(ComboBoxSuchen, ComboBoxErsetzen);
    QWidget::setTabOrder(ComboBoxErsetzen, HexEditGrid);
    QWidget::setTabOrder(HexEditGrid, BtnEditGridUebernehmen);
    QWidget::setTabOrder(BtnEditGridUebernehmen, BtnEditGridCancel);

    // At start the focus is on the first control shown: the table and the spin edits are
    // hidden, the scroll bar lies outside the small window. The focus is drawn from the
    // start, not only after the first Tab: the styles draw it for the keyboard alone.
    ToolBtnOpen->setFocus(Qt::OtherFocusReason);
    window->setAttribute(Qt::WA_KeyboardFocusChange);

    Central->resize(697, 526);
}

} // namespace Ui

} // namespace zirpel

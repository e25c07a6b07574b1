// The main window's form: every control with its name, place, size, texts and fonts,
// the main menu, the tool bar and the image list. Places are in the coordinates of the
// area between menu bar and status bar.
#pragma once

#include <QIcon>
#include <QVector>

class QAction;
class QButtonGroup;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMainWindow;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QStatusBar;
class QToolButton;
class QWidget;

namespace zirpel {

class HitListView;
class SpinEdit;
class StringGrid;

namespace Ui {

struct FrmHexEditor {
    QWidget* Central = nullptr;

    QMenuBar* MnuMainHex = nullptr;
    QMenu* MnuDatei = nullptr;
    QAction* MnuOeffnen = nullptr;
    QAction* MnuTrenn1 = nullptr;
    QAction* MnuEnde = nullptr;
    QAction* MnuTrenn2 = nullptr;
    QAction* MnuObjekt1 = nullptr;
    QAction* MnuObjekt2 = nullptr;
    QAction* MnuObjekt3 = nullptr;
    QAction* MnuObjekt4 = nullptr;
    QMenu* MnuHelp = nullptr;
    QAction* MnuInhalt = nullptr;
    QAction* MnuInfo = nullptr;

    StringGrid* HexGrid = nullptr;
    QScrollBar* ScrollBarVertikal = nullptr;
    QStatusBar* StatusBarHex = nullptr;
    QLabel* StatusText = nullptr; // the status bar's one simple text
    QFrame* ToolBar1 = nullptr;
    QToolButton* ToolBtnOpen = nullptr;
    QFrame* ToolButton1 = nullptr;
    QToolButton* ToolButtonEdit = nullptr;
    QToolButton* ToolButtonFindChange = nullptr;
    QFrame* ToolButton2 = nullptr;
    QToolButton* ToolButtonEnde = nullptr;
    QFrame* ToolButton3 = nullptr;
    QToolButton* ToolButtonInfo = nullptr;
    QFrame* ToolButton8 = nullptr;
    QToolButton* ToolButtonHexDez = nullptr;
    QToolButton* ToolButtonGitter = nullptr;
    QFrame* ToolButton4 = nullptr;
    SpinEdit* CSpinEditReihen = nullptr;
    QLabel* TextReihen = nullptr;
    SpinEdit* CSpinEditSpalten = nullptr;
    QLabel* TextSpalten = nullptr;

    QGroupBox* GrpFindChange = nullptr;
    HitListView* ListBoxTreffer = nullptr;
    QGroupBox* RadioGrpBasis = nullptr;
    QRadioButton* RadioGrpBasisHex = nullptr;
    QRadioButton* RadioGrpBasisAscii = nullptr;
    QButtonGroup* RadioGrpBasisItems = nullptr; // ids 0 "Hex", 1 "ASCII"
    QPushButton* BtnSuchen = nullptr;
    QPushButton* BtnErsetzen = nullptr;
    QPushButton* BtnNeueSuche = nullptr;
    QPushButton* BtnHilfe = nullptr;
    QComboBox* ComboBoxSuchen = nullptr;
    QComboBox* ComboBoxErsetzen = nullptr;
    QLabel* LblFind = nullptr;
    QLabel* LblErsetzen = nullptr;
    QLabel* LblTreffer = nullptr;

    QGroupBox* GrpEdit = nullptr;
    StringGrid* HexEditGrid = nullptr;
    QPushButton* BtnEditGridUebernehmen = nullptr;
    QPushButton* BtnEditGridCancel = nullptr;

    QVector<QIcon> ImageList1;

    void setupUi(QMainWindow* window);
};

} // namespace Ui

} // namespace zirpel

// The page shape, the display options and the geometry of table, panels and window.
#include "core/text/ByteText.h"
#include "core/view/Geometry.h"
#include "core/view/Page.h"
#include "platform/WindowPlacer.h"
#include "widgets/FrmhexForm.h"
#include "widgets/SpinEdit.h"
#include "widgets/StringGrid.h"
#include "window/Frmhex.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolButton>

namespace zirpel {

namespace {

void ShapeColumns(StringGrid* grid, int columns, int gridLineWidth) {
    grid->setColCount(GridColumns(columns));
    grid->setGridLineWidth(gridLineWidth);
    grid->setColWidth(0, Geometry::AddressColumnWidth);
    for (int c = 1; c <= columns; ++c)
        grid->setColWidth(c, Geometry::ByteColumnWidth);
    grid->setColWidth(columns + 1, Geometry::SpacerColumnWidth);
    grid->setColWidth(TextColumn(columns), Geometry{.columns = columns}.textColumnWidth());
    grid->setCharColumn(TextColumn(columns), Geometry::CharWidth);
}

} // namespace

void TFrmHexEditor::UpdateLayout() {
    const qint32 columnsBefore = Columns;
    const qint32 decimalBefore = DecimalAddresses;
    Columns = ui->CSpinEditSpalten->value();
    Rows = ui->CSpinEditReihen->value();
    PageSize = Rows * Columns;
    GridLineWidth = ui->ToolButtonGitter->isChecked() ? 1 : 0;
    AddressColumnWidth = Geometry::AddressColumnWidth;
    ByteColumnWidth = Geometry::ByteColumnWidth;
    CharWidth = Geometry::CharWidth;
    DecimalAddresses = ui->ToolButtonHexDez->isChecked() ? 0 : 1;
    if (DecimalAddresses != decimalBefore)
        Invalidate(DocumentChange::AddressBaseToggled);
    else if (Columns != columnsBefore)
        Invalidate(DocumentChange::ColumnsChanged);

    const Geometry geo{Columns, Rows, GridLineWidth, SearchPanelVisible != 0,
                       EditPanelVisible != 0};
    StringGrid* grid = ui->HexGrid;
    grid->beginUpdate();
    ShapeColumns(grid, Columns, GridLineWidth);
    grid->setRowCount(Rows + 1);
    grid->clearCells();
    for (int j = 1; j <= Columns; ++j)
        grid->setCell(j, 0,
                      DecimalAddresses == 1 ? QString::number(j - 1) : ByteText(quint8(j - 1)));
    grid->endUpdate();
    grid->setGeometry(Geometry::TableLeft, Geometry::TableTop, geo.tableWidth(), geo.tableHeight());

    if (SearchPanelVisible == 1) {
        ui->GrpFindChange->move(ui->GrpFindChange->x(), geo.panelTop());
        ui->GrpFindChange->show();
    } else {
        ui->GrpFindChange->hide();
    }
    if (EditPanelVisible == 1) {
        ui->GrpEdit->move(ui->GrpEdit->x(), geo.panelTop());
        ui->GrpEdit->show();
        ShapeColumns(ui->HexEditGrid, Columns, GridLineWidth);
        ui->HexEditGrid->resize(geo.tableWidth(), ui->HexEditGrid->height());
        ui->GrpEdit->resize(geo.tableWidth() + 5, ui->GrpEdit->height());
    } else {
        ui->GrpEdit->hide();
    }

    QScrollBar* bar = ui->ScrollBarVertikal;
    bar->setGeometry(Geometry::TableLeft + geo.tableWidth(), Geometry::TableTop,
                     Geometry::ScrollBarWidth, geo.tableHeight());
    bar->setPageStep(PageSize);
    bar->setSingleStep(Columns);
    if (HasFile()) {
        // The page stays where it is until the user scrolls; the position is not clamped.
        const QSignalBlocker keepPage(bar);
        bar->setMaximum(ScrollMaximum(FileSize, PageSize, bar->value()));
    }

    ui->StatusText->setText(QStringLiteral("Dateigröße: ") + QString::number(FileSize) +
                            QStringLiteral(" Bytes"));

    ui->ToolBar1->resize(geo.contentWidth(), ui->ToolBar1->height());
    ui->Central->setFixedSize(geo.contentWidth(), geo.contentHeight());
    const int menuHeight = menuBar()->isVisible() ? menuBar()->sizeHint().height() : 0;
    placer_->setClientSize(QSize(geo.contentWidth(), menuHeight + geo.contentHeight() +
                                                         ui->StatusBarHex->minimumHeight()));
}

void TFrmHexEditor::CSpinEditReihenChange() {
    if (StartupPending)
        return;
    const int value = ui->CSpinEditReihen->value();
    if (!InPageShapeRange(value))
        ui->CSpinEditReihen->setValue(kMinPageShape);
    UpdateLayout();
    ShowPage();
}

void TFrmHexEditor::CSpinEditSpaltenChange() {
    if (StartupPending)
        return;
    const int value = ui->CSpinEditSpalten->value();
    if (!InPageShapeRange(value))
        ui->CSpinEditSpalten->setValue(kMinPageShape);
    UpdateLayout();
    ShowPage();
}

void TFrmHexEditor::ToolButtonGitterClick() {
    if (StartupPending)
        return;
    UpdateLayout();
    RenderPage();
}

void TFrmHexEditor::ToolButtonHexDezClick() {
    if (StartupPending)
        return;
    // The layout forgets the hits and the loaded row: they were written in the old base.
    UpdateLayout();
    RenderPage();
}

void TFrmHexEditor::ToolButtonFindChangeClick() {
    SearchPanelVisible = ui->ToolButtonFindChange->isChecked() ? 1 : 0;
    if (SearchPanelVisible == 1) {
        ui->ToolButtonEdit->setChecked(false);
        EditPanelVisible = 0;
        ResetSearchPanel(SearchReset::PanelShown);
    }
    UpdateLayout();
    RenderPage();
    // The user came to search: the focus goes into the entry, its text selected whole.
    if (SearchPanelVisible == 1 && ui->ComboBoxSuchen->isEnabled()) {
        ui->ComboBoxSuchen->setFocus(Qt::ShortcutFocusReason);
        ui->ComboBoxSuchen->lineEdit()->selectAll();
    }
}

void TFrmHexEditor::ToolButtonEditClick() {
    EditPanelVisible = ui->ToolButtonEdit->isChecked() ? 1 : 0;
    if (EditPanelVisible == 1) {
        ui->ToolButtonFindChange->setChecked(false);
        SearchPanelVisible = 0;
    }
    UpdateLayout();
    RenderPage();
    DisableEditRow();
}

} // namespace zirpel

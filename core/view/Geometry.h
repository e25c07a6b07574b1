// The sizes of the table, the panels and the window for a page shape.
#pragma once

namespace zirpel {

struct Geometry {
    static constexpr int TableLeft = 1;
    static constexpr int TableTop = 32;
    static constexpr int RowHeight = 16;
    static constexpr int AddressColumnWidth = 66;
    static constexpr int ByteColumnWidth = 18;
    static constexpr int SpacerColumnWidth = 8;
    static constexpr int CharWidth = 7;
    static constexpr int SearchPanelHeight = 140;
    static constexpr int EditPanelHeight = 80;
    static constexpr int ScrollBarWidth = 16;
    // The search panel is 511 wide at left 2; the window is never narrower than it.
    static constexpr int SearchPanelRight = 2 + 511;

    int columns = 16;
    int rows = 16;
    int gridLineWidth = 0;
    bool searchPanel = false;
    bool editPanel = false;

    [[nodiscard]] constexpr int textColumnWidth() const { return CharWidth * columns + 4; }
    [[nodiscard]] constexpr int tableHeight() const {
        return rows * (RowHeight + gridLineWidth) + 20;
    }
    // W: text column, byte columns, address column, one line per byte column, plus 18.
    [[nodiscard]] constexpr int tableWidth() const {
        return textColumnWidth() + ByteColumnWidth * columns + AddressColumnWidth +
               columns * gridLineWidth + 18;
    }
    [[nodiscard]] constexpr int panelTop() const { return TableTop + tableHeight() + 3; }
    [[nodiscard]] constexpr int panelHeight() const {
        return SearchPanelHeight * int(searchPanel) + EditPanelHeight * int(editPanel);
    }
    // The area between menu bar and status bar that holds tool bar, table, scroll bar
    // and panel: everything fully visible, growing by exactly the panel's height.
    [[nodiscard]] constexpr int contentWidth() const {
        const int w = TableLeft + tableWidth() + ScrollBarWidth + 5;
        return w > SearchPanelRight + 2 ? w : SearchPanelRight + 2;
    }
    [[nodiscard]] constexpr int contentHeight() const {
        return TableTop + tableHeight() + panelHeight() + 4;
    }
};

} // namespace zirpel

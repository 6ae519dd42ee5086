// CTileLayoutUI: a container that lays its children out in equally sized
// cells, row by row, or column by column once a row count is set. The gaps
// between cells come from the child paddings or, when those are 0, from
// spreading the spare room evenly. Scrolling is the container's.
// Invariant: every division of a placement has a divisor of at least 1.
#pragma once

#include "ui/control/ContainerUI.h"

namespace DuiLib {

class CTileLayoutUI : public CContainerUI
{
public:
    // "TileLayout".
    const wchar_t* GetClass() const override;
    // This control for "TileLayout", else the container's names.
    void* CastTo(const wchar_t* name) override;
    // The container's Add, refused (false) once both a column and a row
    // count are set and every cell is taken.
    bool Add(IControlUI* control) override;
    bool InsertChildAt(IControlUI* control, int index) override;
    // Places the children cell by cell; the needed size goes to the bars.
    void PlaceAt(const RECT& rect, bool invalidate) override;
    // "itemsize", "columns", "rows", "childvpadding", then the container's.
    const ControlAttributeTable& GetAttributeTable() const override;

    CUISize GetItemSize() const { return m_itemSize; }
    // Nothing when unchanged. An extent below 1 places cells of no size.
    void SetItemSize(const SIZE& size);
    // 0: as many columns as fit. Negative counts are ignored.
    int GetColumns() const { return m_columns; }
    void SetColumns(int columns);
    // 0: row-major placement. Negative counts are ignored.
    int GetRows() const { return m_rows; }
    void SetRows(int rows);
    // The gap between rows; negative becomes 0.
    int GetChildVPadding() const { return m_childVPadding; }
    void SetChildVPadding(int padding);
    // What the last placement used.
    int GetColumnsInUse() const { return m_columnsInUse; }
    int GetRowsInUse() const { return m_rowsInUse; }

private:
    // The cell grid of one placement: cell pitch and gaps, the needed size.
    struct Grid;
    Grid RowMajorGrid(const CUIRect& rc, long long availableWidth, int placed);
    Grid ColumnMajorGrid(const CUIRect& rc, long long availableHeight);
    // Places child inside the cell whose top-left corner is (x, y).
    void PlaceInCell(IControlUI* child, long long x, long long y) const;
    // True when fixed columns and rows leave no cell free.
    bool IsFull() const;

    CUISize m_itemSize = CUISize(80, 80);
    int m_columnsInUse = 1;
    int m_rowsInUse = 0;
    int m_columns = 0;
    int m_rows = 0;
    int m_childVPadding = 0;
};

}  // namespace DuiLib

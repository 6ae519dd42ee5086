// CTileLayoutUI: the grid arithmetic (columns or rows in use, the gaps that
// spread the spare room) and the placement of each child inside its cell.
// Sums run in 64 bits and are held to the int range only where a rectangle
// is made; an item extent below 1 counts as 1 wherever it divides.
#include "ui/control/TileLayoutUI.h"

#include <algorithm>
#include <cwchar>

#include "ui/control/AttributeValues.h"
#include "ui/control/LayoutMath.h"
#include "ui/control/ScrollBarUI.h"

namespace DuiLib {

namespace {

bool IsShown(const CScrollBarUI* bar)
{
    return bar != nullptr && bar->IsVisible();
}

// The gap that spreads spare over the count - 1 spaces between count cells:
// never negative, 0 for fewer than two cells.
long long SpreadGap(long long spare, long long count)
{
    if (count < 2)
        return 0;
    return std::max<long long>(spare / (count - 1), 0);
}

// One side of a child's rectangle in its cell: extent placed in a cell of
// size cell starting at origin, centred, at the far end or at the near end.
struct Span
{
    long long from;
    long long to;
};

Span AlignInCell(long long origin, long long cell, long long extent, long long padLow, long long padHigh, bool centre,
                 bool farEnd)
{
    if (centre)
    {
        const long long start = origin + (cell - extent) / 2;
        return {start + padLow, start + extent - padHigh};
    }
    if (farEnd)
        return {origin + cell + padLow - extent, origin + cell - padHigh};
    return {origin + padLow, origin + extent - padHigh};
}

}  // namespace

struct CTileLayoutUI::Grid
{
    bool columnMajor = false;
    long long columnGap = 0;
    long long rowGap = 0;
    long long neededWidth = 0;
    long long neededHeight = 0;
};

const wchar_t* CTileLayoutUI::GetClass() const
{
    return L"TileLayout";
}

void* CTileLayoutUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"TileLayout") == 0)
        return this;
    return CContainerUI::CastTo(name);
}

bool CTileLayoutUI::IsFull() const
{
    const long long cells = static_cast<long long>(m_columns) * m_rows;
    return cells >= 1 && m_items.GetSize() >= cells;
}

bool CTileLayoutUI::Add(IControlUI* control)
{
    return !IsFull() && CContainerUI::Add(control);
}

bool CTileLayoutUI::InsertChildAt(IControlUI* control, int index)
{
    return !IsFull() && CContainerUI::InsertChildAt(control, index);
}

const ControlAttributeTable& CTileLayoutUI::GetAttributeTable() const
{
    using namespace AttributeGrammar;
    static const AttributeRow<CTileLayoutUI> kRows[] = {
        {L"itemsize", kSize, L"80,80", L"Size of every cell",
         [](CTileLayoutUI& t, const wchar_t* v) { t.SetItemSize(ParseSize(v)); }},
        {L"columns", kInteger, L"0", L"Fixed number of columns; 0 fits as many as the width allows",
         [](CTileLayoutUI& t, const wchar_t* v) { t.SetColumns(ParseInt(v)); }},
        {L"rows", kInteger, L"0",
         L"Fixed number of rows, filled column by column; 0 fills row by row. With columns it caps the children",
         [](CTileLayoutUI& t, const wchar_t* v) { t.SetRows(ParseInt(v)); }},
        {L"childvpadding", kInteger, L"0", L"Gap between rows (childpadding is the gap between columns)",
         [](CTileLayoutUI& t, const wchar_t* v) { t.SetChildVPadding(ParseInt(v)); }},
    };
    static const ControlAttributeTable kTable(L"CTileLayoutUI", &CContainerUI::GetAttributeTable(), kRows);
    return kTable;
}

void CTileLayoutUI::SetItemSize(const SIZE& size)
{
    if (m_itemSize.cx == size.cx && m_itemSize.cy == size.cy)
        return;
    m_itemSize = size;
    RequestLayout();
}

void CTileLayoutUI::SetColumns(int columns)
{
    if (columns < 0)
        return;
    m_columns = columns;
    RequestLayout();
}

void CTileLayoutUI::SetRows(int rows)
{
    if (rows < 0)
        return;
    m_rows = rows;
    RequestLayout();
}

void CTileLayoutUI::SetChildVPadding(int padding)
{
    m_childVPadding = std::max(padding, 0);
    RequestLayout();
}

CTileLayoutUI::Grid CTileLayoutUI::RowMajorGrid(const CUIRect& rc, long long availableWidth, int placed)
{
    const long long itemWidth = m_itemSize.cx;
    const long long width = rc.GetWidth();
    Grid grid;
    long long gap = m_childPadding;
    long long columns = 1;
    if (m_columns > 0)
    {
        columns = m_columns;
        const long long cellsWidth = columns * itemWidth;
        // A visible bar scrolls cells that do not fit; without one the gaps
        // spread over the whole scrollable width.
        const long long room = IsShown(m_horizontalBar) && width >= cellsWidth ? width : availableWidth;
        if (columns < 2)
            gap = 0;
        else if (gap < 1)
            gap = SpreadGap(room - cellsWidth, columns);
        const long long shown = std::min<long long>(placed, columns);
        grid.neededWidth = shown * itemWidth + (shown > 1 ? (shown - 1) * gap : 0);
    }
    else if (width < itemWidth)
    {
        grid.neededWidth = itemWidth;
    }
    else
    {
        // An item width below 1 with no padding would make the pitch 0.
        columns = std::max<long long>((width + gap) / (std::max<long long>(itemWidth, 1) + gap), 1);
        grid.neededWidth = width;
        if (columns < 2)
            gap = 0;
        else if (gap < 1)
            gap = SpreadGap(width - columns * itemWidth, columns);
    }
    grid.columnGap = std::max<long long>(gap, 0);
    grid.rowGap = m_childVPadding;
    const long long rows = (placed - 1) / columns + 1;
    grid.neededHeight = rows * m_itemSize.cy + (rows > 1 ? (rows - 1) * grid.rowGap : 0);
    m_columnsInUse = ClampToInt(columns);
    m_rowsInUse = ClampToInt(rows);
    return grid;
}

CTileLayoutUI::Grid CTileLayoutUI::ColumnMajorGrid(const CUIRect& rc, long long availableHeight)
{
    const long long itemWidth = m_itemSize.cx;
    const long long width = rc.GetWidth();
    const long long height = rc.GetHeight();
    const long long rows = m_rows;
    const long long cellsHeight = rows * m_itemSize.cy;
    Grid grid;
    grid.columnMajor = true;
    long long rowGap = m_childVPadding;
    if (rows < 2)
        rowGap = 0;
    else if (rowGap < 1)
        rowGap = SpreadGap((IsShown(m_verticalBar) && height >= cellsHeight ? height : availableHeight) - cellsHeight,
                           rows);
    grid.rowGap = std::max<long long>(rowGap, 0);

    // Every child counts here, hidden ones too: they keep their cells.
    const long long columns = m_columns > 0 ? m_columns : (m_items.GetSize() + rows - 1) / rows;
    const long long cellsWidth = columns * itemWidth;
    grid.neededWidth = cellsWidth + (columns > 1 ? (columns - 1) * m_childPadding : 0);
    grid.neededHeight = height;
    long long gap = m_childPadding;
    if (columns < 2)
        gap = 0;
    else if (gap < 1)
        gap = width < cellsWidth ? 0 : SpreadGap(width - cellsWidth, columns);
    grid.columnGap = std::max<long long>(gap, 0);
    m_columnsInUse = ClampToInt(columns);
    m_rowsInUse = ClampToInt(rows);
    return grid;
}

void CTileLayoutUI::PlaceAt(const RECT& rect, bool invalidate)
{
    CUIRect rc;
    if (!PlaceSelf(rect, invalidate, rc))
        return;
    const bool horizontalShown = IsShown(m_horizontalBar);
    const bool verticalShown = IsShown(m_verticalBar);
    const long long availableWidth =
        static_cast<long long>(rc.GetWidth()) + (horizontalShown ? m_horizontalBar->GetScrollRange() : 0);
    const long long availableHeight =
        static_cast<long long>(rc.GetHeight()) + (verticalShown ? m_verticalBar->GetScrollRange() : 0);
    int placed = 0;
    for (int i = 0; i < m_items.GetSize(); ++i)
    {
        const IControlUI* child = ChildAt(i);
        if (child->IsVisible() && !child->IsFloat())
            ++placed;
    }
    const Grid grid = m_rows < 1 ? RowMajorGrid(rc, availableWidth, placed) : ColumnMajorGrid(rc, availableHeight);

    const long long left = rc.left - (horizontalShown ? m_horizontalBar->GetScrollOffset() : 0);
    const long long top = rc.top - (verticalShown ? m_verticalBar->GetScrollOffset() : 0);
    for (int i = 0; i < m_items.GetSize(); ++i)
    {
        IControlUI* child = ChildAt(i);
        if (!child->IsVisible())
            continue;
        if (child->IsFloat())
        {
            PlaceFloating(i);
            continue;
        }
        // The cell follows the list index, so a hidden child leaves a hole.
        const long long column = grid.columnMajor ? i / m_rowsInUse : i % m_columnsInUse;
        const long long row = grid.columnMajor ? i % m_rowsInUse : i / m_columnsInUse;
        PlaceInCell(child, left + (m_itemSize.cx + grid.columnGap) * column,
                    top + (m_itemSize.cy + grid.rowGap) * row);
    }
    UpdateScrollBars(rc, ClampToInt(grid.neededWidth), ClampToInt(grid.neededHeight));
}

void CTileLayoutUI::PlaceInCell(IControlUI* child, long long x, long long y) const
{
    const CUIRect pad = child->GetPadding();
    const long long w = std::max<long long>(
        std::min<long long>(static_cast<long long>(m_itemSize.cx) - pad.left - pad.right, child->GetMaxWidth()), 0);
    const long long h = std::max<long long>(
        std::min<long long>(static_cast<long long>(m_itemSize.cy) - pad.top - pad.bottom, child->GetMaxHeight()), 0);
    const Span across = AlignInCell(x, m_itemSize.cx, w, pad.left, pad.right, m_childAlign == DT_CENTER,
                                    m_childAlign == DT_RIGHT);
    const Span down = AlignInCell(y, m_itemSize.cy, h, pad.top, pad.bottom, m_childVAlign == DT_VCENTER,
                                  m_childVAlign == DT_BOTTOM);
    child->PlaceAt(RECT{ClampToInt(across.from), ClampToInt(down.from), ClampToInt(across.to), ClampToInt(down.to)},
                   false);
}

}  // namespace DuiLib

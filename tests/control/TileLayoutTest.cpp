// CTileLayoutUI in real windows: cells row by row and column by column with
// the gaps that spread the spare room, hidden children keeping their cells,
// a full fixed grid refusing children, alignment in the cell, and item
// sizes below 1.
#include "ui/control/TileLayoutUI.h"

#include <gtest/gtest.h>

#include "tests/control/ControlTestSupport.h"

using namespace DuiLib;
using namespace DuiLib::test;

namespace {

// Adds count plain children to layout; they are returned in order.
std::vector<CControlUI*> AddChildren(CTileLayoutUI& layout, int count)
{
    std::vector<CControlUI*> children;
    for (int i = 0; i < count; ++i)
    {
        children.push_back(new CControlUI());
        EXPECT_TRUE(layout.Add(children.back()));
    }
    return children;
}

TEST(TileLayout, RowMajorCellsSpreadTheSpareWidthAndKeepHiddenCells)
{
    CRootWindow<CTileLayoutUI> w(250, 200);
    ASSERT_NE(nullptr, w.host);
    const std::vector<CControlUI*> c = AddChildren(*w.layout, 5);
    w.PaintNow();
    // 250 / 80 = 3 columns; gap (250 - 3 x 80) / 2 = 5.
    EXPECT_EQ(3, w.layout->GetColumnsInUse());
    ExpectRect(RECT{0, 0, 80, 80}, c[0]->GetPos(), "first");
    ExpectRect(RECT{85, 0, 165, 80}, c[1]->GetPos(), "second");
    ExpectRect(RECT{170, 0, 250, 80}, c[2]->GetPos(), "third");
    ExpectRect(RECT{0, 80, 80, 160}, c[3]->GetPos(), "second row");

    c[1]->SetVisible(false);
    w.PaintNow();
    ExpectRect(RECT{170, 0, 250, 80}, c[2]->GetPos(), "third keeps its cell");
    ExpectRect(RECT{85, 80, 165, 160}, c[4]->GetPos(), "fifth keeps its cell");
}

TEST(TileLayout, FixedColumnsOrRowsSetTheGrid)
{
    CRootWindow<CTileLayoutUI> w(400, 200);
    ASSERT_NE(nullptr, w.host);
    w.layout->ApplyAttribute(L"columns", L"4");
    const std::vector<CControlUI*> c = AddChildren(*w.layout, 5);
    w.PaintNow();
    // gap (400 - 4 x 80) / 3 = 26; the fifth starts the second row.
    ExpectRect(RECT{106, 0, 186, 80}, c[1]->GetPos(), "second column");
    ExpectRect(RECT{0, 80, 80, 160}, c[4]->GetPos(), "fifth");

    CRootWindow<CTileLayoutUI> v(300, 200);
    ASSERT_NE(nullptr, v.host);
    v.layout->ApplyAttribute(L"rows", L"2");
    const std::vector<CControlUI*> d = AddChildren(*v.layout, 5);
    v.PaintNow();
    // 2 rows of 80, row gap 200 - 160 = 40; (5 + 1) / 2 = 3 columns, column
    // gap (300 - 240) / 2 = 30; filled top to bottom, then left to right.
    EXPECT_EQ(3, v.layout->GetColumnsInUse());
    ExpectRect(RECT{0, 120, 80, 200}, d[1]->GetPos(), "second goes down");
    ExpectRect(RECT{110, 0, 190, 80}, d[2]->GetPos(), "third starts column 2");
    ExpectRect(RECT{220, 0, 300, 80}, d[4]->GetPos(), "fifth");
}

TEST(TileLayout, FullFixedGridRefusesAFifthChild)
{
    CRootWindow<CTileLayoutUI> w(200, 200);
    ASSERT_NE(nullptr, w.host);
    w.layout->ApplyAttributeText(L"columns=\"2\" rows=\"2\" childalign=\"right\" childvalign=\"bottom\"");
    const std::vector<CControlUI*> c = AddChildren(*w.layout, 4);
    CControlUI* extra = new CControlUI();
    EXPECT_FALSE(w.layout->Add(extra));
    EXPECT_FALSE(w.layout->InsertChildAt(extra, 0));
    EXPECT_EQ(4, w.layout->GetCount());
    extra->Delete();

    // A child smaller than its cell sits in the cell's bottom-right corner.
    // With rows set the grid fills column by column: the second child is in
    // row 1, below a row gap of (200 - 160) / 1 = 40.
    c[1]->ApplyAttributeText(L"maxwidth=\"50\" maxheight=\"30\"");
    w.PaintNow();
    ExpectRect(RECT{30, 170, 80, 200}, c[1]->GetPos(), "aligned in its cell");
}

TEST(TileLayout, ItemSizeBelowOneNeverDividesByZero)
{
    CRootWindow<CTileLayoutUI> w(250, 100);
    ASSERT_NE(nullptr, w.host);
    w.layout->ApplyAttribute(L"itemsize", L"0,0");
    const std::vector<CControlUI*> c = AddChildren(*w.layout, 3);
    w.PaintNow();
    // Counted as 1 wide: 250 columns, gap (250 - 0) / 249 = 1.
    EXPECT_EQ(250, w.layout->GetColumnsInUse());
    ExpectRect(RECT{2, 0, 2, 0}, c[2]->GetPos(), "empty cell");

    // Negative cells with fixed columns: gap (250 + 15) / 2 = 132.
    w.layout->ApplyAttributeText(L"itemsize=\"-5,-5\" columns=\"3\"");
    w.PaintNow();
    ExpectRect(RECT{127, 0, 127, 0}, c[1]->GetPos(), "negative cell");
    w.layout->ApplyAttributeText(L"columns=\"0\" rows=\"2\"");
    w.PaintNow();
    EXPECT_EQ(2, w.layout->GetColumnsInUse());
}

}  // namespace

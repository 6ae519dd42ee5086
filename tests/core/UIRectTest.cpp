#include "ui/core/UIRect.h"

#include <gtest/gtest.h>

using DuiLib::CUIRect;
using DuiLib::CUISize;

namespace {

void ExpectEdges(const RECT& rc, int l, int t, int r, int b)
{
    EXPECT_EQ(l, rc.left);
    EXPECT_EQ(t, rc.top);
    EXPECT_EQ(r, rc.right);
    EXPECT_EQ(b, rc.bottom);
}

}  // namespace

TEST(UIRect, ConstructsEmptyFromEdgesAndFromAPlatformRect)
{
    ExpectEdges(CUIRect(), 0, 0, 0, 0);
    const CUIRect rc(-5, 10, 20, 40);
    ExpectEdges(rc, -5, 10, 20, 40);
    EXPECT_EQ(25, rc.GetWidth());
    EXPECT_EQ(30, rc.GetHeight());
    const RECT platform = {1, 2, 3, 4};
    ExpectEdges(CUIRect(platform), 1, 2, 3, 4);
}

TEST(UIRect, WidthAndHeightMayBeNegative)
{
    const CUIRect rc(10, 10, 4, 7);
    EXPECT_EQ(-6, rc.GetWidth());
    EXPECT_EQ(-3, rc.GetHeight());
}

TEST(UIRect, JoinTakesSmallerLeftTopAndLargerRightBottom)
{
    CUIRect rc(10, 20, 30, 40);
    rc.Join(CUIRect(15, 5, 50, 35));
    ExpectEdges(rc, 10, 5, 50, 40);
}

TEST(UIRect, JoinWithAnEmptyRectangleIsNotSpecial)
{
    CUIRect rc(10, 10, 20, 20);
    rc.Join(CUIRect());
    ExpectEdges(rc, 0, 0, 20, 20);
}

TEST(UIRect, ResetOffsetMovesToTheOriginKeepingTheSize)
{
    CUIRect rc(5, -6, 15, 14);
    rc.ResetOffset();
    ExpectEdges(rc, 0, 0, 10, 20);
}

TEST(UIRect, OffsetMovesAllFourEdges)
{
    CUIRect rc(1, 2, 3, 4);
    rc.Offset(10, -20);
    ExpectEdges(rc, 11, -18, 13, -16);
}

TEST(UIRect, PassesToPlatformCallsUnchanged)
{
    CUIRect a(0, 0, 10, 10);
    const CUIRect b(5, 5, 20, 30);
    RECT both = {};
    ASSERT_TRUE(UnionRect(&both, &a, &b));
    ExpectEdges(both, 0, 0, 20, 30);
    ASSERT_TRUE(InflateRect(&a, 2, 3));
    ExpectEdges(a, -2, -3, 12, 13);
}

TEST(UISize, ConstructsFromWidthAndHeight)
{
    const CUISize size(7, -2);
    EXPECT_EQ(7, size.cx);
    EXPECT_EQ(-2, size.cy);
    EXPECT_EQ(0, CUISize().cx);
    EXPECT_EQ(0, CUISize().cy);
}

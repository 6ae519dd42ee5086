// CClipScope on a real surface: painting is confined to the scope's shape,
// the outer clip can be borrowed, and destruction gives the old clip back.
#include "ui/render/ClipScope.h"

#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "ui/render/RenderKit.h"

using namespace DuiLib;
using namespace DuiLib::test;

namespace {

void FillAll(CSurface& surface, DWORD color)
{
    CRenderKit::FillColor(surface.Dc(), CUIRect(0, 0, 20, 20), color);
}

}  // namespace

TEST(ClipScope, RectangleClipsNestAndComeOffWhenDestroyed)
{
    CSurface surface(20, 20, kGrey);
    {
        CClipScope outer(surface.Dc(), CUIRect(0, 0, 10, 10));
        {
            CClipScope inner(surface.Dc(), CUIRect(5, 5, 15, 15));
            FillAll(surface, kRed);
            inner.UseOuterClip();
            CRenderKit::FillColor(surface.Dc(), CUIRect(0, 0, 2, 2), kLime);
            inner.UseInnerClip();
            CRenderKit::FillColor(surface.Dc(), CUIRect(0, 0, 6, 6), kBlue);
        }
        ExpectPixels(surface, {{5, 5, kBlue}, {9, 9, kRed}, {12, 12, kGrey}, {4, 4, kGrey}, {1, 1, kLime}});
        FillAll(surface, kYellow);
        ExpectPixels(surface, {{2, 2, kYellow}, {12, 12, kGrey}});
    }
    FillAll(surface, kCyan);
    ExpectPixels(surface, {{19, 19, kCyan}});
}

// A rounded region leaves out its right and bottom edges; the scope widens
// it by one so that column and row 18 of a (0, 0, 19, 19) shape stay inside.
TEST(ClipScope, RoundedClipCutsCornersAndKeepsTheFarEdges)
{
    CSurface surface(20, 20, kGrey);
    {
        CClipScope scope(surface.Dc(), CUIRect(0, 0, 20, 20), CUIRect(0, 0, 19, 19), 10, 10);
        FillAll(surface, kRed);
    }
    ExpectPixels(surface, {{0, 0, kGrey}, {18, 18, kGrey}, {10, 10, kRed}, {18, 10, kRed}, {10, 18, kRed}});
}

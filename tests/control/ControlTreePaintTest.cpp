// What a control tree in a real window puts on the screen, read back from
// the window after real WM_PAINT messages: background colours, square and
// round borders, a piece of an image, children clipped by their scrolled
// container, and the scroll bar's buttons and thumb. Also the alpha fix-up
// of layered presentation over a picture that the tree itself drew. Every
// expected pixel comes from the documented rectangles. A snapshot of the
// window's picture is read back as well.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/control/ControlTestSupport.h"
#include "ui/control/HorizontalLayoutUI.h"
#include "ui/control/ScrollBarUI.h"
#include "ui/control/VerticalLayoutUI.h"
#include "ui/core/LayeredPixels.h"
#include "ui/render/RenderKit.h"

using namespace DuiLib;
using namespace DuiLib::test;

namespace {

CControlUI* Band(int height, DWORD color)
{
    CControlUI* control = new CControlUI();
    control->SetFixedHeight(height);
    control->SetBkColor(color);
    return control;
}

// The colour bytes at (x, y) of RenderToBitmap's picture of area.
DWORD SnapshotRgb(CUIManager& manager, const RECT& area, int x, int y)
{
    HBITMAP snapshot = CRenderKit::RenderToBitmap(&manager, area, nullptr, 0);
    if (snapshot == nullptr)
        return 0xFFFFFFFF;
    DIBSECTION section = {};
    GetObjectW(snapshot, sizeof(section), &section);
    const DWORD* pixels = static_cast<const DWORD*>(section.dsBm.bmBits);
    const DWORD pixel = pixels[y * section.dsBm.bmWidth + x] & 0x00FFFFFF;
    DeleteObject(snapshot);
    return pixel;
}

// root 200 x 150, grey, inset 10, child padding 10: box (10, 10, 190, 50)
// red with a blue 2-pixel border; round (10, 60, 190, 100) green with
// 20 x 20 corners and a yellow outline; picture (10, 110, 190, 140) showing
// the bottom row (blue, white) of a 2 x 2 image stretched over it.
TEST(ControlTreePaint, WindowShowsColoursBordersRoundCornersAndImagePieces)
{
    const std::wstring quad = WriteBitmapFile(L"kalvex_tree_quad.bmp", 2, 2,
                                              {RgbOf(kRed), RgbOf(kGreen), RgbOf(kBlue), RgbOf(kWhite)});
    ASSERT_FALSE(quad.empty());
    {
        CRootWindow<CVerticalLayoutUI> w(200, 150);
        ASSERT_NE(nullptr, w.host);
        w.layout->SetBkColor(kGrey);
        w.layout->SetInset(RECT{10, 10, 10, 10});
        w.layout->SetChildPadding(10);
        CControlUI* box = Band(40, kRed);
        box->SetBorderColor(kBlue);
        box->SetBorderSize(2);
        CControlUI* round = Band(40, kGreen);
        round->SetBorderRound(SIZE{20, 20});
        round->SetBorderColor(kYellow);
        round->SetBorderSize(1);
        CControlUI* picture = Band(30, 0);
        w.layout->Add(box);
        w.layout->Add(round);
        w.layout->Add(picture);
        picture->SetBkImage((L"file='" + quad + L"' source='0,1,2,2'").c_str());
        w.PaintNow();
        ExpectRect(RECT{10, 110, 190, 140}, picture->GetPos(), "picture");

        CSurface screen(200, 150, 0);
        CaptureClient(w.Window(), screen, 200, 150);
        ExpectPixels(screen, {{5, 5, kGrey}, {100, 55, kGrey}, {195, 145, kGrey}});
        ExpectPixels(screen, {{10, 30, kBlue}, {11, 30, kBlue}, {189, 30, kBlue}, {100, 10, kBlue}, {100, 49, kBlue},
                              {100, 30, kRed}, {12, 30, kRed}});
        // Outside the corner ellipse the root shows through.
        ExpectPixels(screen, {{10, 60, kGrey}, {11, 61, kGrey}, {189, 99, kGrey}, {100, 60, kYellow},
                              {100, 80, kGreen}});
        ExpectPixels(screen, {{50, 125, kBlue}, {150, 125, kWhite}}, 8);

        // A snapshot copies the last painted picture: a change not yet
        // painted is not in it, and is after the next paint.
        box->SetBkColor(kGreen);
        EXPECT_EQ(RgbOf(kRed), SnapshotRgb(w.host->manager, RECT{90, 20, 110, 40}, 10, 10));
        w.PaintNow();
        EXPECT_EQ(RgbOf(kGreen), SnapshotRgb(w.host->manager, RECT{90, 20, 110, 40}, 10, 10));
    }
    DeleteFileW(quad.c_str());
}

// root 200 x 250, white: header (0, 0, 200, 50) grey; list (0, 50, 200, 150)
// yellow with a vertical bar (green button 1, red button 2, blue thumb) and
// four 60-high rows; below (0, 150, 200, 250) grey. Needed 240 in 100: range
// 140; rows 184 wide; the bar's track is 100 - 32 = 68 and its thumb
// 100 x 68 / 240 = 28 long.
// Floating children may stand in the inset, where no other child is drawn;
// a snapshot of the inset alone still shows them, in order, and a snapshot
// up to one of them stops the whole walk there. Root 200 x 100, inset 20:
// red at (0, 0, 20, 20), blue at (180, 0, 200, 20), then a green band.
TEST(ControlTreePaint, FloatingChildrenInTheInsetPaintInOrderUpToTheStopControl)
{
    CRootWindow<CVerticalLayoutUI> w(200, 100);
    ASSERT_NE(nullptr, w.host);
    w.layout->SetBkColor(kGrey);
    w.layout->SetInset(RECT{20, 20, 20, 20});
    CControlUI* corners[2] = {Band(20, kRed), Band(20, kBlue)};
    for (int i = 0; i < 2; ++i)
    {
        corners[i]->SetFloat(true);
        corners[i]->SetFixedWidth(20);
        corners[i]->SetFixedXY(SIZE{180 * i, 0});
        w.layout->Add(corners[i]);
    }
    w.layout->Add(Band(20, kGreen));
    w.PaintNow();
    ExpectRect(RECT{180, 0, 200, 20}, corners[1]->GetPos(), "second corner");

    const RECT top = {0, 0, 200, 20};
    EXPECT_EQ(RgbOf(kRed), SnapshotRgb(w.host->manager, top, 10, 10));
    EXPECT_EQ(RgbOf(kBlue), SnapshotRgb(w.host->manager, top, 190, 10));
    EXPECT_EQ(RgbOf(kGrey), SnapshotRgb(w.host->manager, top, 100, 10));

    for (IControlUI* stop : {static_cast<IControlUI*>(corners[0]), static_cast<IControlUI*>(corners[1])})
    {
        HBITMAP snapshot = CRenderKit::RenderToBitmap(&w.host->manager, top, stop, 0);
        ASSERT_NE(nullptr, snapshot);
        DIBSECTION section = {};
        ASSERT_NE(0, GetObjectW(snapshot, sizeof(section), &section));
        const DWORD* pixels = static_cast<const DWORD*>(section.dsBm.bmBits);
        EXPECT_EQ(RgbOf(stop == corners[0] ? kGrey : kRed), pixels[10 * 200 + 10] & 0x00FFFFFF);
        EXPECT_EQ(RgbOf(kGrey), pixels[10 * 200 + 190] & 0x00FFFFFF);
        DeleteObject(snapshot);
    }
}

TEST(ControlTreePaint, ScrolledRowsStayInsideTheirContainerAndTheBarShowsItsParts)
{
    const DWORD rowColors[4] = {0xFF800000, 0xFF008000, 0xFF000080, 0xFF808000};
    CRootWindow<CVerticalLayoutUI> w(200, 250);
    ASSERT_NE(nullptr, w.host);
    w.layout->SetBkColor(kWhite);
    w.layout->Add(Band(50, kGrey));
    CVerticalLayoutUI* list = new CVerticalLayoutUI();
    list->SetFixedHeight(100);
    list->SetBkColor(kYellow);
    list->ApplyAttribute(L"vscrollbar", L"true");
    list->ApplyAttribute(L"vscrollbarstyle",
                         L"button1color=\"#FF00FF00\" button2color=\"#FFFF0000\" thumbcolor=\"#FF0000FF\"");
    for (DWORD color : rowColors)
        list->Add(Band(60, color));
    w.layout->Add(list);
    w.layout->Add(Band(100, kGrey));
    w.PaintNow();
    ASSERT_EQ(140, list->ScrollExtent().cy);

    CSurface screen(200, 250, 0);
    CaptureClient(w.Window(), screen, 200, 250);
    // The second row (110..170) is cut at the list's bottom, 150.
    ExpectPixels(screen, {{100, 25, kGrey}, {100, 80, rowColors[0]}, {100, 130, rowColors[1]}, {100, 160, kGrey},
                          {100, 200, kGrey}});
    // Button 1 (50..66), thumb (66..94), track, button 2 (134..150).
    ExpectPixels(screen, {{192, 58, kGreen}, {192, 80, kBlue}, {192, 110, kYellow}, {192, 142, kRed}});

    // At the end: rows at -90, -30, 30 and 90; the third reaches into the
    // header but is cut at the list's top; the thumb sits at 40 + 66.
    list->SetScrollOffset(SIZE{0, 140}, false);
    w.PaintNow();
    CaptureClient(w.Window(), screen, 200, 250);
    ExpectPixels(screen, {{100, 20, kGrey}, {100, 40, kGrey}, {100, 70, rowColors[2]}, {100, 120, rowColors[3]},
                          {100, 160, kGrey}});
    ExpectPixels(screen, {{192, 80, kYellow}, {192, 120, kBlue}, {192, 58, kGreen}, {192, 142, kRed}});
}

// A 32-bit bottom-up picture, the layered mode's off-screen kind, drawn by a
// row of three 20-pixel controls: translucent red fill, a green border drawn
// by a plain GDI pen, and an opaque blue fill.
class LayeredPicture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The manager of a window loads the blending functions.
        host = MakeHost(10, 10);
        ASSERT_NE(nullptr, host);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* memory = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
        ASSERT_NE(nullptr, bitmap);
        bits = static_cast<BYTE*>(memory);
        ZeroMemory(bits, kWidth * kHeight * 4);
        dc = CreateCompatibleDC(nullptr);
        previous = SelectObject(dc, bitmap);

        CHorizontalLayoutUI* row = new CHorizontalLayoutUI();
        root.reset(row);
        CControlUI* translucent = new CControlUI();
        translucent->SetFixedWidth(20);
        translucent->SetBkColor(0x80FF0000);
        CControlUI* outlined = new CControlUI();
        outlined->SetFixedWidth(20);
        outlined->SetBorderColor(kGreen);
        outlined->SetBorderSize(2);
        CControlUI* opaque = new CControlUI();
        opaque->SetFixedWidth(20);
        opaque->SetBkColor(kBlue);
        row->Add(translucent);
        row->Add(outlined);
        row->Add(opaque);
        row->PlaceAt(RECT{0, 0, kWidth, kHeight}, false);
        root->Paint(dc, RECT{0, 0, kWidth, kHeight}, nullptr);
        GdiFlush();
    }
    void TearDown() override
    {
        root.reset();
        if (dc != nullptr)
        {
            SelectObject(dc, previous);
            DeleteDC(dc);
        }
        if (bitmap != nullptr)
            DeleteObject(bitmap);
        host.reset();
        PumpMessages();
    }

    // Blue, green, red and alpha of the pixel in column x (every row of the
    // picture is the same).
    DWORD Bgra(int x) const
    {
        const BYTE* p = bits + (kHeight / 2 * kWidth + x) * 4;
        return static_cast<DWORD>(p[0]) << 24 | static_cast<DWORD>(p[1]) << 16 | static_cast<DWORD>(p[2]) << 8 | p[3];
    }

    static constexpr int kWidth = 60;
    static constexpr int kHeight = 40;
    std::unique_ptr<CHostWindow> host;
    std::unique_ptr<CControlUI, void (*)(CControlUI*)> root{nullptr, [](CControlUI* c) { c->Delete(); }};
    HBITMAP bitmap = nullptr;
    BYTE* bits = nullptr;
    HDC dc = nullptr;
    HGDIOBJ previous = nullptr;
};

TEST_F(LayeredPicture, FixUpMakesPenDrawingOpaqueKeepsBlendedAlphaAndLeavesEmptyPixelsClear)
{
    FixLayeredAlpha(PixelPlane{bits, kWidth, kHeight}, RECT{0, 0, kWidth, kHeight}, nullptr);
    // Premultiplied: 0xFF x 0x80 / 0xFF red at alpha 0x80.
    EXPECT_EQ(0x00008080u, Bgra(10));
    EXPECT_EQ(0x00FF00FFu, Bgra(20)) << "the pen's left edge";
    EXPECT_EQ(0x00000000u, Bgra(30)) << "inside the outline nothing was drawn";
    EXPECT_EQ(0xFF0000FFu, Bgra(50));
}

TEST_F(LayeredPicture, InsideTheOpaqueRectangleTranslucentPixelsBecomeOpaque)
{
    // Columns 0..9 lie inside; the rest of the translucent fill outside.
    const RECT inside = {0, 0, 10, kHeight};
    FixLayeredAlpha(PixelPlane{bits, kWidth, kHeight}, RECT{0, 0, kWidth, kHeight}, &inside);
    EXPECT_EQ(0x000080FFu, Bgra(5));
    EXPECT_EQ(0x00008080u, Bgra(15));
    EXPECT_EQ(0x00000000u, Bgra(30));
}

}  // namespace
